#include "HostError.h"
#include "HostFixture.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

class WorkbookTest : public HostFixture {};

TEST_F(WorkbookTest, SheetsAreFoundByNameIgnoringCaseAndAMissingOneRaisesError9)
{
    EXPECT_EQ(&book.sheets(QStringLiteral("VELMORO")), &sheet);
    const host::HostError error = raised([&] { book.sheets(QStringLiteral("Anagrafe")); });
    EXPECT_EQ(error.number(), 9);
    EXPECT_EQ(error.kind(), host::ErrorKind::SheetNotFound);
    EXPECT_EQ(error.description(), QStringLiteral("Indice non incluso nell'intervallo"));
    EXPECT_EQ(book.sheetNames(), QStringList{QStringLiteral("Velmoro")});
}

TEST_F(WorkbookTest, FreezePanesFreezesAboveAndLeftOfTheSelection)
{
    sheet.rows(QStringLiteral("2:2")).select();
    book.setFreezePanes(true);
    EXPECT_EQ(std::make_pair(book.splitRow(), book.splitColumn()), std::make_pair(1, 0));
    EXPECT_TRUE(book.freezePanes());
    at("C4").select();
    book.setFreezePanes(true);
    EXPECT_EQ(std::make_pair(book.splitRow(), book.splitColumn()), std::make_pair(3, 2));
    book.setFreezePanes(false);
    EXPECT_FALSE(book.freezePanes());
    at("B1").select();
    book.setFreezePanes(true);
    EXPECT_EQ(std::make_pair(book.splitRow(), book.splitColumn()), std::make_pair(0, 1));
    EXPECT_TRUE(book.freezePanes());
}

TEST_F(WorkbookTest, ScrollAreaIsValidatedAndKeptAbsolute)
{
    sheet.setScrollArea(QStringLiteral("a2:s65536"));
    EXPECT_EQ(sheet.scrollArea(), QStringLiteral("$A$2:$S$65536"));
    EXPECT_EQ(raised([&] { sheet.setScrollArea(QStringLiteral("A2:S70000")); }).number(), 1004);
    EXPECT_EQ(sheet.scrollArea(), QStringLiteral("$A$2:$S$65536"));
    sheet.setScrollArea(QString());
    EXPECT_EQ(sheet.scrollArea(), QString());
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
    EXPECT_EQ(raised([&] { book.sheets(QStringLiteral("Velmoro")); }).kind(), host::ErrorKind::HostGone);
    EXPECT_EQ(app.activeWorkbook(), nullptr);
    EXPECT_EQ(raised([&] { app.activeSheet(); }).number(), 91);

    host::Workbook &second = app.create(QStringLiteral("/nonexistent/b.xls"), QString(), QStringLiteral("B"));
    host::Workbook &third = app.create(QStringLiteral("/nonexistent/c.xls"), QString(), QStringLiteral("C"));
    app.quit(); // saving would fail on these paths: quit does not try
    EXPECT_TRUE(second.isClosed() && third.isClosed());
    EXPECT_TRUE(app.hasQuit());
    EXPECT_EQ(raised([&] { app.activeWorkbook(); }).kind(), host::ErrorKind::HostGone);
    EXPECT_EQ(raised([&] { app.setStatusBar(QStringLiteral("x")); }).kind(), host::ErrorKind::HostGone);
    EXPECT_EQ(raised([&] { app.open(QStringLiteral("/x.xls"), QString()); }).kind(), host::ErrorKind::HostGone);
}

TEST_F(WorkbookTest, BecomingVisibleHandsEveryOpenWorkbookToThePresenter)
{
    QStringList shown;
    app.setPresenter([&](host::Workbook &workbook) { shown << workbook.fullName(); });
    app.setVisible(true);
    EXPECT_TRUE(app.visible());
    EXPECT_EQ(shown, QStringList{QStringLiteral("/nonexistent-folder/test.xls")});
}

TEST(WorkbookFiles, AMissingFileAWrongPasswordAndATextFileRaiseError1004)
{
    QTemporaryDir dir;
    const QString textFile = dir.filePath(QStringLiteral("Archivio.xls"));
    QFile file(textFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("ID;Ragione Sociale\n1;Rossi\n");
    file.close();
    const struct {
        QString path, password;
        host::ErrorKind kind;
        QString described;
    } cases[] = {
        {QStringLiteral("/nonexistent/Archivio.xls"), QString(), host::ErrorKind::FileNotFound,
         QStringLiteral("/nonexistent/Archivio.xls")},
        {QStringLiteral(VELMORO_FIXTURES "/small_enc.xls"), QStringLiteral("trvx5093mqp"),
         host::ErrorKind::WrongPassword, QStringLiteral("La password specificata non è corretta.")},
        {textFile, QStringLiteral("TRVX5093MQP"), host::ErrorKind::NotAWorkbook, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        host::Application app{Regional::italian()};
        const host::HostError error = raised([&] { app.open(c.path, c.password); });
        EXPECT_EQ(error.number(), 1004);
        EXPECT_EQ(error.kind(), c.kind);
        EXPECT_TRUE(error.description().contains(c.described)) << error.description().toStdString();
    }
}

TEST(WorkbookFiles, AnEncryptedWorkbookOpensReadsAndSavesInPlace)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio.xls"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORO_FIXTURES "/small_enc.xls"), path));
    {
        host::Application app{Regional::italian()};
        host::Workbook &book = app.open(path, QStringLiteral("TRVX5093MQP"));
        EXPECT_EQ(book.sheetNames(), (QStringList{QStringLiteral("Velmoro"), QStringLiteral("Other")}));
        host::Worksheet &registry = book.sheets(QStringLiteral("Velmoro"));
        EXPECT_EQ(registry.range(QStringLiteral("F2")).text(), QStringLiteral("00184"));
        EXPECT_EQ(registry.range(QStringLiteral("D3")).text(), QStringLiteral("29/02/2024"));
        EXPECT_EQ(registry.range(QStringLiteral("D4")).text(), QStringLiteral("01/03/1900"));
        EXPECT_EQ(registry.range(QStringLiteral("Q4")).text(), QStringLiteral("1234,5"));
        EXPECT_EQ(registry.range(QStringLiteral("IV1")).text(), QStringLiteral("41"));
        EXPECT_EQ(&app.open(path, QStringLiteral("TRVX5093MQP")), &book); // already open
        registry.range(QStringLiteral("B5")).setValue(QStringLiteral("Nuovo"));
        book.saveAs();
        book.close(false);
    }
    host::Application again{Regional::italian()};
    host::Workbook &book = again.open(path, QStringLiteral("TRVX5093MQP"));
    EXPECT_EQ(book.sheets(QStringLiteral("Velmoro")).range(QStringLiteral("B5")).text(), QStringLiteral("Nuovo"));
    EXPECT_EQ(book.sheets(QStringLiteral("Other")).range(QStringLiteral("B2")).text(), QStringLiteral("3,25"));
}

} // namespace
