#include "Archive.h"
#include "Columns.h"
#include "HostError.h"
#include "XlsFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<xls::XlsFile> freshArchive(std::u16string_view sheetName = u"Velmoro")
{
    return std::make_unique<xls::XlsFile>(
        xls::newXlsFile(xls::newBook(sheetName), archive::kPassword.toStdU16String()));
}

class PrepareArchiveSheetTest : public ::testing::Test {
protected:
    host::Application app{Regional::italian()};
    QTemporaryDir dir;
    QString path = dir.filePath(archive::kFileName);
    host::Workbook &book = app.adopt(path, freshArchive());
    host::Worksheet &registry = book.sheets(archive::kSheetName);
};

TEST_F(PrepareArchiveSheetTest, WritesTheHeadersFormatsTheTextColumnsAndFreezesRowOne)
{
    registry.range(QStringLiteral("B1")).setValue(QStringLiteral("Nome modificato"));
    registry.range(QStringLiteral("I2")).setValue(QStringLiteral("612345"));
    archive::PrepareArchiveSheet(app);

    EXPECT_EQ(registry.range(QStringLiteral("B1")).text(), QStringLiteral("Ragione Sociale/Cognome Nome"));
    EXPECT_TRUE(registry.range(QStringLiteral("S1")).isEmpty());
    EXPECT_TRUE(registry.range(archive::kCounterCell).isEmpty());

    const QString textColumns = QStringLiteral("IJKNR");
    for (int column = 1; column <= 19; ++column) {
        const bool text = textColumns.contains(host::columnLetters(column));
        EXPECT_EQ(registry.cells(40000, column).numberFormat() == QLatin1String("@"), text) << column;
    }
    EXPECT_EQ(registry.range(QStringLiteral("I2")).valueType(), host::ValueType::Number); // kept, as the host does

    EXPECT_EQ(registry.data().window.frozenRows, 1);
    EXPECT_EQ(registry.data().window.frozenCols, 0);
    EXPECT_EQ(&app.activeSheet(), &registry);
    EXPECT_EQ(app.selection().address(), QStringLiteral("$A$2"));
    EXPECT_EQ(registry.scrollArea(), QStringLiteral("$A$2:$S$65536"));
    EXPECT_TRUE(app.screenUpdating());
}

TEST_F(PrepareArchiveSheetTest, SaveArchiveWritesAFileThatReopensWithThePassword)
{
    archive::PrepareArchiveSheet(app);
    registry.range(QStringLiteral("B2")).setValue(QStringLiteral("Città & Figli"));
    registry.range(QStringLiteral("N2")).setValue(QStringLiteral("01234567890"));
    registry.range(QStringLiteral("D2")).setValue(QDate(2024, 2, 29));
    archive::SaveArchive(app);
    EXPECT_FALSE(app.displayAlerts());

    host::Application again{Regional::italian()};
    host::Workbook &reopened = archive::OpenArchive(again, path);
    host::Worksheet &sheet = reopened.sheets(archive::kSheetName);
    EXPECT_EQ(sheet.range(QStringLiteral("A1")).text(), QStringLiteral("ID"));
    EXPECT_EQ(sheet.range(QStringLiteral("B2")).text(), QStringLiteral("Città & Figli"));
    EXPECT_EQ(sheet.range(QStringLiteral("N2")).text(), QStringLiteral("01234567890"));
    EXPECT_EQ(sheet.range(QStringLiteral("D2")).text(), QStringLiteral("29/02/2024"));
    EXPECT_EQ(sheet.range(QStringLiteral("R60000")).numberFormat(), QStringLiteral("@"));
    EXPECT_EQ(sheet.data().window.frozenRows, 1);
}

TEST(ArchiveErrors, AWorkbookWithoutTheRegistrySheetFailsWithError9)
{
    host::Application app{Regional::italian()};
    app.adopt(QStringLiteral("/nonexistent/Archivio.xls"), freshArchive(u"Foglio1"));
    try {
        archive::PrepareArchiveSheet(app);
        FAIL() << "no error";
    } catch (const host::HostError &error) {
        EXPECT_EQ(error.number(), 9);
        EXPECT_EQ(error.description(), QStringLiteral("Indice non incluso nell'intervallo"));
    }
}

} // namespace
