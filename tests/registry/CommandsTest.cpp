// The list on activation, adding, modifying and deleting as the user does it: the boxes in
// order, the list and the name field afterwards, and every cell of the archive "Esci" saves,
// read with the engine.
#include "RegistryWindow.h"

namespace {

struct Scenario {
    const char *name;
    QStringList rows; // from row 2
    QString counter;
    QStringList steps;
    QStringList boxes;
    QString listed, nameAfter, saved;
    QLocale locale = QLocale(QLocale::Italian, QLocale::Italy);
    int filledUpTo = 0; // column A filled from row 3 to this row
};

const QString kEmpty = u"i|Gestione Velmoro|Non ci sono Soggetti  Registrati in Velmoro , occorre  utilizzare: "
                       "AGGIUNGI Soggetto "_qs;
const QString kAdd = u"?|Gestione Velmoro| Vuoi Inserire questo Velmoro ?"_qs;
const QString kAdded = u"-| Gestione Velmoro|Soggetto Aggiunto"_qs;
const QString kModify = u"?|Gestione Velmoro|Si vuole modificare il Soggetto Selezionato ?"_qs;
const QString kModified = u"i|Gestione Velmoro|Soggetto Modificato"_qs;
const QString kDelete = u"?|Gestione Velmoro|Si vuole Eliminare il Soggetto Selezionato ?"_qs;
const QString kNotAdded = u"!| Gestione Velmoro|%1\nIl Soggetto non è stato aggiunto."_qs;
const QString kBadDate = kNotAdded.arg(u"La data \"%1\" non è valida: scriverla come gg/mm/aaaa, ad esempio 31/12/2026."_qs);
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
    if (c.saved.isEmpty())
        EXPECT_EQ(cells(), before);
    act({u"mnuEsci"_qs});
    EXPECT_EQ(savedCells(), c.saved.isEmpty() ? before : c.saved);
}

INSTANTIATE_TEST_SUITE_P(Registry, Commands, testing::Values(
    Scenario{"AnEmptyRegistryShowsItsMessageOnEveryActivation", {}, {}, {u"back"_qs, u"back"_qs},
             {kEmpty, kEmpty}, {}, {}, {}},
    Scenario{"OneSubjectListsOneNameOnEveryActivation", {u"1|ROSSI"_qs}, {}, {u"back"_qs}, {}, u"ROSSI"_qs, {}, {}},
    Scenario{"ANameTwiceIsListedTwice", {u"1|ROSSI"_qs, u"2|BIANCHI"_qs, u"3|ROSSI"_qs}, {}, {u"back"_qs}, {},
             u"ROSSI;BIANCHI;ROSSI"_qs, {}, {}},
    Scenario{"TheListEndsAtTheFirstEmptyName", {u"1|ROSSI"_qs, u"2|BIANCHI"_qs, u"3|"_qs, u"4|VERDI"_qs}, {},
             {u"back"_qs}, {}, u"ROSSI;BIANCHI"_qs, {}, {}},
    Scenario{"AddOnAnEmptyRegistryGivesId1InRow2", {}, {}, {u"type 2 nuovo srl"_qs, u"type 9 06 12"_qs, u"MnAgg yes"_qs, u"focus 2"_qs},
             {kAdd, kAdded}, u"NUOVO SRL"_qs, {}, u"A2=1;B2=NUOVO SRL;I2=06 12;IV1=1"_qs},
    Scenario{"AddAfterCounter41Gives42InTheFirstEmptyRow", {u"1|A"_qs, u"2|B"_qs, u"3|C"_qs, u"4|D"_qs, u"5|E"_qs},
             u"41"_qs, {u"type 2 f"_qs, u"MnAgg yes"_qs}, {kAdd, kAdded}, u"A;B;C;D;E;F"_qs, {},
             u"A2=1;B2=A;A3=2;B3=B;A4=3;B4=C;A5=4;B5=D;A6=5;B6=E;A7=42;B7=F;IV1=42"_qs},
    Scenario{"AddReusesARowWhoseIdWasEmptiedKeepingItsDate", {u"1|A"_qs, u"|OLD|C|01/02/2025"_qs, u"3|C"_qs},
             u"3"_qs, {u"type 2 new"_qs, u"MnAgg yes"_qs}, {kAdd, kAdded}, u"A;NEW;C"_qs, {},
             u"A2=1;B2=A;A3=4;B3=NEW;D3=01/02/2025;A4=3;B4=C;IV1=4"_qs},
    Scenario{"AddWithoutANameIsRefusedAndTheListReloaded", {u"1|A"_qs}, u"1"_qs, {u"type 3 c9"_qs, u"MnAgg"_qs},
             {u"!| Gestione Velmoro|Bisogna compilare il  campo  Ragione Sociale/Cognome"_qs}, u"A"_qs, {}, {}},
    Scenario{"NoToAddingWritesNothingAndEmptiesTheList", {u"1|A"_qs}, u"1"_qs, {u"type 2 b"_qs, u"MnAgg no"_qs},
             {kAdd}, {}, u"B"_qs, {}},
    Scenario{"AddRefusesATextThatIsNoDate", {u"1|A"_qs}, u"1"_qs, {u"type 2 b"_qs, u"type 4 31/02/2026"_qs, u"MnAgg yes"_qs},
             {kAdd, kBadDate.arg(u"31/02/2026"_qs)}, u"A"_qs, u"B"_qs, {}},
    Scenario{"AddRefusesADateBefore1900", {u"1|A"_qs}, u"1"_qs, {u"type 2 b"_qs, u"type 4 01/01/1899"_qs, u"MnAgg yes"_qs},
             {kAdd, kBadDate.arg(u"01/01/1899"_qs)}, u"A"_qs, u"B"_qs, {}},
    Scenario{"AddRefusesACounterThatIsText", {u"1|A"_qs}, u"uno"_qs, {u"type 2 b"_qs, u"MnAgg yes"_qs},
             {kAdd, kBadCounter}, u"A"_qs, u"B"_qs, {}},
    Scenario{"AddRefusesACounterWithAFraction", {u"1|A"_qs}, u"1,5"_qs, {u"type 2 b"_qs, u"MnAgg yes"_qs},
             {kAdd, kBadCounter}, u"A"_qs, u"B"_qs, {}},
    Scenario{"AddRefusesWhenNoRowUpTo32767IsFree", {u"1|A"_qs}, u"1"_qs, {u"type 2 b"_qs, u"MnAgg yes"_qs},
             {kAdd, kNotAdded.arg(u"L'archivio è pieno: tutte le righe fino alla 32767 sono occupate."_qs)},
             u"A"_qs, u"B"_qs, {}, QLocale(QLocale::Italian, QLocale::Italy), 32767},
    Scenario{"AddTakesRow32767WhenItIsTheFirstFree", {u"1|A"_qs}, u"1"_qs, {u"type 2 b"_qs, u"MnAgg yes"_qs},
             {kAdd, kAdded}, u"A"_qs, {}, u"A2=1;B2=A;A3=3;A4=4;A5=5;A6=6;A7=7;IV1=2"_qs,
             QLocale(QLocale::Italian, QLocale::Italy), 32766},
    Scenario{"DatesRoundTripInItalian", {u"1|A"_qs}, u"1"_qs,
             {u"type 2 b"_qs, u"type 4 05/12/2026"_qs, u"MnAgg yes"_qs, u"pick 2"_qs, u"mnuM yes"_qs},
             {kAdd, kAdded, kModify, kModified}, u"A;B"_qs, {}, u"A2=1;B2=A;A3=2;B3=B;D3=05/12/2026 [data];IV1=2"_qs},
    Scenario{"DatesRoundTripInEnglish", {u"1|A"_qs}, u"1"_qs,
             {u"type 2 b"_qs, u"type 4 12/5/2026"_qs, u"MnAgg yes"_qs, u"pick 2"_qs, u"mnuM yes"_qs},
             {kAdd, kAdded, kModify, kModified}, u"A;B"_qs, {}, u"A2=1;B2=A;A3=2;B3=B;D3=05/12/2026 [data];IV1=2"_qs,
             QLocale(QLocale::English, QLocale::UnitedStates)},
    Scenario{"ModifyRenamesTheRowOfTheIdAndEmptiesItsDate", kThree, u"9"_qs,
             {u"pick 2"_qs, u"type 2  anna"_qs, u"set 4"_qs, u"mnuM yes"_qs}, {kModify, kModified},
             u"ROSSI;BIANCHI ANNA;VERDI"_qs, {}, u"A2=1;B2=ROSSI;C2=C1;A3=2;B3=BIANCHI ANNA;C3=C2;A4=3;B4=VERDI;IV1=9"_qs},
    Scenario{"ModifyWritesBackCapitalsAndTheIbanCutTo27", {u"1|rossi||||||||||||||||IT60 X054 2811 1010 0000 0123 456"_qs},
             u"9"_qs, {u"pick 1"_qs, u"mnuM yes"_qs}, {kModify, kModified}, u"ROSSI"_qs, {},
             u"A2=1;B2=ROSSI;R2=IT60 X054 2811 1010 0000 01;IV1=9"_qs},
    Scenario{"ModifyActsOnTheUpperOfTwoRowsWithOneId", {u"7|PRIMO"_qs, u"7|SECONDO"_qs}, u"9"_qs,
             {u"pick 2"_qs, u"mnuM yes"_qs}, {kModify, kModified}, u"SECONDO;SECONDO"_qs, {},
             u"A2=7;B2=SECONDO;A3=7;B3=SECONDO;IV1=9"_qs},
    Scenario{"NoToModifyingChangesNothing", kThree, u"9"_qs, {u"pick 3"_qs, u"mnuM no"_qs}, {kModify},
             u"ROSSI;BIANCHI;VERDI"_qs, u"VERDI"_qs, kThreeSaved},
    Scenario{"ModifyWithoutANameIsRefused", kThree, u"9"_qs, {u"pick 3"_qs, u"set 2"_qs, u"mnuM"_qs},
             {u"!| Gestione Velmoro|Bisogna Selezionare un Soggetto "_qs}, u"ROSSI;BIANCHI;VERDI"_qs, {}, kThreeSaved},
    Scenario{"ModifyWithoutAnIdIsRefusedWithOneSubject", {u"1|A"_qs}, u"9"_qs, {u"type 2 b"_qs, u"mnuM"_qs},
             {u"!| Gestione Velmoro"_qs + kNoId}, u"A"_qs, u"B"_qs, {}},
    Scenario{"ModifyWithAnIdNoRowHasSaysSo", kThree, u"9"_qs, {u"pick 3"_qs, u"set 1 99"_qs, u"mnuM yes"_qs},
             {kModify, u"!|Gestione Velmoro|Nessun Soggetto ha l'ID Progressivo 99: nessuna modifica è stata scritta."_qs},
             u"ROSSI;BIANCHI;VERDI"_qs, {}, kThreeSaved},
    Scenario{"DeleteMovesTheRowsBelowUpAndNamesTheSubject", kThree, u"9"_qs, {u"pick 1"_qs, u"tick 1"_qs, u"MnuE yes"_qs},
             {kDelete, u"i| Gestione Velmoro|Soggetto    ROSSI      Eliminato"_qs}, {}, {},
             u"A2=2;B2=BIANCHI;C2=C2;D2=01/02/2025;A3=3;B3=VERDI;IV1=9"_qs},
    Scenario{"DeleteActsOnTheUpperOfTwoRowsWithOneId", {u"7|PRIMO"_qs, u"7|SECONDO"_qs}, u"9"_qs,
             {u"pick 2"_qs, u"MnuE yes"_qs}, {kDelete, u"i| Gestione Velmoro|Soggetto    PRIMO      Eliminato"_qs},
             {}, {}, u"A2=7;B2=SECONDO;IV1=9"_qs},
    Scenario{"NoToDeletingChangesNothing", kThree, u"9"_qs, {u"pick 3"_qs, u"MnuE no"_qs}, {kDelete},
             u"ROSSI;BIANCHI;VERDI"_qs, u"VERDI"_qs, kThreeSaved},
    Scenario{"DeleteWithoutANameIsRefused", kThree, u"9"_qs, {u"pick 3"_qs, u"set 2"_qs, u"MnuE"_qs},
             {u"i|Gestione Velmoro|Seleziona un Soggetto !!"_qs}, u"ROSSI;BIANCHI;VERDI"_qs, {}, kThreeSaved},
    Scenario{"DeleteWithoutAnIdIsRefusedWithOneSubject", {u"1|A"_qs}, u"9"_qs, {u"type 2 b"_qs, u"MnuE"_qs},
             {u"!|Gestione Velmoro"_qs + kNoId}, u"A"_qs, u"B"_qs, {}},
    Scenario{"DeleteWithAnIdNoRowHasSaysSo", kThree, u"9"_qs, {u"pick 3"_qs, u"set 1 99"_qs, u"MnuE yes"_qs},
             {kDelete, u"!| Gestione Velmoro|Nessun Soggetto ha l'ID Progressivo 99: nessun Soggetto è stato eliminato."_qs},
             {}, {}, kThreeSaved}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
