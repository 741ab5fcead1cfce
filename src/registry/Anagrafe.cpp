#include "Anagrafe.h"

#include "DuplicateNotice.h"
#include "FieldHints.h"
#include "FieldRules.h"
#include "NameCompleter.h"

#include "kit/ArchiveSession.h"
#include "kit/Clock.h"
#include "kit/Context.h"
#include "kit/Look.h"
#include "kit/Product.h"
#include "kit/Services.h"
#include "kit/WindowPlace.h"
#include "model/IgnoringErrors.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace registry {

namespace {

using model::ignoringErrors;
using platform::Dialogs;

const QString &kTitle = kit::kManagementTitle;
const QString kBlankTitle = QLatin1Char(' ') + kTitle;

constexpr int kIdField = archive::kIdColumn, kNameField = archive::kNameColumn, kDateField = archive::kDateColumn;

QString fieldName(int number)
{
    return QStringLiteral("Text%1").arg(number);
}

// The caption above a field, announced as the field's name.
QVBoxLayout *labelled(const QString &caption, QWidget *field, QWidget *area, QLayout *fieldLine = nullptr)
{
    auto *column = new QVBoxLayout;
    column->setSpacing(2);
    auto *label = new QLabel(caption, area);
    label->setBuddy(field);
    column->addWidget(label);
    if (fieldLine)
        column->addLayout(fieldLine);
    else
        column->addWidget(field);
    return column;
}

// Why an add or a modify wrote nothing (an unknown identifier has its own text), then what
// was not done: "Il Soggetto non è stato aggiunto."
QString refusalText(model::Refusal refusal, const QString &date, const Regional &regional, const QString &notDone)
{
    QString reason;
    if (refusal == model::Refusal::CounterNotWhole) {
        reason = QStringLiteral("Il progressivo ID (cella IV1 dell'archivio) non è un numero intero.\n"
                                "Correggerlo con Utilità/Progressivi.");
    } else if (refusal == model::Refusal::RegistryFull) {
        reason = QStringLiteral("L'archivio è pieno: tutte le righe fino alla %1 sono occupate.").arg(archive::kLastRow);
    } else {
        QString pattern = regional.shortDateFormat().toLower();
        pattern.replace(QLatin1Char('d'), QLatin1Char('g')).replace(QLatin1Char('y'), QLatin1Char('a'));
        reason = QStringLiteral("La data \"%1\" non è valida: scriverla come %2, ad esempio %3.")
                     .arg(date, pattern, regional.dateText(QDate(2026, 12, 31)));
    }
    return reason + QStringLiteral("\nIl Soggetto non è stato %1.").arg(notDone);
}

QString unknownIdText(const QString &id, const QString &whatNot)
{
    return QStringLiteral("Nessun Soggetto ha l'ID Progressivo %1: %2.").arg(id, whatNot);
}

} // namespace

Anagrafe::Anagrafe(kit::Context &context) : context_(context)
{
    setObjectName(QStringLiteral("Anagrafe"));
    setWindowTitle(QStringLiteral("Velmoro "));
    buildMenu();

    auto *area = new QWidget(this);
    area->setFont(kit::windowFont(11.25, true));
    area->setFixedSize(792, 418);
    buildFields(area);
    chainTabOrder();
    setCentralWidget(area);

    Timer1 = kit::makeClock(*this, *Text19, context_.services.regional);
    connect(Combo1, &QComboBox::activated, this, context_.guard.slot(this, &Anagrafe::Combo1Click));
    connect(Check1, &QCheckBox::toggled, this, context_.guard.slot(this, &Anagrafe::Check1Click));
    connect(Check2, &QCheckBox::toggled, this, context_.guard.slot(this, &Anagrafe::Check2Click));
    new kit::ProgramActivation(*this, context_.isProgramWindow, context_.guard.slot(this, &Anagrafe::FormActivate));
}

void Anagrafe::buildMenu()
{
    MnCliente = menuBar()->addMenu(QStringLiteral("      &Gestione"));
    MnCliente->setObjectName(QStringLiteral("MnCliente"));
    const auto command = [this](QWidget *owner, const char *name, const QString &caption,
                                void (Anagrafe::*handler)()) {
        auto *action = new QAction(caption, owner);
        action->setObjectName(QString::fromLatin1(name));
        owner->addAction(action);
        connect(action, &QAction::triggered, this, context_.guard.slot(this, handler));
        return action;
    };
    mnuM = command(MnCliente, "mnuM", QStringLiteral("Modifica Fornitore"), &Anagrafe::mnuMClick);
    MnuE = command(MnCliente, "MnuE", QStringLiteral("Elimina Fornitore"), &Anagrafe::MnuEClick);
    MnAgg = command(menuBar(), "MnAgg", QStringLiteral("     &Aggiungi Fornitore"), &Anagrafe::MnAggClick);
    mnuP = command(menuBar(), "mnuP", QStringLiteral("    &Pulisci i campi"), &Anagrafe::mnuPClick);
    mnuEsci = command(menuBar(), "mnuEsci", QStringLiteral("    &Esci"), &Anagrafe::mnuEsciClick);
}

void Anagrafe::buildFields(QWidget *area)
{
    for (int number = 1; number <= archive::kFieldCount; ++number) {
        auto *field = new QLineEdit(area);
        field->setObjectName(fieldName(number));
        kit::setBackground(*field, Qt::white);
        applyFieldRules(*field, number);
        showCodeHints(*field, number);
        Text[std::size_t(number - 1)] = field;
    }
    // The program gives the identifier, and Modifica and Elimina find the row by it.
    Text[kIdField - 1]->setReadOnly(true);
    const auto text = [this](int number) { return Text[std::size_t(number - 1)]; };
    const auto row = [](std::initializer_list<std::pair<QLayout *, int>> columns) {
        auto *line = new QHBoxLayout;
        line->setSpacing(10);
        for (const auto &[column, stretch] : columns)
            line->addLayout(column, stretch);
        return line;
    };
    const auto sized = [](QLineEdit *field, int width) {
        field->setFixedWidth(width);
        return field;
    };

    auto *rows = new QVBoxLayout(area);
    rows->setContentsMargins(12, 8, 12, 12);
    const QList<QLayout *> lines = {
        buildListRow(area),
        row({{labelled(QStringLiteral("Ragione Sociale/Cognome-Nome"), text(2), area), 1},
             {labelled(QStringLiteral("Codice"), sized(text(3), 200), area), 0},
             {labelled(QStringLiteral("ID Progressivo"), sized(text(1), 120), area), 0}}),
        row({{labelled(QStringLiteral("Indirizzo"), text(5), area), 1},
             {labelled(QStringLiteral("C.A.P."), sized(text(6), 70), area), 0},
             {labelled(QStringLiteral("Località"), sized(text(7), 220), area), 0},
             {labelled(QStringLiteral("(PR)"), sized(text(8), 48), area), 0}}),
        row({{labelled(QStringLiteral("Telefono"), sized(text(9), 150), area), 0},
             {labelled(QStringLiteral("Fax"), sized(text(10), 150), area), 0},
             {labelled(QStringLiteral("Cellullare"), sized(text(11), 150), area), 0},
             {labelled(QStringLiteral("E-Mail"), text(12), area), 1}}),
        row({{labelled(QStringLiteral("Codice Fiscale"), sized(text(13), 200), area), 0},
             {labelled(QStringLiteral("Partita IVA"), sized(text(14), 140), area), 0},
             {labelled(QStringLiteral("Referente/Legale Rappresentante"), text(15), area), 1}}),
        buildBankRow(area),
        buildIbanRow(area)};
    // The seven rows spread evenly over the client area.
    for (QLayout *line : lines) {
        if (line != lines.first())
            rows->addStretch(1);
        rows->addLayout(line);
    }
    duplicateNotice_ = new DuplicateNotice(*Text[12], *Text[13], area);
    rows->addWidget(duplicateNotice_);
}

QBoxLayout *Anagrafe::buildListRow(QWidget *area)
{
    Combo1 = new QComboBox(area);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // Sizing from 32,767 names would read every one of them.
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->setMinimumContentsLength(20);
    if (auto *list = qobject_cast<QListView *>(Combo1->view()))
        list->setUniformItemSizes(true);
    new NameCompleter(*Combo1);

    Check2 = new QCheckBox(area);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setAccessibleName(QStringLiteral("Calendario"));
    QLineEdit *date = Text[kDateField - 1];
    date->setFixedWidth(120);
    kit::setBackground(*date, palette().color(QPalette::Button));
    auto *dateLine = new QHBoxLayout;
    dateLine->setSpacing(4);
    dateLine->addWidget(Check2);
    dateLine->addWidget(date);

    Text19 = new QLineEdit(area);
    Text19->setObjectName(QStringLiteral("Text19"));
    Text19->setReadOnly(true);
    Text19->setAccessibleName(QStringLiteral("Ore"));
    Text19->setFixedWidth(190);
    kit::setBackground(*Text19, palette().color(QPalette::Button));

    auto *line = new QHBoxLayout;
    line->setSpacing(10);
    line->addLayout(labelled(QStringLiteral("Seleziona Fornitore"), Combo1, area), 1);
    line->addSpacing(20);
    line->addLayout(labelled(QStringLiteral("Data"), date, area, dateLine), 0);
    line->addSpacing(20);
    line->addLayout(labelled(QString(), Text19, area), 0);
    return line;
}

QBoxLayout *Anagrafe::buildBankRow(QWidget *area)
{
    auto *heading = new QLabel(QStringLiteral("Coordinate Bancarie"), area);
    heading->setFixedWidth(200);
    auto *line = new QHBoxLayout;
    line->setSpacing(10);
    line->addWidget(heading, 0, Qt::AlignBottom);
    line->addLayout(labelled(QStringLiteral("Banca"), Text[15], area), 1);
    line->addLayout(labelled(QStringLiteral("Intestatario Conto "), Text[16], area), 1);
    return line;
}

QBoxLayout *Anagrafe::buildIbanRow(QWidget *area)
{
    Check1 = new QCheckBox(QStringLiteral("Verifica IBAN "), area);
    Check1->setObjectName(QStringLiteral("Check1"));
    Text[17]->setFixedWidth(330);
    auto *line = new QHBoxLayout;
    line->setSpacing(16);
    line->addLayout(labelled(QStringLiteral("IBAN  (27 Caratteri)"), Text[17], area));
    line->addWidget(Check1, 0, Qt::AlignBottom);
    line->addStretch(1);
    return line;
}

void Anagrafe::chainTabOrder()
{
    QList<QWidget *> order{Combo1, Text[1], Text[2]};
    for (int number = 5; number <= archive::kFieldCount; ++number)
        order.append(Text[std::size_t(number - 1)]);
    order << Check1 << Text[0] << Text[kDateField - 1] << Check2 << Text19;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Anagrafe::load()
{
    kit::centreOnScreen(*this);
    Timer1->start();
}

void Anagrafe::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void Anagrafe::FormActivate()
{
    if (registry().isEmpty()) {
        box(QStringLiteral("Non ci sono Soggetti  Registrati in %1 , occorre  utilizzare: AGGIUNGI Soggetto ")
                .arg(kit::kProductName),
            kTitle, Dialogs::Icon::Information);
        return;
    }
    Combo1->setEnabled(true);
    Text[kNameField - 1]->setFocus();
    ignoringErrors([&] { registry().select(); });
    emptyList();
    ignoringErrors([&] { Carica(); });
}

void Anagrafe::Carica()
{
    const QStringList names = registry().names();
    // Appending leaves the edit text as it was and picks no item.
    const QString typed = Combo1->currentText();
    Combo1->addItems(names);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(typed);
}

void Anagrafe::emptyList()
{
    Combo1->clear();
    Combo1->setEditText(QString());
}

void Anagrafe::reloadList()
{
    emptyList();
    Carica();
}

void Anagrafe::Azzera()
{
    Combo1->setEnabled(true);
    for (QLineEdit *field : Text)
        field->clear();
    Text19->clear();
    emptyList();
    Combo1->setFocus();
    Check2->setChecked(false);
    Check1->setChecked(false);
}

void Anagrafe::Check1Click(bool checked)
{
    if (checked)
        emit ibanCheckRequested(Text[17]->text());
}

void Anagrafe::Check2Click(bool checked)
{
    if (checked)
        emit datePickerRequested();
}

bool Anagrafe::setPickedDate(QDate date)
{
    QLineEdit *field = Text[kDateField - 1];
    if (!field->isVisible())
        return false;
    // The day itself, never a text read back, so day and month cannot change places.
    field->setText(context_.services.regional.dateText(date));
    emptyList();
    return true;
}

void Anagrafe::setBankCheckBoxChecked(bool checked)
{
    const QSignalBlocker quiet(Check1);
    Check1->setChecked(checked);
}

void Anagrafe::Combo1Click()
{
    const auto subject = registry().find(Combo1->currentText());
    if (!subject)
        return;
    Combo1->setEditText(subject->at(kNameField - 1));
    for (std::size_t i = 0; i < Text.size(); ++i)
        Text[i]->setText(subject->at(i));
}

void Anagrafe::MnAggClick()
{
    emptyList();
    if (field(kNameField).isEmpty()) {
        box(QStringLiteral("Bisogna compilare il  campo  Ragione Sociale/Cognome"), kBlankTitle,
            Dialogs::Icon::Exclamation);
        reloadList();
        return;
    }
    duplicateNotice_->check(context_.session.host(), typedFields());
    if (box(QStringLiteral(" Vuoi Inserire questo %1 ?").arg(kit::kProductName), kTitle, Dialogs::Icon::None,
            Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    model::Fields fields = typedFields();
    if (const auto refusal = registry().add(fields)) {
        box(refusalText(*refusal, field(kDateField), context_.services.regional, QStringLiteral("aggiunto")),
            kBlankTitle, Dialogs::Icon::Exclamation);
        reloadList();
        return;
    }
    Text[kIdField - 1]->setText(fields[kIdField - 1]);
    box(QStringLiteral("Soggetto Aggiunto"), kBlankTitle, Dialogs::Icon::None);
    Azzera();
    Carica();
    Text[kNameField - 1]->setFocus();
}

bool Anagrafe::refusedWithoutKey(const QString &nameMessage, const QString &title, Dialogs::Icon nameIcon)
{
    QString message;
    Dialogs::Icon icon = nameIcon;
    if (field(kNameField).isEmpty()) {
        message = nameMessage;
    } else if (field(kIdField).isEmpty()) {
        message = QStringLiteral("Il campo ID Progressivo è vuoto: scegliere il Soggetto dall'elenco "
                                 "\"Seleziona Fornitore\".");
        icon = Dialogs::Icon::Exclamation;
    } else {
        return false;
    }
    box(message, title, icon);
    reloadList();
    return true;
}

void Anagrafe::mnuMClick()
{
    Combo1->setEnabled(true);
    if (refusedWithoutKey(QStringLiteral("Bisogna Selezionare un Soggetto "), kBlankTitle,
                          Dialogs::Icon::Exclamation))
        return;
    if (box(QStringLiteral("Si vuole modificare il Soggetto Selezionato ?"), kTitle, Dialogs::Icon::None,
            Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    if (const auto refusal = registry().modify(typedFields())) {
        // Nothing was written, so what the user typed stays.
        box(refusal == model::Refusal::UnknownId
                ? unknownIdText(field(kIdField), QStringLiteral("nessuna modifica è stata scritta"))
                : refusalText(*refusal, field(kDateField), context_.services.regional, QStringLiteral("modificato")),
            kTitle, Dialogs::Icon::Exclamation);
        return;
    }
    box(QStringLiteral("Soggetto Modificato"), kTitle, Dialogs::Icon::Information);
    Azzera();
    emptyList();
    Carica();
}

void Anagrafe::MnuEClick()
{
    if (refusedWithoutKey(QStringLiteral("Seleziona un Soggetto !!"), kTitle, Dialogs::Icon::Information))
        return;
    if (box(QStringLiteral("Si vuole Eliminare il Soggetto Selezionato ?"), kTitle, Dialogs::Icon::None,
            Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    const auto name = registry().remove(field(kIdField));
    if (!name) {
        box(unknownIdText(field(kIdField), QStringLiteral("nessun Soggetto è stato eliminato")), kBlankTitle,
            Dialogs::Icon::Exclamation);
        return;
    }
    box(QStringLiteral("Soggetto    %1      Eliminato").arg(*name), kBlankTitle, Dialogs::Icon::Information);
    Azzera();
    Check1->setChecked(false);
}

void Anagrafe::mnuPClick()
{
    Azzera();
    Carica();
    Combo1->setFocus();
}

void Anagrafe::mnuEsciClick()
{
    Check1->setChecked(false);
    Azzera();
    hide();
    emit left();
    context_.session.save();
}

model::Registry Anagrafe::registry() const
{
    return model::Registry(context_.session.host());
}

model::Fields Anagrafe::typedFields() const
{
    model::Fields fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = Text[i]->text();
    return fields;
}

QString Anagrafe::field(int number) const
{
    return Text[std::size_t(number - 1)]->text();
}

Dialogs::Answer Anagrafe::box(const QString &text, const QString &title, Dialogs::Icon icon,
                              Dialogs::Buttons buttons)
{
    return context_.services.dialogs.messageBox(text, title, buttons, icon);
}

} // namespace registry
