#include "spreadsheet/HostError.h"
#include "HostFixture.h"


namespace {

class WorkbookTest : public HostFixture {};

TEST_F(WorkbookTest, SheetsAreFoundByNameIgnoringCaseAndAMissingOneRaisesError9)
{
    EXPECT_EQ(&book.sheets(QStringLiteral("VELMORO")), &sheet);
    const host::HostError error = raised([&] { book.sheets(QStringLiteral("Anagrafe")); });
    EXPECT_EQ(error.number(), 9);
    EXPECT_EQ(error.description(), QStringLiteral("Indice non incluso nell'intervallo"));
}

TEST_F(WorkbookTest, FreezePanesFreezesAboveAndLeftOfTheSelection)
{
    const std::tuple<const char *, int, int> cases[] = {{"2:2", 1, 0}, {"C4", 3, 2}, {"B1", 0, 1}};
    for (const auto &[selected, row, column] : cases) {
        book.setFreezePanes(false);
        EXPECT_FALSE(book.freezePanes());
        at(selected).select();
        book.setFreezePanes(true);
        EXPECT_TRUE(book.freezePanes());
        EXPECT_EQ(std::make_pair(book.splitRow(), book.splitColumn()), std::make_pair(row, column)) << selected;
    }
}

TEST_F(WorkbookTest, AFailedSaveReportsTheReasonAndKeepsTheWorkbookAsItWas)
{
    put("B2", QStringLiteral("Rossi"));
    const host::HostError error = raised([&] { book.save(); });
    EXPECT_EQ(error.kind(), host::ErrorKind::SaveFailed);
    EXPECT_EQ(error.number(), 1004);
    EXPECT_TRUE(error.description().contains(QStringLiteral("test.xls"))) << error.description().toStdString();
    EXPECT_FALSE(book.isClosed());
    EXPECT_EQ(text("B2"), QStringLiteral("Rossi"));
    EXPECT_EQ(raised([&] { book.close(true); }).kind(), host::ErrorKind::SaveFailed);
    EXPECT_FALSE(book.isClosed());
}

TEST_F(WorkbookTest, AClosedWorkbookAndAQuitHostRaiseErrorsAndQuitClosesWithoutSaving)
{
    host::Range cell = at("A1");
    book.close(false);
    EXPECT_TRUE(book.isClosed());
    EXPECT_EQ(raised([&] { cell.text(); }).kind(), host::ErrorKind::HostGone);
    EXPECT_EQ(app.activeWorkbook(), nullptr);
    EXPECT_EQ(raised([&] { app.activeSheet(); }).number(), 91);

    host::Workbook &second = app.create(QStringLiteral("/nonexistent/b.xls"), QString(), QStringLiteral("B"));
    app.quit(); // saving would fail on this path: quit does not try
    EXPECT_TRUE(second.isClosed());
    EXPECT_TRUE(app.hasQuit());
    EXPECT_EQ(raised([&] { app.open(QStringLiteral("/x.xls"), QString()); }).kind(), host::ErrorKind::HostGone);
}

} // namespace
