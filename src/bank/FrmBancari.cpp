#include "FrmBancari.h"

#include "Anagrafe.h"
#include "ArchiveSave.h"
#include "BankError.h"
#include "CheckBancari.h"
#include "DefaultButton.h"
#include "ErrorText.h"
#include "Form1.h"
#include "Forms.h"
#include "HostError.h"
#include "HostErrors.h"
#include "Product.h"
#include "ScreenCentre.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace bank {

namespace {

using platform::Dialogs;

constexpr int kIbanLength = 27;
constexpr int kBbanLength = 23;
constexpr int kAccountLength = 12;
const QString kItaly = QStringLiteral("IT");

QRadioButton *option(const char *name, const QString &caption, QGroupBox *frame)
{
    auto *button = new QRadioButton(caption, frame);
    button->setObjectName(QString::fromLatin1(name));
    frame->layout()->addWidget(button);
    return button;
}

QGroupBox *frame(const char *name, const QString &caption, QWidget *area)
{
    auto *box = new QGroupBox(caption, area);
    box->setObjectName(QString::fromLatin1(name));
    new QVBoxLayout(box);
    return box;
}

QString countryRefusal(const QString &country)
{
    return QStringLiteral("Il Codice Stato \"%1\" contiene caratteri non ammessi: scrivere solo lettere "
                          "e cifre, senza spazi (ad esempio IT).\nLa verifica non è stata eseguita.")
        .arg(country);
}

} // namespace

FrmBancari::FrmBancari(app::Forms &forms) : forms_(forms)
{
    setObjectName(QStringLiteral("FrmBancari"));
    setWindowTitle(QStringLiteral("Verifica IBAN"));
    Pulisci = menuBar()->addAction(QStringLiteral("& Pulisci"));
    Pulisci->setObjectName(QStringLiteral("Pulisci"));

    auto *area = new QWidget(this);
    buildFields(area);
    chainTabOrder();
    setCentralWidget(area);

    app::setDefaultButton(*this, *cmdGo);
    connect(cmdGo, &QPushButton::clicked, this, &FrmBancari::cmdGoClick);
    connect(Pulisci, &QAction::triggered, this, &FrmBancari::PulisciClick);
}

QWidget *FrmBancari::buildOptions(QWidget *area)
{
    Frame1 = frame("Frame1", QStringLiteral("Check Digits"), area);
    optBBAN = option("optBBAN", QStringLiteral("BBAN"), Frame1);
    optIBAN = option("optIBAN", QStringLiteral("IBAN"), Frame1);
    Frame2 = frame("Frame2", QStringLiteral("Operazione"), area);
    optCalcolo = option("optCalcolo", QStringLiteral("Calcolo"), Frame2);
    optVerifica = option("optVerifica", QStringLiteral("Verifica"), Frame2);
    optBBAN->setChecked(true);
    optCalcolo->setChecked(true);

    auto *row = new QWidget(area);
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(Frame1);
    line->addStretch(1);
    line->addWidget(Frame2);
    return row;
}

void FrmBancari::buildFields(QWidget *area)
{
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(12, 8, 12, 12);
    grid->setHorizontalSpacing(10);
    grid->addWidget(buildOptions(area), 0, 0, 1, 4);

    int label = 0;
    const auto field = [&](const char *name, const QString &caption, int row, int column, int span) {
        auto *text = new QLineEdit(area);
        text->setObjectName(QString::fromLatin1(name));
        auto *tag = new QLabel(caption, area);
        tag->setObjectName(QStringLiteral("Label%1").arg(++label));
        tag->setBuddy(text);
        grid->addWidget(tag, row, column);
        grid->addWidget(text, row, column + 1, 1, span);
        return text;
    };
    txtCodice = field("txtCodice", QStringLiteral("Codice"), 1, 0, 3);
    txtAbi = field("txtAbi", QStringLiteral("Abi"), 2, 0, 1);
    txtCab = field("txtCab", QStringLiteral("Cab"), 2, 2, 1);
    txtCC = field("txtCC", QStringLiteral("Conto Corrente"), 3, 0, 3);
    txtCin = field("txtCin", QStringLiteral("Cin"), 4, 0, 1);
    txtStato = field("txtStato", QStringLiteral("Codice Stato"), 5, 0, 1);
    txtCheck = field("txtCheck", QStringLiteral("Check"), 6, 0, 1);
    cmdGo = new QPushButton(QStringLiteral("Verifica"), area);
    cmdGo->setObjectName(QStringLiteral("cmdGo"));
    grid->addWidget(cmdGo, 5, 2, 1, 2);

    txtCodice->setMaxLength(kIbanLength);
    txtCodice->setMinimumWidth(txtCodice->fontMetrics().horizontalAdvance(QString(kIbanLength + 2, u'W')));
    QPalette yellow = txtCodice->palette();
    yellow.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xC0));
    txtCodice->setPalette(yellow);
    txtStato->setText(kItaly);
}

void FrmBancari::chainTabOrder()
{
    const QList<QWidget *> order{optBBAN, optIBAN, optCalcolo, optVerifica, txtCodice, txtAbi,
                                 txtCab,  txtCC,   txtCin,     txtStato,    txtCheck,  cmdGo};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void FrmBancari::load()
{
    app::centreOnScreen(*this);
    const auto *iban = forms_.anagrafe()->findChild<QLineEdit *>(QStringLiteral("Text18"));
    txtCodice->setText(iban->text());
}

bool FrmBancari::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void FrmBancari::FormActivate()
{
    optIBAN->setChecked(true);
    optVerifica->setChecked(true);
    optBBAN->setVisible(false);
    optCalcolo->setVisible(false);
}

void FrmBancari::closeEvent(QCloseEvent *event)
{
    PulisciClick();
    event->accept();
    forms_.anagrafe()->findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(false);
}

// The country goes back to Italy, as on loading, so an IBAN typed in parts is checked as Italian.
void FrmBancari::PulisciClick()
{
    for (QLineEdit *text : findChildren<QLineEdit *>())
        text->clear();
    txtStato->setText(kItaly);
}

void FrmBancari::SeparaCodice()
{
    QString code = txtCodice->text();
    code.remove(u' ');
    const qsizetype length = code.size();
    // The last 23 characters are the BBAN: CIN, ABI (5), CAB (5) and account (12).
    if (const qsizetype bban = length - kBbanLength; bban >= 0) {
        txtCC->setText(code.mid(bban + 11));
        txtAbi->setText(code.mid(bban + 1, 5));
        txtCab->setText(code.mid(bban + 6, 5));
        txtCin->setText(code.mid(bban, 1));
    }
    if (length == kIbanLength) {
        txtStato->setText(code.left(2));
        txtCheck->setText(code.mid(2, 2));
    }
}

void FrmBancari::cmdGoClick()
{
    if (!check())
        return;
    host::Application *application = forms_.form1()->application();
    try {
        if (!application)
            throw host::hostGone();
        app::saveArchive(*application, forms_.services().dialogs);
    } catch (const host::HostError &error) {
        say(app::failedSaveText(error), Dialogs::Icon::Exclamation);
    }
}

// The split and the check with its message; false when the input was refused.
bool FrmBancari::check()
{
    SeparaCodice();
    if (txtCC->text().size() > kAccountLength) {
        txtCC->setFocus();
        say(QStringLiteral("Lunghezza errata"));
        return false;
    }
    CheckBancari engine;
    engine.setAbi(txtAbi->text());
    engine.setCab(txtCab->text());
    engine.setContoCorrente(txtCC->text());
    engine.setPaese(txtStato->text());
    const QString cin = engine.CalcolaCin();
    if (!optIBAN->isChecked()) {
        checkCin(cin);
        return true;
    }
    try {
        checkIban(engine, cin);
    } catch (const BankError &) {
        txtStato->setFocus();
        say(countryRefusal(txtStato->text()), Dialogs::Icon::Exclamation);
        return false;
    }
    return true;
}

void FrmBancari::checkIban(CheckBancari &engine, const QString &cin)
{
    engine.setBBAN(engine.CalcolaBBAN());
    const QString digits = engine.CalcolaCheckIBAN(txtStato->text(), engine.BBAN());
    if (optCalcolo->isChecked()) {
        txtCheck->setText(digits);
        return;
    }
    // The check digits are computed with the CIN the coordinates give, so a wrong CIN
    // letter in the code would otherwise pass; letter case does not make an IBAN wrong.
    const QString typedCin = txtCin->text().trimmed();
    if (txtCheck->text() != digits)
        say(QStringLiteral("Check IBAN digitato :  Errato"));
    else if (!typedCin.isEmpty() && typedCin.compare(cin, Qt::CaseInsensitive) != 0)
        say(QStringLiteral("Cin errato"));
    else
        say(QStringLiteral("Check IBAN digitat : Corretto"));
}

void FrmBancari::checkCin(const QString &cin)
{
    if (optCalcolo->isChecked())
        txtCin->setText(cin);
    else
        say(txtCin->text() == cin ? QStringLiteral("Cin corretto") : QStringLiteral("Cin errato"));
}

void FrmBancari::say(const QString &text, Dialogs::Icon icon)
{
    forms_.services().dialogs.messageBox(text, app::kDefaultTitle, Dialogs::Buttons::Ok, icon);
}

} // namespace bank
