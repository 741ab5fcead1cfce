// The registry window as the user works it: the list on activation; adding, modifying and
// deleting, with the boxes in order, the list and name field afterwards and every cell of the
// archive "Esci" saves, read with the engine; picking a subject, "Pulisci i campi", "Esci",
// the clock, the refusal to close; the field rules while typing; and how the window looks and
// reads: size, font, colours, menu, what a screen reader announces, in keyboard order.
#include "registry/NameCompleter.h"
#include "RegistryWindow.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QCompleter>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTimer>

namespace {

const QString kAddQuestion = u"?|Gestione Velmoro| Vuoi Inserire questo Velmoro ?"_qs;

class Registry : public RegistryWindow {};

TEST_F(Registry, PickingShowsTheUpperRowOfItsNameFieldByField)
{
    const QString rossi = u"1|ROSSI MARIO|C01|05/12/2026|VIA ROMA 1|00184|ROMA|RM|06123|06124|333|"
                          "rossi@example.org|RSSMRA80A01H501U|01234567890|ANNA|BANCA|ROSSI MARIO|IT60X054"_qs;
    put(2, rossi);
    sheet().cells(2, 4).setValue(QDate(2026, 12, 5));
    put(3, u"2|BIANCHI"_qs);
    put(4, u"3|ROSSI MARIO|C03"_qs);
    open();
    EXPECT_TRUE(text(2)->hasFocus());
    QTest::keyClicks(combo(), u"ZZ"_qs); // the list takes a typed name
    EXPECT_EQ(combo()->currentText(), u"ZZ"_qs);
    act({u"pick 3"_qs});
    EXPECT_EQ(fields(), rossi);
    EXPECT_EQ(combo()->currentText(), u"ROSSI MARIO"_qs);
    act({u"pick 2"_qs});
    EXPECT_EQ(fields(), u"2|BIANCHI"_qs + QString(16, u'|'));
    // A name no longer in column B changes nothing.
    act({u"pick 1"_qs});
    put(3, u"2|BIANCHI ANNA"_qs);
    act({u"pick 2"_qs});
    EXPECT_EQ(fields(), rossi);
    EXPECT_EQ(boxes(), QStringList());
}

TEST_F(Registry, TypingPartOfANameOffersTheNamesHoldingItAndPickingOneFillsTheFields)
{
    put(2, u"1|ROSSI MARIO|C01"_qs);
    put(3, u"2|FORLÌ SRL|C02|||||FC"_qs);
    put(4, u"3|D’ANGELO LUCA|C03"_qs);
    put(5, u"4|BAR FORLIMPOPOLI|C04"_qs);
    put(6, u"5|FORLÌ SRL|C05"_qs);
    open();
    QCompleter *completer = combo()->completer();
    ASSERT_TRUE(completer);
    const auto offered = [&] { // the popup's rows
        QStringList names;
        for (int row = 0; row < completer->popup()->model()->rowCount(); ++row)
            names << completer->popup()->model()->index(row, 0).data().toString();
        return names.join(u';');
    };
    const struct {
        QString typed, offered;
    } searches[] = {
        {u"forli"_qs, u"FORLÌ SRL;BAR FORLIMPOPOLI;FORLÌ SRL"_qs},
        {u"dang"_qs, u"D’ANGELO LUCA"_qs},
        {u"d'angelo"_qs, u"D’ANGELO LUCA"_qs},
        {u" srl"_qs, u"FORLÌ SRL;FORLÌ SRL"_qs},
        {u"Rossi M"_qs, u"ROSSI MARIO"_qs},
    };
    for (const auto &search : searches) {
        combo()->lineEdit()->clear();
        QTest::keyClicks(combo()->lineEdit(), search.typed);
        EXPECT_TRUE(completer->popup()->isVisible()) << qPrintable(search.typed);
        EXPECT_EQ(offered(), search.offered) << qPrintable(search.typed);
    }
    combo()->lineEdit()->clear();
    QTest::keyClicks(combo()->lineEdit(), u"zz"_qs);
    EXPECT_FALSE(completer->popup()->isVisible());
    EXPECT_EQ(fields(), QString(17, u'|'));

    combo()->lineEdit()->clear();
    QTest::keyClicks(combo()->lineEdit(), u"forlimp"_qs);
    QAbstractItemView *popup = completer->popup();
    ASSERT_TRUE(popup->isVisible());
    const QRect row = popup->visualRect(popup->model()->index(0, 0));
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(combo()->currentIndex(), 3);
    EXPECT_EQ(combo()->currentText(), u"BAR FORLIMPOPOLI"_qs);
    EXPECT_EQ(fields(), u"4|BAR FORLIMPOPOLI|C04"_qs + QString(15, u'|'));
    // The second of two names alike shows the upper row, as a pick in the list does.
    combo()->lineEdit()->clear();
    QTest::keyClicks(combo()->lineEdit(), u"srl"_qs);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(combo()->currentIndex(), 4);
    EXPECT_EQ(fields(), u"2|FORLÌ SRL|C02|||||FC"_qs + QString(10, u'|'));
    // Enter picks the first name that starts with what was typed.
    combo()->lineEdit()->clear();
    QTest::keyClicks(combo()->lineEdit(), u"rossi"_qs);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(fields(), u"1|ROSSI MARIO|C01"_qs + QString(15, u'|'));
    EXPECT_EQ(items(), u"ROSSI MARIO;FORLÌ SRL;D’ANGELO LUCA;BAR FORLIMPOPOLI;FORLÌ SRL"_qs);
    EXPECT_EQ(boxes(), QStringList());
}

TEST(NameFilter, MapsTheNamesFoundToTheirRowsInTheListBothWaysAndReadsAChangedListAgain)
{
    QStandardItemModel list;
    for (const char *name : {"ROSSI", "FORLÌ SRL", "BIANCHI", "BAR FORLI"})
        list.appendRow(new QStandardItem(QString::fromUtf8(name)));
    registry::NameFilter filter(list);
    filter.search(u"forli"_qs);
    ASSERT_EQ(filter.rowCount(), 2);
    EXPECT_FALSE(filter.index(2, 0).isValid() || filter.index(0, 1).isValid());
    QStringList found;
    for (int row = 0; row < filter.rowCount(); ++row) {
        const QModelIndex source = filter.mapToSource(filter.index(row, 0));
        found << QString::number(source.row()) + u'=' + filter.index(row, 0).data().toString();
        EXPECT_EQ(filter.mapFromSource(source), filter.index(row, 0));
    }
    EXPECT_EQ(found.join(u';'), u"1=FORLÌ SRL;3=BAR FORLI"_qs);
    EXPECT_FALSE(filter.mapFromSource(list.index(2, 0)).isValid());
    list.appendRow(new QStandardItem(u"FORLIVESE"_qs));
    EXPECT_EQ(filter.rowCount(), 0); // until the next search
    filter.search(u"forli"_qs);
    EXPECT_EQ(filter.rowCount(), 3);
    filter.search({});
    EXPECT_EQ(filter.rowCount(), 5);
}

TEST_F(Registry, CodesThatAreWrongShowATintAndTheReasonButAreNeverRefused)
{
    const QColor tint(255, 214, 214), white(Qt::white);
    const struct {
        int field;
        QString typed, reason;
    } cases[] = {
        {6, u"0018"_qs, u"CAP: 5 cifre richieste"_qs},
        {6, u"00184"_qs, {}},
        {8, u"xx"_qs, u"Provincia: sigla non riconosciuta"_qs},
        {8, u"fc"_qs, {}},
        {13, u"rccmnl83s18d969k"_qs, u"Codice fiscale: il carattere di controllo dovrebbe essere H"_qs},
        {13, u"rccmnl83s18d969h"_qs, {}},
        {14, u"00743110158"_qs, u"Partita IVA: la cifra di controllo dovrebbe essere 7"_qs},
        {14, u"00743110157"_qs, {}},
        {18, u"IT60X0542811101000000123457"_qs, u"IBAN: le cifre di controllo non corrispondono al codice"_qs},
        {18, u"it60x0542811101000000123456"_qs, {}},
        {2, u"1234"_qs, {}}, // a field without a code
        {9, u"abc"_qs, {}},
    };
    for (const auto &c : cases) {
        QLineEdit *field = text(c.field);
        field->clear();
        QTest::keyClicks(field, c.typed);
        const QString read = QAccessible::queryAccessibleInterface(field)->text(QAccessible::Description);
        EXPECT_EQ(field->palette().color(QPalette::Base), c.reason.isEmpty() ? white : tint) << c.field;
        EXPECT_EQ(field->toolTip(), c.reason) << c.field;
        EXPECT_EQ(read, c.reason) << c.field;
    }
    // Set by the program as by typing; a wrong code is added all the same, and the reset
    // takes the tint away.
    text(13)->setText(u"RCCMNL83S18D969K"_qs);
    EXPECT_EQ(text(13)->palette().color(QPalette::Base), tint);
    act({u"type 2 rossi"_qs, u"MnAgg yes"_qs});
    EXPECT_EQ(boxes(), (QStringList{kAddQuestion, u"-| Gestione Velmoro|Soggetto Aggiunto"_qs}));
    EXPECT_EQ(sheet().range(u"M2"_qs).text(), u"RCCMNL83S18D969K"_qs);
    EXPECT_EQ(text(13)->palette().color(QPalette::Base), white);
    EXPECT_EQ(text(13)->toolTip(), QString());
}

TEST_F(Registry, AddingACodeAnotherSubjectHoldsNamesThatSubjectBeforeTheQuestion)
{
    const auto codes = [](const char *idAndName, const char *codiceFiscale, const char *partitaIva) {
        return QString::fromUtf8(idAndName) + QString(11, u'|') + QString::fromUtf8(codiceFiscale) + u'|' +
               QString::fromUtf8(partitaIva); // in columns M and N
    };
    put(2, codes("1|ROSSI MARIO", "RSSMRA80A01H501U", "00743110157"));
    put(3, codes("2|ROSSI SRL", "", "0074 3110 157"));
    put(4, codes("3|BIANCHI", "", "12345678887"));
    open();
    QLabel *notice = control<QLabel>(u"DuplicateNotice"_qs);
    ASSERT_TRUE(notice);
    QString shown;
    run->dialogs.asked = [&](const FakeDialogs::Box &) {
        shown = notice->isVisible() ? QAccessible::queryAccessibleInterface(notice)->text(QAccessible::Name) : u"-"_qs;
    };
    const struct {
        QString codiceFiscale, partitaIva, notice;
    } adds[] = {
        {{}, u"12345678887"_qs, u"Attenzione: la partita IVA 12345678887 è già del soggetto 3 BIANCHI"_qs},
        {{}, u"00743110157"_qs,
         u"Attenzione: la partita IVA 00743110157 è già del soggetto 1 ROSSI MARIO e di un altro"_qs},
        {u"rssmra80a01h501u"_qs, u"12345678887"_qs,
         u"Attenzione: la partita IVA 12345678887 è già del soggetto 3 BIANCHI\n"
         "Attenzione: il codice fiscale RSSMRA80A01H501U è già del soggetto 1 ROSSI MARIO"_qs},
        {u"RSSMRA80A01H501V"_qs, u"12345678888"_qs, u"-"_qs},
        {{}, {}, u"-"_qs},
    };
    for (const auto &add : adds) {
        shown.clear();
        act({u"set 13 "_qs + add.codiceFiscale, u"set 14 "_qs + add.partitaIva, u"type 2 nuovo"_qs, u"MnAgg no"_qs});
        EXPECT_EQ(shown, add.notice);
        EXPECT_EQ(notice->isVisible(), add.notice != u"-"_qs); // still there to read after No
        act({u"mnuP"_qs});
    }
    act({u"set 14 12345678887"_qs, u"type 2 nuovo"_qs, u"MnAgg no"_qs, u"type 14 \b"_qs});
    EXPECT_FALSE(notice->isVisible()); // the code changed
    act({u"set 14 12345678887"_qs, u"MnAgg yes"_qs}); // and it is added all the same
    EXPECT_EQ(sheet().range(u"N5"_qs).text(), u"12345678887"_qs);
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(Registry, PulisciICampiEmptiesFieldsListTextAndClockUnticksAndReloads)
{
    put(2, u"1|ROSSI|C1"_qs);
    open();
    act({u"pick 1"_qs});
    check(1)->click();
    check(2)->click(); // the bank window and the date picker open; the user comes back
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text(19)->text().isEmpty(); }, 2500));
    EXPECT_TRUE(QRegularExpression(u"^Ore\\.\\.\\.\\d\\d:\\d\\d:\\d\\d$"_qs).match(text(19)->text()).hasMatch());
    const auto windows = run->forms->loaded();

    act({u"mnuP"_qs});

    EXPECT_EQ(fields() + text(19)->text() + combo()->currentText(), QString(17, u'|'));
    EXPECT_EQ(items(), u"ROSSI"_qs);
    EXPECT_FALSE(check(1)->isChecked() || check(2)->isChecked());
    EXPECT_TRUE(combo()->hasFocus());
    EXPECT_EQ(run->forms->loaded(), windows);
    EXPECT_EQ(boxes(), QStringList());
}

TEST_F(Registry, RefusesToCloseAndEsciHidesItShowsTheMainWindowAndSaves)
{
    open();
    EXPECT_FALSE(window()->close());
    EXPECT_EQ(run->forms->unload(window()), root::Forms::Unloaded::Refused);
    EXPECT_TRUE(window()->isVisible());
    put(2, u"1|ROSSI"_qs);
    act({u"type 2 bozza"_qs, u"mnuEsci"_qs});
    EXPECT_FALSE(window()->isVisible());
    EXPECT_EQ(text(2)->text(), QString());
    EXPECT_TRUE(run->form1()->isVisible());
    EXPECT_FALSE(run->form1()->findChild<QCheckBox *>(u"Check1"_qs)->isChecked());
    EXPECT_EQ(savedCells(), u"A2=1;B2=ROSSI;IV1="_qs);
    EXPECT_FALSE(run->program.ended());
}

TEST_F(Registry, EachKeepsItsCaseAndLengthBoundWhenTyped)
{
    const QString typed = u"abc def 0123456789 ghi jkl mno"_qs; // 30 characters
    const QList<int> keepCase = {9, 10, 11, 12, 14};
    const QMap<int, int> bound = {{4, 10}, {6, 5}, {8, 2}, {13, 16}, {14, 11}, {18, 27}};
    for (int number = 2; number <= 18; ++number) { // the identifier takes no typing
        QTest::keyClicks(text(number), typed);
        const QString kept = typed.left(bound.value(number, 30));
        EXPECT_EQ(text(number)->text(), keepCase.contains(number) ? kept : kept.toUpper()) << number;
    }
}

TEST_F(Registry, CapitalsAppearWhereTypedWithTheCaretJustAfter)
{
    act({u"type 2 rossi"_qs});
    text(2)->setCursorPosition(2);
    act({u"type 2 x"_qs});
    EXPECT_EQ(text(2)->text(), u"ROXSSI"_qs);
    EXPECT_EQ(text(2)->cursorPosition(), 3);
    EXPECT_FALSE(text(2)->hasSelectedText());
    // Letter by letter: "ß" has no single capital and stays, so the caret stays right.
    text(18)->setText(u"it"_qs);
    text(18)->setCursorPosition(0);
    QTest::sendKeyEvent(QTest::Click, text(18), Qt::Key_unknown, u"ß"_qs, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, text(18), Qt::Key_unknown, u"è"_qs, Qt::NoModifier);
    QInputMethodEvent composed; // an accented letter put together with a dead key
    composed.setCommitString(u"à"_qs);
    QApplication::sendEvent(text(18), &composed);
    EXPECT_EQ(text(18)->text(), u"ßÈÀIT"_qs);
    EXPECT_EQ(text(18)->cursorPosition(), 3);
    QTest::keySequence(text(18), QKeySequence::Undo); // the three letters went in as typed
    EXPECT_EQ(text(18)->text(), u"IT"_qs);
}

TEST_F(Registry, UndoAndRedoWorkInTheFieldsThatKeepCapitals)
{
    const auto key = [&](QKeySequence::StandardKey sequence) { QTest::keySequence(text(2), sequence); };
    act({u"type 2 rossi"_qs});
    QTest::mouseClick(text(2), Qt::LeftButton, {}, QPoint(2, text(2)->height() / 2)); // before the R
    act({u"type 2 via "_qs});
    EXPECT_EQ(text(2)->text(), u"VIA ROSSI"_qs);
    key(QKeySequence::Undo);
    EXPECT_EQ(text(2)->text(), u"ROSSI"_qs);
    key(QKeySequence::Redo);
    EXPECT_EQ(text(2)->text(), u"VIA ROSSI"_qs);
    EXPECT_EQ(text(2)->cursorPosition(), 4);
    text(2)->setCursorPosition(9);
    QGuiApplication::clipboard()->setText(u" mario"_qs);
    key(QKeySequence::Paste);
    EXPECT_EQ(text(2)->text(), u"VIA ROSSI MARIO"_qs);
    key(QKeySequence::Undo);
    key(QKeySequence::Undo);
    EXPECT_EQ(text(2)->text(), u"ROSSI"_qs);
    key(QKeySequence::Redo);
    EXPECT_EQ(text(2)->text(), u"VIA ROSSI"_qs);
    // A text put in by the program is in capitals too, and starts the history afresh.
    text(2)->setText(u"bianchi"_qs);
    key(QKeySequence::Undo);
    EXPECT_EQ(text(2)->text(), u"BIANCHI"_qs);
}

TEST_F(Registry, WindowSizeFontColoursTitleAndMenu)
{
    EXPECT_EQ(window()->windowTitle(), u"Velmoro "_qs);
    EXPECT_EQ(control<QTimer>(u"Timer1"_qs)->interval(), 1000); // the clock ticks each second
    EXPECT_EQ(window()->centralWidget()->size(), QSize(792, 418));
    for (QWidget *control : window()->centralWidget()->findChildren<QWidget *>()) {
        const QFont font = control->font();
        EXPECT_TRUE(font.family() == u"Calibri"_qs && font.pointSizeF() == 11.25 && font.bold())
            << control->objectName().toStdString();
    }
    const QColor buttonFace = window()->palette().color(QPalette::Button);
    for (int number = 1; number <= 19; ++number)
        EXPECT_EQ(text(number)->palette().color(QPalette::Base),
                  number == 4 || number == 19 ? buttonFace : QColor(Qt::white)) << number;
    QStringList menu;
    for (QAction *action : window()->menuBar()->actions() + control<QMenu>(u"MnCliente"_qs)->actions())
        menu << action->objectName() + u'=' + action->text();
    EXPECT_EQ(menu.join(u';'), u"=      &Gestione;MnAgg=     &Aggiungi Fornitore;mnuP=    &Pulisci i campi;"
                               "mnuEsci=    &Esci;mnuM=Modifica Fornitore;MnuE=Elimina Fornitore"_qs);
}

TEST_F(Registry, TabReachesEachControlAnnouncedByItsLabelOrCaption)
{
    EXPECT_EQ(tabOrder(combo()),
              u"Combo1=Seleziona Fornitore;Text2=Ragione Sociale/Cognome-Nome;Text3=Codice;Text5=Indirizzo;"
              "Text6=C.A.P.;Text7=Località;Text8=(PR);Text9=Telefono;Text10=Fax;Text11=Cellullare;Text12=E-Mail;"
              "Text13=Codice Fiscale;Text14=Partita IVA;Text15=Referente/Legale Rappresentante;Text16=Banca;"
              "Text17=Intestatario Conto ;Text18=IBAN  (27 Caratteri);Check1=Verifica IBAN ;Text1=ID Progressivo;"
              "Text4=Data;Check2=Calendario;Text19=Ore"_qs);
}

struct Scenario {
    const char *name;
    QStringList rows; // from row 2
    QString counter;
    QStringList steps;
    QStringList boxes;
    QString listed = {}, nameAfter = {}, saved = {};
    QLocale locale = QLocale(QLocale::Italian, QLocale::Italy);
    int filledUpTo = 0; // column A filled from row 3 to this row
};

const QString kEmpty = u"i|Gestione Velmoro|Non ci sono Soggetti  Registrati in Velmoro , occorre  utilizzare: "
                       "AGGIUNGI Soggetto "_qs;
const QString kAdd = kAddQuestion;
const QString kAdded = u"-| Gestione Velmoro|Soggetto Aggiunto"_qs;
const QString kModify = u"?|Gestione Velmoro|Si vuole modificare il Soggetto Selezionato ?"_qs;
const QString kModified = u"i|Gestione Velmoro|Soggetto Modificato"_qs;
const QString kDelete = u"?|Gestione Velmoro|Si vuole Eliminare il Soggetto Selezionato ?"_qs;
const QString kNotAdded = u"!| Gestione Velmoro|%1\nIl Soggetto non è stato aggiunto."_qs;
const QString kBadDate = kNotAdded.arg(u"La data \"%1\" non è valida: scriverla come gg/mm/aaaa, ad esempio 31/12/2026."_qs);
const QString kNotModified = u"!|Gestione Velmoro|La data \"%1\" non è valida: scriverla come gg/mm/aaaa, ad esempio "
                              "31/12/2026.\nIl Soggetto non è stato modificato."_qs;
const QString kBadCounter = kNotAdded.arg(u"Il progressivo ID (cella IV1 dell'archivio) non è un numero intero.\n"
                                          "Correggerlo con Utilità/Progressivi."_qs);
const QString kNoId = u"|Il campo ID Progressivo è vuoto: scegliere il Soggetto dall'elenco \"Seleziona Fornitore\"."_qs;
const QStringList kThree = {u"1|ROSSI|C1"_qs, u"2|BIANCHI|C2|01/02/2025"_qs, u"3|VERDI"_qs};
const QString kThreeSaved = u"A2=1;B2=ROSSI;C2=C1;A3=2;B3=BIANCHI;C3=C2;D3=01/02/2025;A4=3;B4=VERDI;IV1=9"_qs;

void PrintTo(const Scenario &scenario, std::ostream *out)
{
    *out << scenario.name;
}

class Commands : public RegistryWindow, public testing::WithParamInterface<Scenario> {
protected:
    void SetUp() override { start(GetParam().locale); }
};

TEST_P(Commands, LeaveTheBoxesListAndArchiveAsExpected)
{
    const Scenario &c = GetParam();
    for (int row = 3; row <= c.filledUpTo; ++row)
        sheet().cells(row, 1).setValue(double(row));
    for (int i = 0; i < c.rows.size(); ++i)
        put(i + 2, c.rows[i]);
    sheet().range(u"IV1"_qs).setValue(c.counter);
    open();
    run->dialogs.boxes.clear();
    const QString before = cells();

    act(c.steps);

    EXPECT_EQ(boxes(), c.boxes);
    EXPECT_EQ(items(), c.listed);
    EXPECT_EQ(text(2)->text(), c.nameAfter);
    EXPECT_TRUE(combo()->isEnabled());
    EXPECT_FALSE(check(1)->isChecked() || check(2)->isChecked());
    if (c.saved.isEmpty()) {
        EXPECT_EQ(cells(), before);
    }
    act({u"mnuEsci"_qs});
    EXPECT_EQ(savedCells(), c.saved.isEmpty() ? before : c.saved);
}

INSTANTIATE_TEST_SUITE_P(Registry, Commands, testing::Values(
    Scenario{"AnEmptyRegistryShowsItsMessageOnEveryActivation", {}, {}, {"back", "back"}, {kEmpty, kEmpty}},
    Scenario{"TheListEndsAtTheFirstEmptyName", {"1|ROSSI", "2|BIANCHI", "3|", "4|VERDI"}, {}, {"back"}, {},
             "ROSSI;BIANCHI"},
    Scenario{"AddOnAnEmptyRegistryGivesId1InRow2", {}, {}, {"type 2 nuovo srl", "type 9 06 12", "MnAgg yes",
             "focus 2"}, {kAdd, kAdded}, "NUOVO SRL", {}, "A2=1;B2=NUOVO SRL;I2=06 12;IV1=1"},
    Scenario{"AddAfterCounter41Gives42InTheFirstEmptyRow", {"1|A", "2|B", "3|C", "4|D", "5|E"}, "41", {"type 2 f",
             "MnAgg yes"}, {kAdd, kAdded}, "A;B;C;D;E;F", {},
             "A2=1;B2=A;A3=2;B3=B;A4=3;B4=C;A5=4;B5=D;A6=5;B6=E;A7=42;B7=F;IV1=42"},
    Scenario{"AddTakesTheFirstRowWithNothingInAToR", {"1|A", "|OLD|C|01/02/2025", "3|C", "|||||||||||||||||IT60"}, "3",
             {"type 2 new", "MnAgg yes"}, {kAdd, kAdded}, "A;OLD;C", {},
             "A2=1;B2=A;B3=OLD;C3=C;D3=01/02/2025;A4=3;B4=C;R5=IT60;A6=4;B6=NEW;IV1=4"},
    Scenario{"AddWithoutANameIsRefusedAndTheListReloaded", {"1|A"}, "1", {"type 3 c9", "MnAgg"},
             {"!| Gestione Velmoro|Bisogna compilare il  campo  Ragione Sociale/Cognome"}, "A"},
    Scenario{"NoToAddingWritesNothingAndEmptiesTheList", {"1|A"}, "1", {"type 2 b", "MnAgg no"}, {kAdd}, {}, "B"},
    Scenario{"AddRefusesATextThatIsNoDate", {"1|A"}, "1", {"type 2 b", "type 4 31/02/2026", "MnAgg yes"}, {kAdd,
             kBadDate.arg("31/02/2026")}, "A", "B"},
    Scenario{"AddRefusesADateBefore1900", {"1|A"}, "1", {"type 2 b", "type 4 01/01/1899", "MnAgg yes"}, {kAdd,
             kBadDate.arg("01/01/1899")}, "A", "B"},
    Scenario{"AddTakesTheFirstDayOf1900", {"1|A"}, "1", {"type 2 b", "type 4 01/01/1900", "MnAgg yes"}, {kAdd, kAdded},
             "A;B", {}, "A2=1;B2=A;A3=2;B3=B;D3=01/01/1900 [data];IV1=2"},
    Scenario{"AddRefusesACounterOfSixteenDigits", {"1|A"}, "1000000000000000", {"type 2 b", "MnAgg yes"},
             {kAdd, kBadCounter}, "A", "B"},
    Scenario{"AddRefusesACounterThatIsText", {"1|A"}, "uno", {"type 2 b", "MnAgg yes"}, {kAdd, kBadCounter}, "A",
             "B"},
    Scenario{"AddRefusesACounterWithAFraction", {"1|A"}, "1,5", {"type 2 b", "MnAgg yes"}, {kAdd, kBadCounter}, "A",
             "B"},
    Scenario{"AddRefusesWhenNoRowUpTo32767IsFree", {"1|A"}, "1", {"type 2 b", "MnAgg yes"}, {kAdd,
             kNotAdded.arg("L'archivio è pieno: tutte le righe fino alla 32767 sono occupate.")}, "A", "B", {},
             QLocale(QLocale::Italian, QLocale::Italy), 32767},
    Scenario{"AddTakesRow32767WhenItIsTheFirstFree", {"1|A"}, "1", {"type 2 b", "MnAgg yes"}, {kAdd, kAdded}, "A", {},
             "A2=1;B2=A;A3=3;A4=4;A5=5;A6=6;A7=7;IV1=2", QLocale(QLocale::Italian, QLocale::Italy), 32766},
    Scenario{"DatesRoundTripInItalian", {"1|A"}, "1", {"type 2 b", "type 4 05/12/2026", "MnAgg yes", "pick 2",
             "mnuM yes"}, {kAdd, kAdded, kModify, kModified}, "A;B", {},
             "A2=1;B2=A;A3=2;B3=B;D3=05/12/2026 [data];IV1=2"},
    Scenario{"DatesRoundTripInEnglish", {"1|A"}, "1", {"type 2 b", "type 4 12/5/2026", "MnAgg yes", "pick 2",
             "mnuM yes"}, {kAdd, kAdded, kModify, kModified}, "A;B", {},
             "A2=1;B2=A;A3=2;B3=B;D3=05/12/2026 [data];IV1=2", QLocale(QLocale::English, QLocale::UnitedStates)},
    Scenario{"ModifyRenamesTheRowOfTheIdAndEmptiesItsDate", kThree, "9", {"pick 2", "type 2  anna", "set 4",
             "mnuM yes"}, {kModify, kModified}, "ROSSI;BIANCHI ANNA;VERDI", {},
             "A2=1;B2=ROSSI;C2=C1;A3=2;B3=BIANCHI ANNA;C3=C2;A4=3;B4=VERDI;IV1=9"},
    Scenario{"ModifyWritesBackCapitalsAndTheIbanCutTo27",
             {"1|rossi||||||||||||||||IT60 X054 2811 1010 0000 0123 456"}, "9", {"pick 1", "mnuM yes"}, {kModify,
             kModified}, "ROSSI", {}, "A2=1;B2=ROSSI;R2=IT60 X054 2811 1010 0000 01;IV1=9"},
    Scenario{"ModifyActsOnTheUpperOfTwoRowsWithOneId", {"7|PRIMO", "7|SECONDO"}, "9", {"pick 2", "mnuM yes"},
             {kModify, kModified}, "SECONDO;SECONDO", {}, "A2=7;B2=SECONDO;A3=7;B3=SECONDO;IV1=9"},
    Scenario{"NoToModifyingChangesNothing", kThree, "9", {"pick 3", "mnuM no"}, {kModify}, "ROSSI;BIANCHI;VERDI",
             "VERDI", kThreeSaved},
    Scenario{"ModifyWithoutANameIsRefused", kThree, "9", {"pick 3", "set 2", "mnuM"},
             {"!| Gestione Velmoro|Bisogna Selezionare un Soggetto "}, "ROSSI;BIANCHI;VERDI", {}, kThreeSaved},
    Scenario{"ModifyWithoutAnIdIsRefusedWithOneSubject", {"1|A"}, "9", {"type 2 b", "mnuM"},
             {"!| Gestione Velmoro" + kNoId}, "A", "B"},
    Scenario{"ModifyWithAnIdNoRowHasSaysSoAndKeepsTheFields", kThree, "9", {"pick 3", "set 1 99", "mnuM yes"}, {kModify,
             "!|Gestione Velmoro|Nessun Soggetto ha l'ID Progressivo 99: nessuna modifica è stata scritta."},
             "ROSSI;BIANCHI;VERDI", "VERDI", kThreeSaved},
    Scenario{"ModifyRefusesATextThatIsNoDate", kThree, "9", {"pick 3", "type 4 31/02/2026", "mnuM yes"}, {kModify,
             kNotModified.arg("31/02/2026")}, "ROSSI;BIANCHI;VERDI", "VERDI", kThreeSaved},
    Scenario{"TheIdTakesNoTypingSoModifyActsOnThePickedSubject", kThree, "9", {"pick 1", "type 1 \b2", "mnuM yes"},
             {kModify, kModified}, "ROSSI;BIANCHI;VERDI", {}, kThreeSaved},
    Scenario{"DeleteMovesTheRowsBelowUpAndNamesTheSubject", kThree, "9", {"pick 1", "tick 1", "MnuE yes"}, {kDelete,
             "i| Gestione Velmoro|Soggetto    ROSSI      Eliminato"}, {}, {},
             "A2=2;B2=BIANCHI;C2=C2;D2=01/02/2025;A3=3;B3=VERDI;IV1=9"},
    Scenario{"DeleteActsOnTheUpperOfTwoRowsWithOneId", {"7|PRIMO", "7|SECONDO"}, "9", {"pick 2", "MnuE yes"},
             {kDelete, "i| Gestione Velmoro|Soggetto    PRIMO      Eliminato"}, {}, {}, "A2=7;B2=SECONDO;IV1=9"},
    Scenario{"NoToDeletingChangesNothing", kThree, "9", {"pick 3", "MnuE no"}, {kDelete}, "ROSSI;BIANCHI;VERDI",
             "VERDI", kThreeSaved},
    Scenario{"DeleteWithoutANameIsRefused", kThree, "9", {"pick 3", "set 2", "MnuE"},
             {"i|Gestione Velmoro|Seleziona un Soggetto !!"}, "ROSSI;BIANCHI;VERDI", {}, kThreeSaved},
    Scenario{"DeleteWithoutAnIdIsRefusedWithOneSubject", {"1|A"}, "9", {"type 2 b", "MnuE"},
             {"!|Gestione Velmoro" + kNoId}, "A", "B"},
    Scenario{"DeleteWithAnIdNoRowHasSaysSoAndKeepsTheFields", kThree, "9", {"pick 3", "set 1 99", "MnuE yes"}, {kDelete,
             "!| Gestione Velmoro|Nessun Soggetto ha l'ID Progressivo 99: nessun Soggetto è stato eliminato."},
             "ROSSI;BIANCHI;VERDI", "VERDI", kThreeSaved},
    Scenario{"TheIdTakesNoTypingSoDeleteActsOnThePickedSubject", kThree, "9", {"pick 1", "type 1 \b2", "MnuE yes"},
             {kDelete, "i| Gestione Velmoro|Soggetto    ROSSI      Eliminato"}, {}, {},
             "A2=2;B2=BIANCHI;C2=C2;D2=01/02/2025;A3=3;B3=VERDI;IV1=9"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
