#include "spreadsheet/HostError.h"
#include "HostFixture.h"
#include "spreadsheet/SheetGeometry.h"

#include <cmath>
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
    // name, filled rows of column B (first..last blocks), start row, direction, row reached
    const std::tuple<const char *, std::vector<std::pair<int, int>>, int, Direction, int> cases[] = {
        {"gapless list from its first cell", {{2, 6}}, 2, Direction::Down, 6},
        {"empty start cell with data below", {{5, 7}}, 2, Direction::Down, 5},
        {"single filled cell", {{2, 2}}, 2, Direction::Down, 65536},
        {"from the last row", {}, 65536, Direction::Down, 65536},
        {"last cell of a block to the next block", {{2, 4}, {8, 9}}, 4, Direction::Down, 8},
        {"block reaching the last row", {{65535, 65536}}, 65535, Direction::Down, 65536},
        {"up from below a list", {{2, 5}}, 10, Direction::Up, 5},
        {"up inside a list", {{2, 5}}, 5, Direction::Up, 2},
        {"up in an empty column", {}, 100, Direction::Up, 1},
    };
    for (const auto &[name, blocks, from, direction, expected] : cases) {
        sheet.range(QStringLiteral("B:B")).clearContents();
        for (const auto &[first, last] : blocks)
            fillColumnB(first, last);
        const host::Range end = sheet.cells(from, 2).end(direction);
        EXPECT_EQ(end.address(), QStringLiteral("$B$%1").arg(expected)) << name;
    }
}

TEST_F(RangeTest, EndTreatsFormattedBlanksAsEmptyAndWorksAlongRows)
{
    for (const char *address : {"B2", "B4", "A1", "B1", "C1"})
        put(address, QStringLiteral("x"));
    at("B3").setNumberFormat(QStringLiteral("0.00")); // a formatted blank, no value
    EXPECT_EQ(at("B2").end(Direction::Down).address(), QStringLiteral("$B$4"));
    EXPECT_EQ(at("A1").end(Direction::ToRight).address(), QStringLiteral("$C$1"));
    EXPECT_EQ(at("D1").end(Direction::ToRight).address(), QStringLiteral("$IV$1"));
    EXPECT_EQ(at("C1").end(Direction::ToLeft).address(), QStringLiteral("$A$1"));
}

TEST_F(RangeTest, OffsetCellsAndEntireRowOrColumnAddressTheGrid)
{
    const std::pair<host::Range, const char *> cases[] = {
        {at("B2").offset(1, 0), "$B$3"},       {at("B2:C3").offset(2, 1), "$C$4:$D$5"},
        {at("B2").cells(3, 2), "$C$4"},        {sheet.cells(1, 256), "$IV$1"},
        {at("C5").entireRow(), "$5:$5"},       {at("C5").entireColumn(), "$C:$C"},
        {sheet.range(at("A1"), at("R40")), "$A$1:$R$40"}, {sheet.columns(QStringLiteral("I")), "$I:$I"},
    };
    for (const auto &[range, address] : cases)
        EXPECT_EQ(range.address(), QString::fromLatin1(address));
    const std::function<void()> outside[] = {
        [&] { at("A1").offset(-1, 0); }, [&] { at("IV1").offset(0, 1); }, [&] { sheet.range(QStringLiteral("A0")); },
        [&] { sheet.cells(65537, 1); },  [&] { sheet.rows(QStringLiteral("A1")); },
        [&] { sheet.setScrollArea(QStringLiteral("A2:S70000")); },
    };
    for (const auto &call : outside)
        EXPECT_EQ(raised(call).number(), 1004);
}

TEST_F(RangeTest, ClearingKeepsFormatsAndDeletingRowsMovesTheRowsBelowUp)
{
    at("I:I").setNumberFormat(QStringLiteral("@"));
    put("I2", QStringLiteral("0612"));
    put("A3", QStringLiteral("keep"));
    at("A2:S2").clearContents();
    EXPECT_TRUE(at("I2").isEmpty());
    EXPECT_EQ(text("A3"), QStringLiteral("keep"));
    EXPECT_EQ(at("I2").numberFormat(), QStringLiteral("@"));

    const char *names[] = {"Anna", "Bruno", "Carla", "Dario"};
    for (int i = 0; i < 4; ++i)
        sheet.cells(i + 2, 2).setValue(QString::fromLatin1(names[i]));
    at("B3").entireRow().deleteRows();
    EXPECT_EQ(text("B2") + text("B3") + text("B4") + text("B5"), QStringLiteral("AnnaCarlaDario"));
    sheet.rows(QStringLiteral("2:3")).deleteRows();
    at("B200").entireRow().deleteRows(); // past the stored rows: nothing moves
    EXPECT_EQ(text("B2") + text("B3"), QStringLiteral("Dario"));
    EXPECT_THROW(at("B2").deleteRows(), host::HostError);
}

TEST_F(RangeTest, DeletingARowShrinksOrMovesThePrintAreaAsTheHostDoes)
{
    const std::tuple<const char *, const char *, const char *> cases[] = {
        // print area, deleted row, print area after
        {"$A$1:$R$40", "5:5", "$A$1:$R$39"}, {"$A$5:$R$9", "2:2", "$A$4:$R$8"}, {"$A$5:$R$9", "50:50", "$A$5:$R$9"},
        {"$A$3:$R$3", "3:3", ""},            {"$A:$R", "3:3", "$A:$R"},         {"$A$1:$R$40", "2:4", "$A$1:$R$37"},
    };
    for (const auto &[area, deleted, after] : cases) {
        sheet.pageSetup().setPrintArea(QString::fromLatin1(area));
        sheet.rows(QString::fromLatin1(deleted)).deleteRows();
        EXPECT_EQ(sheet.pageSetup().printArea(), QString::fromLatin1(after)) << area << " - " << deleted;
    }
}

TEST_F(RangeTest, TextFormatOnAColumnKeepsEveryLaterWrittenTextAsTextAndLeavesItsNeighbours)
{
    at("I:I").setNumberFormat(QStringLiteral("@"));
    for (const char *written : {"5", "00184", "42,5"})
        expectWrites(at("I40000"), {written, host::ValueType::Text});
    expectWrites(at("H2"), {"123", host::ValueType::Number});
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
    data().columns = {{7, 10, 3000, 15, 0}}; // H..K
    at("I:I").setNumberFormat(QStringLiteral("@"));
    ASSERT_EQ(spans(), (Spans{{7, 7}, {8, 8}, {9, 10}}));
    EXPECT_EQ(data().columns[0].width + data().columns[1].width + data().columns[2].width, 9000);
    EXPECT_TRUE(model().isTextFormat(data().columns[1].xf));
    at("J:J").setNumberFormat(QStringLiteral("@"));
    at("K:K").setNumberFormat(QStringLiteral("@"));
    at("N:N").setNumberFormat(QStringLiteral("@")); // no COLINFO yet: one is made
    EXPECT_EQ(spans(), (Spans{{7, 7}, {8, 10}, {13, 13}}));
}

// Widths in digits of Arial 10 (7 pixels) plus 5 pixels of padding, 0.75 points a pixel.
TEST_F(RangeTest, ColumnWidthsAreSetInCharactersKeepTheColumnsFormatAndPrintAsWideAsTheHostShowsThem)
{
    // H: 8.43 characters as Excel and LibreOffice store it; LibreOffice ends the last span one past IV.
    data().columns = {{7, 7, 2340, 15, 0}, {20, 256, 2340, 15, 0}};
    put("B2", QStringLiteral("x"));
    put("D2", QStringLiteral("y"));
    at("B:C").setNumberFormat(QStringLiteral("@"));
    const struct {
        const char *columns;
        double characters, points;
    } cases[] = {{"B:B", 34, 182.25}, {"C:D", 8.43, 48}, {"E:E", 0.5, 6.75}, {"F:F", 0, 0}, {"G:G", 255, 1342.5}};
    for (const auto &c : cases)
        at(c.columns).setColumnWidth(c.characters);
    for (double wrong : {-1.0, 255.5, std::nan("")})
        EXPECT_EQ(raised([&] { at("G:H").setColumnWidth(wrong); }).number(), 1004) << wrong;

    const host::SheetGeometry geometry(sheet);
    for (const auto &c : cases) {
        const host::Range columns = at(c.columns);
        for (int column : {columns.column(), columns.lastColumn()})
            EXPECT_DOUBLE_EQ(geometry.columnWidth(column), c.points) << c.columns;
    }
    EXPECT_DOUBLE_EQ(geometry.columnWidth(8), 48); // H as wide as a column of the default width
    EXPECT_DOUBLE_EQ(geometry.columnWidth(9), 48);
    EXPECT_DOUBLE_EQ(geometry.columnWidth(256), 48);
    EXPECT_EQ(at("B2").numberFormat() + at("C40000").numberFormat() + at("D2").numberFormat(), QStringLiteral("@@General"));
}

TEST_F(RangeTest, SelectingARangeActivatesItsSheetAndSetsTheActiveCell)
{
    host::Workbook &twoSheets = app.open(QStringLiteral(VELMORO_FIXTURES "/small_plain.xls"), QString());
    EXPECT_EQ(&app.open(QStringLiteral(VELMORO_FIXTURES "/small_plain.xls"), QString()), &twoSheets);
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
