// Picking a subject, "Pulisci i campi", activation from outside the program, "Esci", the
// clock and the refusal to close.
#include "RegistryWindow.h"

#include <QRegularExpression>

namespace {

class List : public RegistryWindow {};

TEST_F(List, PickingShowsTheUpperRowOfItsNameFieldByField)
{
    const QString rossi = u"1|ROSSI MARIO|C01|05/12/2026|VIA ROMA 1|00184|ROMA|RM|06123|06124|333|"
                          "rossi@example.org|RSSMRA80A01H501U|01234567890|ANNA|BANCA|ROSSI MARIO|IT60X054"_qs;
    put(2, rossi);
    sheet().cells(2, 4).setValue(QDate(2026, 12, 5));
    put(3, u"2|BIANCHI"_qs);
    put(4, u"3|ROSSI MARIO|C03"_qs);
    open();
    EXPECT_TRUE(text(2)->hasFocus());
    EXPECT_EQ(combo()->currentText(), QString());
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

TEST_F(List, PulisciICampiEmptiesFieldsListTextAndClockUnticksAndReloads)
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

TEST_F(List, ComingBackFromAWindowOutsideTheProgramDoesNotReload)
{
    put(2, u"1|ROSSI"_qs);
    open();
    combo()->setEditText(u"ROS"_qs);
    QWidget box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    EXPECT_EQ(combo()->currentText(), u"ROS"_qs);
    comeBack();
    EXPECT_EQ(combo()->currentText(), QString());
}

TEST_F(List, RefusesToCloseAndEsciHidesItShowsTheMainWindowAndSaves)
{
    open();
    EXPECT_FALSE(window()->close() || run->forms->unload(window()));
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

} // namespace
