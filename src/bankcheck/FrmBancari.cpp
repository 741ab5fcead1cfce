#include "FrmBancari.h"

#include "bank/BankError.h"
#include "bank/CheckBancari.h"
#include "bank/Lengths.h"
#include "kit/ArchiveSession.h"
#include "kit/Context.h"
#include "kit/DefaultButton.h"
#include "kit/Look.h"
#include "kit/Product.h"
#include "kit/Services.h"
#include "kit/WindowPlace.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace bankcheck {

namespace {

using platform::Dialogs;

constexpr int kBbanLength = 23;
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

FrmBancari::FrmBancari(kit::Context &context) : context_(context)
{
    setObjectName(QStringLiteral("FrmBancari"));
    setWindowTitle(QStringLiteral("Verifica IBAN"));
    Pulisci = menuBar()->addAction(QStringLiteral("& Pulisci"));
    Pulisci->setObjectName(QStringLiteral("Pulisci"));

    auto *area = new QWidget(this);
    buildFields(area);
    chainTabOrder();
    setCentralWidget(area);

    kit::setDefaultButton(*this, *cmdGo);
    connect(cmdGo, &QPushButton::clicked, this, context_.guard.slot(this, &FrmBancari::cmdGoClick));
    connect(Pulisci, &QAction::triggered, this, context_.guard.slot(this, &FrmBancari::PulisciClick));
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

    txtCodice->setMaxLength(bank::kIbanLength);
    txtCodice->setMinimumWidth(txtCodice->fontMetrics().horizontalAdvance(QString(bank::kIbanLength + 2, u'W')));
    kit::setBackground(*txtCodice, kit::kOpenFieldColour);
    txtStato->setText(kItaly);
}

void FrmBancari::chainTabOrder()
{
    const QList<QWidget *> order{optBBAN, optIBAN, optCalcolo, optVerifica, txtCodice, txtAbi,
                                 txtCab,  txtCC,   txtCin,     txtStato,    txtCheck,  cmdGo};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void FrmBancari::setIban(const QString &iban)
{
    iban_ = iban;
}

void FrmBancari::load()
{
    kit::centreOnScreen(*this);
    txtCodice->setText(iban_);
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
    emit closed();
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
    if (length == bank::kIbanLength) {
        txtStato->setText(code.left(2));
        txtCheck->setText(code.mid(2, 2));
    }
}

void FrmBancari::cmdGoClick()
{
    if (check())
        context_.session.save();
}

// The split and the check with its message; false when the input was refused.
bool FrmBancari::check()
{
    SeparaCodice();
    if (txtCC->text().size() > bank::kAccountLength) {
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
    context_.services.dialogs.messageBox(text, kit::kDefaultTitle, Dialogs::Buttons::Ok, icon);
}

} // namespace bankcheck
