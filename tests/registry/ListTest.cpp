// The registry window's list, picking a subject, activation, "Pulisci i campi", "Esci",
// the clock and the refusal to close.
#include "RegistryWindow.h"

#include <QRegularExpression>

namespace {

using Buttons = platform::Dialogs::Buttons;
using Icon = platform::Dialogs::Icon;

class List : public RegistryWindow {};

TEST_F(List, AnEmptyRegistryShowsItsMessageOnEveryActivationAndListsNothing)
{
    open();
    comeBack();
    ASSERT_EQ(run->dialogs.boxes.size(), 2u);
    for (const FakeDialogs::Box &box : run->dialogs.boxes) {
        EXPECT_EQ(box.text, u"Non ci sono Soggetti  Registrati in Velmoro , occorre  utilizzare: AGGIUNGI Soggetto "_qs);
        EXPECT_EQ(box.title, u"Gestione Velmoro"_qs);
        EXPECT_EQ(box.buttons, Buttons::Ok);
        EXPECT_EQ(box.icon, Icon::Information);
    }
    EXPECT_EQ(combo()->count(), 0);
}

struct ListCase {
    const char *what;
    QStringList columnB; // from B2 down
    QStringList listed;
};

class Listing : public RegistryWindow, public testing::WithParamInterface<ListCase> {};

TEST_P(Listing, ListsColumnBDownToTheFirstEmptyCellOnceOnEveryActivation)
{
    const ListCase &c = GetParam();
    for (int i = 0; i < c.columnB.size(); ++i)
        put(i + 2, {u"%1"_qs.arg(i + 1), c.columnB[i]});
    open();
    EXPECT_EQ(items(), c.listed);
    EXPECT_EQ(combo()->currentText(), QString());
    EXPECT_TRUE(text(2)->hasFocus());
    comeBack();
    EXPECT_EQ(items(), c.listed);
    EXPECT_TRUE(run->dialogs.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Registry, Listing,
    testing::Values(ListCase{"one", {u"ROSSI"_qs}, {u"ROSSI"_qs}},
                    ListCase{"twice", {u"ROSSI"_qs, u"BIANCHI"_qs, u"ROSSI"_qs},
                             {u"ROSSI"_qs, u"BIANCHI"_qs, u"ROSSI"_qs}},
                    ListCase{"gap", {u"ROSSI"_qs, u"BIANCHI"_qs, QString(), u"VERDI"_qs},
                             {u"ROSSI"_qs, u"BIANCHI"_qs}}),
    [](const auto &info) { return std::string(info.param.what); });

const QStringList kRossi = {u"1"_qs, u"ROSSI MARIO"_qs, u"C01"_qs, u"05/12/2026"_qs, u"VIA ROMA 1"_qs,
                            u"00184"_qs, u"ROMA"_qs, u"RM"_qs, u"06123"_qs, u"06124"_qs, u"333"_qs,
                            u"rossi@example.org"_qs, u"RSSMRA80A01H501U"_qs, u"01234567890"_qs,
                            u"ANNA"_qs, u"BANCA"_qs, u"ROSSI MARIO"_qs, u"IT60X0542811101000000123456"_qs};

class Picking : public RegistryWindow {};

TEST_F(Picking, ShowsTheUpperRowOfANameFieldByFieldAndEmptiesWhatTheNextRowLacks)
{
    put(2, kRossi);
    sheet().cells(2, 4).setValue(QDate(2026, 12, 5));
    put(3, {u"2"_qs, u"BIANCHI"_qs});
    put(4, {u"3"_qs, u"ROSSI MARIO"_qs, u"C03"_qs});
    open();

    pick(3);
    EXPECT_EQ(fields(), kRossi);
    EXPECT_EQ(combo()->currentText(), u"ROSSI MARIO"_qs);

    pick(2);
    EXPECT_EQ(fields(), (QStringList{u"2"_qs, u"BIANCHI"_qs} << QStringList(16)));

    pick(1);
    put(3, {u"2"_qs, u"BIANCHI ANNA"_qs});
    pick(2);
    EXPECT_EQ(fields(), kRossi);
    EXPECT_TRUE(run->dialogs.boxes.empty());
}

TEST_F(Picking, PulisciICampiEmptiesEveryFieldUnticksBothBoxesAndReloadsTheList)
{
    put(2, kRossi);
    put(3, {u"2"_qs, u"BIANCHI"_qs});
    open();
    pick(1);
    control<QCheckBox>("Check1")->click();
    control<QCheckBox>("Check2")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text(19)->text().isEmpty(); }, 2500));
    const int windows = int(run->forms->loaded().size());

    command("mnuP");

    EXPECT_EQ(fields(), QStringList(18));
    EXPECT_EQ(text(19)->text(), QString());
    EXPECT_EQ(combo()->currentText(), QString());
    EXPECT_EQ(items(), (QStringList{u"ROSSI MARIO"_qs, u"BIANCHI"_qs}));
    EXPECT_FALSE(control<QCheckBox>("Check1")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("Check2")->isChecked());
    EXPECT_TRUE(combo()->hasFocus());
    EXPECT_EQ(run->forms->loaded().size(), windows);
    EXPECT_TRUE(run->dialogs.boxes.empty());
}

TEST_F(List, ComingBackFromAWindowOutsideTheProgramDoesNotReloadTheList)
{
    put(2, {u"1"_qs, u"ROSSI"_qs});
    open();
    combo()->setEditText(u"ROS"_qs);
    QWidget box;
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    EXPECT_EQ(combo()->currentText(), u"ROS"_qs);

    comeBack();
    EXPECT_EQ(combo()->currentText(), QString());
    EXPECT_EQ(items(), QStringList{u"ROSSI"_qs});
}

TEST_F(List, RefusesToCloseAndEsciHidesItShowsTheMainWindowAndSaves)
{
    run->form1()->findChild<QCheckBox *>(u"Check1"_qs)->click();
    EXPECT_FALSE(window()->close());
    EXPECT_FALSE(run->forms->unload(window()));
    EXPECT_TRUE(window()->isVisible());
    put(2, {u"1"_qs, u"ROSSI"_qs});
    text(2)->setText(u"BOZZA"_qs);

    command("mnuEsci");

    EXPECT_FALSE(window()->isVisible());
    EXPECT_EQ(text(2)->text(), QString());
    EXPECT_TRUE(run->form1()->isVisible());
    EXPECT_FALSE(run->form1()->findChild<QCheckBox *>(u"Check1"_qs)->isChecked());
    EXPECT_EQ(savedCells(), (QStringList{u"A2=1"_qs, u"B2=ROSSI"_qs, u"IV1="_qs}));
    EXPECT_FALSE(run->program.ended());
}

TEST_F(List, TheClockShowsOreAndTheTime)
{
    open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text(19)->text().isEmpty(); }, 2500));
    const QRegularExpression clock(u"^Ore\\.\\.\\.\\d{2}:\\d{2}:\\d{2}$"_qs);
    EXPECT_TRUE(clock.match(text(19)->text()).hasMatch()) << text(19)->text().toStdString();
}

} // namespace
