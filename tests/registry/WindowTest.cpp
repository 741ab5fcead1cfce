// The registry window at work: picking a subject, "Pulisci i campi", activation from outside the
// program, "Esci", the clock, the refusal to close; the field rules while typing; and how the
// window looks and reads: size, font, colours, menu, what a screen reader announces, in keyboard order.
#include "RegistryWindow.h"

#include <QMenuBar>
#include <QRegularExpression>

namespace {

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

TEST_F(Registry, ComingBackFromAWindowOutsideTheProgramDoesNotReload)
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

TEST_F(Registry, RefusesToCloseAndEsciHidesItShowsTheMainWindowAndSaves)
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

TEST_F(Registry, EachKeepsItsCaseAndLengthBoundWhenTyped)
{
    const QString typed = u"abc def 0123456789 ghi jkl mno"_qs; // 30 characters
    const QList<int> keepCase = {9, 10, 11, 12, 14};
    const QMap<int, int> bound = {{4, 10}, {6, 5}, {8, 2}, {13, 16}, {14, 11}, {18, 27}};
    for (int number = 1; number <= 18; ++number) {
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
    EXPECT_EQ(text(18)->text(), u"ßÈIT"_qs);
    EXPECT_EQ(text(18)->cursorPosition(), 2);
}

TEST_F(Registry, WindowSizeFontColoursTitleAndMenu)
{
    EXPECT_EQ(window()->windowTitle(), u"Velmoro "_qs);
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

} // namespace
