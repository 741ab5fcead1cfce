// Capitals while typing with the caret kept, the length bounds, and the texts set by picking.
#include "RegistryWindow.h"

namespace {

using Answer = FakeDialogs::Answer;

class FieldRules : public RegistryWindow {};

TEST_F(FieldRules, EachFieldKeepsItsCaseAndLengthBoundWhenTyped)
{
    open();
    const QString typed = u"abc def 0123456789 ghi jkl mno"_qs; // 30 characters
    const QList<int> keepCase = {9, 10, 11, 12, 14};
    const QMap<int, int> bound = {{4, 10}, {6, 5}, {8, 2}, {13, 16}, {14, 11}, {18, 27}};
    for (int number = 1; number <= 18; ++number) {
        QTest::keyClicks(text(number), typed);
        const QString kept = typed.left(bound.value(number, 30));
        EXPECT_EQ(text(number)->text(), keepCase.contains(number) ? kept : kept.toUpper()) << number;
    }
}

TEST_F(FieldRules, CapitalsAppearWhereTypedWithTheCaretJustAfter)
{
    open();
    QLineEdit *name = text(2), *iban = text(18);
    QTest::keyClicks(name, u"rossi"_qs);
    EXPECT_EQ(name->cursorPosition(), 5);
    name->setCursorPosition(2);
    QTest::keyClicks(name, u"x"_qs);
    EXPECT_EQ(name->text(), u"ROXSSI"_qs);
    EXPECT_EQ(name->cursorPosition(), 3);
    EXPECT_FALSE(name->hasSelectedText());

    QTest::keyClicks(iban, u"it60x"_qs);
    iban->setCursorPosition(0);
    typeKey(iban, u"ß"_qs);
    typeKey(iban, u"è"_qs);
    EXPECT_EQ(iban->text(), u"ßÈIT60X"_qs);
    EXPECT_EQ(iban->cursorPosition(), 2);
}

TEST_F(FieldRules, APickedSubjectShowsCapitalsAndCutTextsWhichModifyWritesBack)
{
    const QString iban = u"IT60 X054 2811 1010 0000 0123 456"_qs;
    put(2, {u"1"_qs, u"rossi mario"_qs, u"c1"_qs, QString(), QString(), u"001845"_qs, QString(), u"rma"_qs,
            QString(), QString(), QString(), u"Posta@Example.org"_qs});
    sheet().cells(2, 18).setValue(iban);
    open();
    pick(1);
    EXPECT_EQ(text(2)->text(), u"ROSSI MARIO"_qs);
    EXPECT_EQ(combo()->currentText(), u"rossi mario"_qs);
    EXPECT_EQ(text(6)->text(), u"00184"_qs);
    EXPECT_EQ(text(8)->text(), u"RM"_qs);
    EXPECT_EQ(text(12)->text(), u"Posta@Example.org"_qs);
    EXPECT_EQ(text(18)->text(), iban.left(27).toUpper());

    command("mnuM", {Answer::Yes});
    EXPECT_EQ(cells(), (QStringList{u"A2=1"_qs, u"B2=ROSSI MARIO"_qs, u"C2=C1"_qs, u"F2=00184"_qs, u"H2=RM"_qs,
                                    u"L2=Posta@Example.org"_qs, u"R2="_qs + iban.left(27), u"IV1="_qs}));
}

} // namespace
