// The field rules while typing, and how the window looks and reads: size, font, colours,
// menu, what a screen reader announces, in keyboard order.
#include "RegistryWindow.h"

#include <QAccessible>
#include <QMenuBar>

namespace {

class Fields : public RegistryWindow {};

TEST_F(Fields, EachKeepsItsCaseAndLengthBoundWhenTyped)
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

TEST_F(Fields, CapitalsAppearWhereTypedWithTheCaretJustAfter)
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

TEST_F(Fields, WindowSizeFontColoursTitleAndMenu)
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

TEST_F(Fields, TabReachesEachControlAnnouncedByItsLabelOrCaption)
{
    QStringList order;
    QWidget *at = combo();
    do {
        if (at->focusPolicy() & Qt::TabFocus && !at->objectName().isEmpty())
            order << at->objectName() + u'=' + QAccessible::queryAccessibleInterface(at)->text(QAccessible::Name);
        at = at->nextInFocusChain();
    } while (at != combo());
    EXPECT_EQ(order.join(u';'),
              u"Combo1=Seleziona Fornitore;Text2=Ragione Sociale/Cognome-Nome;Text3=Codice;Text5=Indirizzo;"
              "Text6=C.A.P.;Text7=Località;Text8=(PR);Text9=Telefono;Text10=Fax;Text11=Cellullare;Text12=E-Mail;"
              "Text13=Codice Fiscale;Text14=Partita IVA;Text15=Referente/Legale Rappresentante;Text16=Banca;"
              "Text17=Intestatario Conto ;Text18=IBAN  (27 Caratteri);Check1=Verifica IBAN ;Text1=ID Progressivo;"
              "Text4=Data;Check2=Calendario;Text19=Ore"_qs);
}

} // namespace
