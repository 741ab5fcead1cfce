// "Modifica Fornitore" and "Elimina Fornitore": the row found by the identifier, the
// confirmation, the refusals, and what the archive holds afterwards.
#include "RegistryWindow.h"

namespace {

using Answer = FakeDialogs::Answer;
using Buttons = platform::Dialogs::Buttons;
using Icon = platform::Dialogs::Icon;

class Subjects : public RegistryWindow {
protected:
    void openWith(const QList<QStringList> &rows)
    {
        for (int i = 0; i < rows.size(); ++i)
            put(i + 2, rows[i]);
        sheet().range(u"IV1"_qs).setValue(u"9"_qs);
        open();
        before = cells();
    }
    void expectBox(std::size_t index, const QString &text, const QString &title, Icon icon,
                   Buttons buttons = Buttons::Ok)
    {
        ASSERT_LT(index, run->dialogs.boxes.size());
        const FakeDialogs::Box &box = run->dialogs.boxes[index];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.title, title);
        EXPECT_EQ(box.icon, icon);
        EXPECT_EQ(box.buttons, buttons);
    }
    QStringList before;
};

const QList<QStringList> kThree = {{u"1"_qs, u"ROSSI"_qs, u"C1"_qs},
                                   {u"2"_qs, u"BIANCHI"_qs, u"C2"_qs, u"01/02/2025"_qs},
                                   {u"3"_qs, u"VERDI"_qs}};

TEST_F(Subjects, ModifyRewritesTheRowOfTheIdentifierRenamingItAndEmptyingItsDate)
{
    openWith(kThree);
    sheet().cells(3, 4).setValue(QDate(2025, 2, 1));
    pick(2);
    QTest::keyClicks(text(2), u" anna"_qs);
    text(4)->clear();

    command("mnuM", {Answer::Yes});

    expectBox(0, u"Si vuole modificare il Soggetto Selezionato ?"_qs, u"Gestione Velmoro"_qs, Icon::None,
              Buttons::YesNo);
    expectBox(1, u"Soggetto Modificato"_qs, u"Gestione Velmoro"_qs, Icon::Information);
    EXPECT_EQ(items(), (QStringList{u"ROSSI"_qs, u"BIANCHI ANNA"_qs, u"VERDI"_qs}));
    EXPECT_EQ(text(2)->text(), QString());
    command("mnuEsci");
    EXPECT_EQ(savedCells(), (QStringList{u"A2=1"_qs, u"B2=ROSSI"_qs, u"C2=C1"_qs, u"A3=2"_qs,
                                         u"B3=BIANCHI ANNA"_qs, u"C3=C2"_qs, u"A4=3"_qs, u"B4=VERDI"_qs,
                                         u"IV1=9"_qs}));
}

TEST_F(Subjects, DeleteMovesTheRowsBelowUpAndNamesTheSubject)
{
    openWith(kThree);
    pick(1);
    control<QCheckBox>("Check1")->click();

    command("MnuE", {Answer::Yes});

    expectBox(0, u"Si vuole Eliminare il Soggetto Selezionato ?"_qs, u"Gestione Velmoro"_qs, Icon::None,
              Buttons::YesNo);
    expectBox(1, u"Soggetto    ROSSI      Eliminato"_qs, u" Gestione Velmoro"_qs, Icon::Information);
    EXPECT_EQ(items(), QStringList());
    EXPECT_EQ(text(1)->text(), QString());
    EXPECT_FALSE(control<QCheckBox>("Check1")->isChecked());
    command("mnuEsci");
    EXPECT_EQ(savedCells(), (QStringList{u"A2=2"_qs, u"B2=BIANCHI"_qs, u"C2=C2"_qs, u"D2=01/02/2025"_qs,
                                         u"A3=3"_qs, u"B3=VERDI"_qs, u"IV1=9"_qs}));
}

// The two commands share their shape; each has its own texts.
struct Command {
    const char *action;
    QString noName, noNameTitle;
    Icon noNameIcon;
    QString unknown, unknownTitle;
    bool reloadsAfter;
    QString onUpperRow;     // its message when two rows hold identifier 7
    QStringList upperRowAfter;
};

class EachCommand : public Subjects, public testing::WithParamInterface<Command> {};

TEST_P(EachCommand, ActsOnTheUpperOfTwoRowsWithOneIdentifier)
{
    openWith({{u"7"_qs, u"PRIMO"_qs}, {u"7"_qs, u"SECONDO"_qs}});
    pick(2);
    command(GetParam().action, {Answer::Yes});
    expectBox(1, GetParam().onUpperRow, run->dialogs.boxes.back().title, Icon::Information);
    EXPECT_EQ(cells(), GetParam().upperRowAfter);
}

TEST_P(EachCommand, NoAtTheConfirmationChangesNothing)
{
    openWith(kThree);
    pick(3);
    const QStringList listed = items();
    command(GetParam().action, {Answer::No});
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(text(2)->text(), u"VERDI"_qs);
    EXPECT_EQ(items(), listed);
}

TEST_P(EachCommand, WithoutANameSaysSoAndReloadsTheList)
{
    const Command &c = GetParam();
    openWith(kThree);
    pick(3);
    text(2)->clear();
    command(c.action);
    expectBox(0, c.noName, c.noNameTitle, c.noNameIcon);
    EXPECT_EQ(items(), (QStringList{u"ROSSI"_qs, u"BIANCHI"_qs, u"VERDI"_qs}));
    EXPECT_EQ(cells(), before);
}

TEST_P(EachCommand, WithoutAnIdentifierIsRefusedEvenWithOneSubject)
{
    const Command &c = GetParam();
    openWith({{u"1"_qs, u"ROSSI"_qs}});
    QTest::keyClicks(text(2), u"nuovo"_qs);
    command(c.action);
    expectBox(0, u"Il campo ID Progressivo è vuoto: scegliere il Soggetto dall'elenco \"Seleziona Fornitore\"."_qs,
              c.noNameTitle, Icon::Exclamation);
    EXPECT_EQ(items(), QStringList{u"ROSSI"_qs});
    EXPECT_EQ(text(2)->text(), u"NUOVO"_qs);
    EXPECT_EQ(cells(), before);
}

TEST_P(EachCommand, WithAnIdentifierNoRowHasSaysSoInsteadOfReportingSuccess)
{
    const Command &c = GetParam();
    openWith(kThree);
    pick(3);
    text(1)->setText(u"99"_qs);
    command(c.action, {Answer::Yes});
    expectBox(1, c.unknown, c.unknownTitle, Icon::Exclamation);
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(text(2)->text(), QString());
    EXPECT_EQ(items().size(), c.reloadsAfter ? 3 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, EachCommand,
    testing::Values(Command{"mnuM", u"Bisogna Selezionare un Soggetto "_qs, u" Gestione Velmoro"_qs,
                            Icon::Exclamation,
                            u"Nessun Soggetto ha l'ID Progressivo 99: nessuna modifica è stata scritta."_qs,
                            u"Gestione Velmoro"_qs, true, u"Soggetto Modificato"_qs,
                            {u"A2=7"_qs, u"B2=SECONDO"_qs, u"A3=7"_qs, u"B3=SECONDO"_qs, u"IV1=9"_qs}},
                    Command{"MnuE", u"Seleziona un Soggetto !!"_qs, u"Gestione Velmoro"_qs, Icon::Information,
                            u"Nessun Soggetto ha l'ID Progressivo 99: nessun Soggetto è stato eliminato."_qs,
                            u" Gestione Velmoro"_qs, false, u"Soggetto    PRIMO      Eliminato"_qs,
                            {u"A2=7"_qs, u"B2=SECONDO"_qs, u"IV1=9"_qs}}),
    [](const auto &info) { return std::string(info.param.action); });

} // namespace
