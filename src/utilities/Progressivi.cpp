#include "Progressivi.h"

#include "ArchiveSave.h"
#include "Counter.h"
#include "DefaultButton.h"
#include "ErrorText.h"
#include "Form1.h"
#include "Forms.h"
#include "HostError.h"
#include "HostErrors.h"
#include "Logo.h"
#include "Product.h"
#include "ProgramActivation.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace utilities {

namespace {

using platform::Dialogs;

const QColor kLocked(255, 255, 255);
const QColor kOpen(255, 255, 192);

void setBackground(QLineEdit *field, const QColor &colour)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colour);
    field->setPalette(palette);
}

QString refusalText(const QString &typed)
{
    return QStringLiteral("Il nuovo progressivo \"%1\" non è valido: scrivere un numero intero "
                          "da 0 in su (al massimo 15 cifre), oppure lasciare il campo vuoto per "
                          "ripartire da 1.\nL'ID Velmoro non è stato aggiornato.")
        .arg(typed);
}

QString loweredText(const QString &next, const QString &highest)
{
    return QStringLiteral("ID Velmoro aggiornato: il prossimo Soggetto avrà l'ID Progressivo %1.\n"
                          "Attenzione: l'archivio contiene già Soggetti con ID fino a %2, "
                          "che potranno ripetersi.")
        .arg(next, highest);
}

} // namespace

Progressivi::Progressivi(app::Forms &forms) : forms_(forms)
{
    setObjectName(QStringLiteral("Progressivi"));
    setWindowTitle(QStringLiteral("Utilità"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    const auto label = [this](const char *name, const QString &caption) {
        auto *made = new QLabel(caption, this);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    };

    Image1 = label("Image1", QString());
    Image1->setPixmap(app::logoPixmap(80));
    Image1->setToolTip(QStringLiteral("Visita il mio Sito !"));
    grid->addWidget(Image1, 0, 0, 4, 1, Qt::AlignTop);

    Label2 = label("Label2", QStringLiteral("Progressivo Attuale"));
    // The label reads out the counter; its caption describes it.
    Label4 = label("Label4", QString());
    Label4->setAccessibleDescription(Label2->text());
    Label2->setBuddy(Label4);
    Label4->setFrameShape(QFrame::StyledPanel);
    Label4->setFrameShadow(QFrame::Sunken);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(Label4, 0, 2);

    Label1 = label("Label1", QStringLiteral("Seleziona"));
    Check1 = new QCheckBox(QStringLiteral("ID Velmoro"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Label1->setBuddy(Check1);
    grid->addWidget(Label1, 1, 1);
    grid->addWidget(Check1, 1, 2);

    Label3 = label("Label3", QStringLiteral("Nuovo Progressivo"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Label3->setBuddy(Text1);
    grid->addWidget(Label3, 2, 1);
    grid->addWidget(Text1, 2, 2);

    Command1 = new QPushButton(QStringLiteral("Aggiorna ID Velmoro"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    grid->addWidget(Command1, 3, 2);

    Label5 = label("Label5", QStringLiteral("Se di interesse si realizzano applicazioni o personalizzazioni  "));
    grid->addWidget(Label5, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    connect(Check1, &QCheckBox::toggled, this, &Progressivi::Check1Click);
    app::setDefaultButton(*this, *Command1);
    connect(Command1, &QPushButton::clicked, this, &Progressivi::Command1Click);
    new app::ProgramActivation(*this, forms_, [this] { FormActivate(); });
}

void Progressivi::load()
{
    Check1Click(false);
}

void Progressivi::FormActivate()
{
    Text1->setEnabled(false);
    Label4->setText(Counter(application()).text());
}

void Progressivi::Check1Click(bool checked)
{
    Text1->setEnabled(checked);
    setBackground(Text1, checked ? kOpen : kLocked);
    if (checked)
        Text1->setFocus();
    else
        Text1->clear();
}

void Progressivi::Command1Click()
{
    if (Check1->isChecked() && !storeCounter())
        return;
    close();
}

bool Progressivi::storeCounter()
{
    const Counter counter(application());
    const auto stored = counter.set(Text1->text());
    if (!stored) {
        box(refusalText(Text1->text()), true);
        return false;
    }
    const double next = *stored + 1, highest = counter.highestId();
    if (next <= highest) {
        const Regional &regional = forms_.services().regional;
        box(loweredText(regional.numberText(next), regional.numberText(highest)), false);
    }
    return true;
}

void Progressivi::closeEvent(QCloseEvent *event)
{
    event->accept();
    app::Form1 *main = forms_.form1();
    main->show();
    // "Esci" after the host was ended from outside has nothing left to save.
    host::Application *app = main->application();
    if (!app || app->hasQuit())
        return;
    try {
        app::saveArchive(*app, forms_.services().dialogs);
    } catch (const host::HostError &error) {
        box(app::failedSaveText(error), true);
    }
}

host::Application &Progressivi::application() const
{
    host::Application *app = forms_.form1()->application();
    if (!app)
        throw host::hostGone();
    return *app;
}

void Progressivi::box(const QString &text, bool warning)
{
    forms_.services().dialogs.messageBox(text, app::kDefaultTitle, Dialogs::Buttons::Ok,
                                         warning ? Dialogs::Icon::Exclamation : Dialogs::Icon::Information);
}

} // namespace utilities
