#include "Archive.h"
#include "Columns.h"
#include "HostError.h"
#include "SheetGeometry.h"

#include <QDir>
#include <QFile>
#include <QPoint>
#include <QPointF>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class PrepareArchiveSheetTest : public ::testing::Test {
protected:
    host::Application app{Regional::italian()};
    QTemporaryDir dir;
    QString path = dir.filePath(archive::kFileName);
    host::Workbook &book = app.create(path, archive::kPassword, archive::kSheetName);
    host::Worksheet &registry = book.sheets(archive::kSheetName);
};

TEST_F(PrepareArchiveSheetTest, WritesTheHeadersFormatsTheTextColumnsAndFreezesRowOne)
{
    registry.range(QStringLiteral("B1")).setValue(QStringLiteral("Nome modificato"));
    registry.range(QStringLiteral("I2")).setValue(QStringLiteral("612345"));
    registry.range(QStringLiteral("B:B")).setColumnWidth(50);
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

    EXPECT_EQ(QPoint(book.splitColumn(), book.splitRow()), QPoint(0, 1));
    EXPECT_EQ(registry.scrollArea(), QStringLiteral("$A$2:$S$65536"));
    const host::SheetGeometry geometry(registry); // the user's widths stay: 7-pixel digits, 5 of padding
    EXPECT_EQ(QPointF(geometry.columnWidth(2), geometry.columnWidth(3)), QPointF((50 * 7 + 5) * 0.75, 48));
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CreateArchive, MakesAPreparedArchiveThatSavesAndReopensWithItsPasswordAndNeverOverwritesOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(archive::kFileName);
    archive::CreateArchive(path);
    {
        host::Application app(Regional::italian());
        host::Worksheet &sheet = archive::OpenArchive(app, path).sheets(archive::kSheetName);
        sheet.range(QStringLiteral("B2")).setValue(QStringLiteral("Città & Figli"));
        sheet.range(QStringLiteral("N2")).setValue(QStringLiteral("01234567890"));
        sheet.range(QStringLiteral("D2")).setValue(QDate(2024, 2, 29));
        archive::SaveArchive(app);
        EXPECT_FALSE(app.displayAlerts());
    }
    host::Application again(Regional::italian());
    host::Workbook &reopened = archive::OpenArchive(again, path);
    host::Worksheet &sheet = reopened.sheets(archive::kSheetName);
    QStringList texts;
    for (const char *address : {"A1", "R1", "B2", "N2", "D2"})
        texts << sheet.range(QString::fromLatin1(address)).text();
    EXPECT_EQ(texts.join(u'|'), QStringLiteral("ID|IBAN|Città & Figli|01234567890|29/02/2024"));
    EXPECT_EQ(sheet.range(QStringLiteral("R60000")).numberFormat(), QStringLiteral("@"));
    EXPECT_EQ(reopened.splitRow(), 1);
    const host::SheetGeometry geometry(sheet);
    for (int column = 1; column <= archive::kFieldCount + 1; ++column) {
        const double characters = column <= archive::kFieldCount ? archive::kColumnWidths[std::size_t(column - 1)] : 8.43;
        EXPECT_DOUBLE_EQ(geometry.columnWidth(column), std::round(characters * 7 + 5) * 0.75) << column;
    }

    const QByteArray made = bytesOf(path);
    try {
        archive::CreateArchive(path);
        ADD_FAILURE() << "overwritten";
    } catch (const host::HostError &error) {
        EXPECT_EQ(error.kind(), host::ErrorKind::SaveFailed);
    }
    EXPECT_EQ(bytesOf(path), made);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{archive::kFileName});
}

} // namespace
