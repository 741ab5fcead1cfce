#include "HostError.h"
#include "HostFixture.h"

#include <vector>

namespace {

using host::Direction;

class RangeTest : public HostFixture {
protected:
    void fillColumnB(int first, int last)
    {
        for (int r = first; r <= last; ++r)
            sheet.cells(r, 2).setValue(QStringLiteral("x%1").arg(r));
    }
};

TEST_F(RangeTest, EndJumpsAlongAColumnAsTheHostDoes)
{
    const struct {
        const char *name;
        std::vector<std::pair<int, int>> blocks; // filled rows of column B, first..last
        int from;
        Direction direction;
        int expected;
    } cases[] = {
        {"gapless list from its first cell", {{2, 6}}, 2, Direction::Down, 6},
        {"empty start cell with data below", {{5, 7}}, 2, Direction::Down, 5},
        {"single filled cell", {{2, 2}}, 2, Direction::Down, 65536},
        {"empty column", {}, 2, Direction::Down, 65536},
        {"from the last row", {}, 65536, Direction::Down, 65536},
        {"last cell of a block to the next block", {{2, 4}, {8, 9}}, 4, Direction::Down, 8},
        {"block reaching the last row", {{65535, 65536}}, 65535, Direction::Down, 65536},
        {"header and list", {{1, 3}}, 1, Direction::Down, 3},
        {"a full registry", {{2, 32768}}, 2, Direction::Down, 32768},
        {"below a full registry", {{2, 32768}}, 32768, Direction::Down, 65536},
        {"up from below a list", {{2, 5}}, 10, Direction::Up, 5},
        {"up inside a list", {{2, 5}}, 5, Direction::Up, 2},
        {"up from the first row", {{1, 1}}, 1, Direction::Up, 1},
        {"up in an empty column", {}, 100, Direction::Up, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        sheet.range(QStringLiteral("B:B")).clearContents();
        for (const auto &[first, last] : c.blocks)
            fillColumnB(first, last);
        const host::Range end = sheet.cells(c.from, 2).end(c.direction);
        EXPECT_EQ(end.row(), c.expected);
        EXPECT_EQ(end.column(), 2);
    }
}

TEST_F(RangeTest, EndTreatsFormattedBlanksAsEmptyAndWorksAlongRows)
{
    fillColumnB(2, 2);
    fillColumnB(4, 4);
    at("B3").setNumberFormat(QStringLiteral("0.00")); // a formatted blank, no value
    EXPECT_EQ(at("B2").end(Direction::Down).address(), QStringLiteral("$B$4"));

    for (const char *address : {"A1", "B1", "C1"})
        put(address, QStringLiteral("h"));
    EXPECT_EQ(at("A1").end(Direction::ToRight).address(), QStringLiteral("$C$1"));
    EXPECT_EQ(at("D1").end(Direction::ToRight).address(), QStringLiteral("$IV$1"));
    EXPECT_EQ(at("C1").end(Direction::ToLeft).address(), QStringLiteral("$A$1"));
}

TEST_F(RangeTest, OffsetCellsAndEntireRowOrColumnAddressTheGrid)
{
    const std::pair<host::Range, const char *> cases[] = {
        {at("B2").offset(1, 0), "$B$3"},       {at("B2:C3").offset(2, 1), "$C$4:$D$5"},
        {at("B2").cells(1, 1), "$B$2"},        {at("B2").cells(3, 2), "$C$4"},
        {sheet.cells(1, 256), "$IV$1"},        {at("C5").entireRow(), "$5:$5"},
        {at("C5").entireColumn(), "$C:$C"},    {sheet.range(at("A1"), at("R40")), "$A$1:$R$40"},
        {sheet.rows(QStringLiteral("2:2")), "$2:$2"}, {sheet.columns(QStringLiteral("I")), "$I:$I"},
    };
    for (const auto &[range, address] : cases)
        EXPECT_EQ(range.address(), QString::fromLatin1(address));

    EXPECT_EQ(raised([&] { at("A1").offset(-1, 0); }).number(), 1004);
    EXPECT_EQ(raised([&] { at("IV1").offset(0, 1); }).number(), 1004);
    EXPECT_EQ(raised([&] { sheet.range(QStringLiteral("A0")); }).number(), 1004);
    EXPECT_EQ(raised([&] { sheet.cells(65537, 1); }).number(), 1004);
    EXPECT_EQ(raised([&] { sheet.rows(QStringLiteral("A1")); }).number(), 1004);
}

TEST_F(RangeTest, ClearContentsRemovesValuesAndKeepsFormats)
{
    at("I:I").setNumberFormat(QStringLiteral("@"));
    put("A2", QStringLiteral("1"));
    put("B2", QStringLiteral("Rossi"));
    put("I2", QStringLiteral("0612"));
    put("A3", QStringLiteral("keep"));
    at("A2:S2").clearContents();
    EXPECT_TRUE(at("A2").isEmpty());
    EXPECT_TRUE(at("B2").isEmpty());
    EXPECT_TRUE(at("I2").isEmpty());
    EXPECT_EQ(at("I2").numberFormat(), QStringLiteral("@"));
    EXPECT_EQ(text("A3"), QStringLiteral("keep"));
    put("I2", QStringLiteral("0612"));
    EXPECT_EQ(at("I2").valueType(), host::ValueType::Text);
}

TEST_F(RangeTest, DeletingAnEntireRowMovesTheRowsBelowUp)
{
    const char *names[] = {"Anna", "Bruno", "Carla", "Dario"};
    for (int i = 0; i < 4; ++i)
        sheet.cells(i + 2, 2).setValue(QString::fromLatin1(names[i]));
    at("B3").entireRow().deleteRows();
    EXPECT_EQ(text("B2"), QStringLiteral("Anna"));
    EXPECT_EQ(text("B3"), QStringLiteral("Carla"));
    EXPECT_EQ(text("B4"), QStringLiteral("Dario"));
    EXPECT_TRUE(at("B5").isEmpty());
    EXPECT_EQ(at("B2").end(Direction::Down).row(), 4);

    sheet.rows(QStringLiteral("2:3")).deleteRows();
    EXPECT_EQ(text("B2"), QStringLiteral("Dario"));
    EXPECT_TRUE(at("B3").isEmpty());
    at("B200").entireRow().deleteRows(); // past the stored rows: nothing moves
    EXPECT_EQ(text("B2"), QStringLiteral("Dario"));

    EXPECT_THROW(at("B2").deleteRows(), host::HostError);
}

TEST_F(RangeTest, DeletingARowShrinksOrMovesThePrintAreaAsTheHostDoes)
{
    const std::tuple<const char *, const char *, const char *> cases[] = {
        // print area, deleted row, print area after
        {"$A$1:$R$40", "5:5", "$A$1:$R$39"},
        {"$A$5:$R$9", "2:2", "$A$4:$R$8"},
        {"$A$5:$R$9", "50:50", "$A$5:$R$9"},
        {"$A$3:$R$3", "3:3", ""},
        {"$A:$R", "3:3", "$A:$R"},
        {"$A$1:$R$40", "2:4", "$A$1:$R$37"},
    };
    for (const auto &[area, deleted, after] : cases) {
        sheet.pageSetup().setPrintArea(QString::fromLatin1(area));
        sheet.rows(QString::fromLatin1(deleted)).deleteRows();
        EXPECT_EQ(sheet.pageSetup().printArea(), QString::fromLatin1(after)) << area << " - " << deleted;
    }
}

TEST_F(RangeTest, TextFormatOnAColumnKeepsEveryLaterWrittenTextAsTextAndExistingNumbers)
{
    put("I2", QStringLiteral("5"));     // a number written before the format
    put("J2", QStringLiteral("0612"));
    at("I:I").setNumberFormat(QStringLiteral("@"));
    EXPECT_EQ(at("I2").valueType(), host::ValueType::Number); // the host keeps it a number
    EXPECT_EQ(at("I2").numberFormat(), QStringLiteral("@"));
    put("I2", QStringLiteral("5"));
    EXPECT_EQ(at("I2").valueType(), host::ValueType::Text);   // written again: text
    for (const char *written : {"0123", "42", "00184", "42,5", "=1+1", "0"}) {
        put("I40000", QString::fromLatin1(written));
        EXPECT_EQ(at("I40000").valueType(), host::ValueType::Text) << written;
        EXPECT_EQ(text("I40000"), QString::fromLatin1(written));
    }
    put("H2", QStringLiteral("123"));
    EXPECT_EQ(at("H2").valueType(), host::ValueType::Number); // neighbours keep the default
    EXPECT_EQ(at("H9").numberFormat(), QStringLiteral("General"));
}

TEST_F(RangeTest, ColumnFormatsSplitAndMergeTheColumnInfo)
{
    using Spans = std::vector<std::pair<int, int>>;
    const auto spans = [&] {
        Spans result;
        for (const xls::ColumnInfo &info : data().columns)
            result.emplace_back(info.first, info.last);
        return result;
    };
    xls::ColumnInfo wide; // H..K
    wide.first = 7;
    wide.last = 10;
    wide.width = 3000;
    data().columns = {wide};
    at("I:I").setNumberFormat(QStringLiteral("@"));
    ASSERT_EQ(spans(), (Spans{{7, 7}, {8, 8}, {9, 10}}));
    for (const xls::ColumnInfo &info : data().columns)
        EXPECT_EQ(info.width, 3000);
    EXPECT_TRUE(model().isTextFormat(data().columns[1].xf));

    at("J:J").setNumberFormat(QStringLiteral("@"));
    at("K:K").setNumberFormat(QStringLiteral("@"));
    EXPECT_EQ(spans(), (Spans{{7, 7}, {8, 10}}));

    at("N:N").setNumberFormat(QStringLiteral("@")); // no COLINFO yet: one is made
    EXPECT_EQ(spans(), (Spans{{7, 7}, {8, 10}, {13, 13}}));
}

TEST_F(RangeTest, SelectingARangeActivatesItsSheetAndSetsTheActiveCell)
{
    host::Workbook &twoSheets = app.open(QStringLiteral(VELMORO_FIXTURES "/small_plain.xls"), QString());
    EXPECT_EQ(twoSheets.activeSheet().name(), QStringLiteral("Velmoro"));
    host::Worksheet &second = twoSheets.sheets(QStringLiteral("other"));
    second.range(QStringLiteral("C4:D5")).select();
    EXPECT_EQ(&twoSheets.activeSheet(), &second);
    EXPECT_EQ(second.selection().address(), QStringLiteral("$C$4:$D$5"));
    const xls::Window &window = host::detail::Engine::sheet(second).window;
    EXPECT_EQ(window.activeRow, 3);
    EXPECT_EQ(window.activeCol, 2);
    EXPECT_TRUE(window.selected);
    EXPECT_FALSE(host::detail::Engine::sheet(twoSheets.sheets(QStringLiteral("Velmoro"))).window.selected);
}

} // namespace
