#include "archive/Archive.h"
#include "archive/Columns.h"
#include "Oracle.h"
#include "archive/RegistryCsv.h"
#include "spreadsheet/SheetGeometry.h"

#include <QDate>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const Regional italian(QLocale(QLocale::Italian, QLocale::Italy));
using Cell = std::tuple<const char *, const char *, QJsonValue>; // address, type and value as dumped

QJsonObject sheetOf(const QJsonObject &dump, const QString &sheet)
{
    return dump["sheets"].toObject()[sheet].toObject();
}

// The text the host shows for a cell described in the fixture's JSON.
QString expectedText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return italian.numberText(value.toDouble());
    const QJsonObject object = value.toObject();
    if (object.contains("date"))
        return italian.dateText(QDate::fromString(object["date"].toString(), Qt::ISODate));
    return italian.numberText(object["number"].toDouble());
}

// Every third string needs 16-bit characters, so both encodings straddle the string table's
// CONTINUE boundaries, read here and read back by LibreOffice.
QString manyStrings(int row)
{
    return row % 3 == 0 ? QStringLiteral("Società n° %1 – Perù").arg(row) : QStringLiteral("Ditta numero %1 S.r.l.").arg(row);
}
constexpr int kLastManyRow = 10001;

} // namespace

TEST(Interop, AnArchiveFromLibreOfficeIsPreparedEditedAndSavedHereAndReadsTheSameInLibreOfficeAndXlrd)
{
    QJsonObject old;
    for (int c = 0; c < archive::kFieldCount; ++c)
        old[QChar('A' + c) + QStringLiteral("1")] = QStringLiteral("vecchio %1").arg(c);
    for (int row = 2; row <= kLastManyRow; ++row)
        old[QStringLiteral("T%1").arg(row)] = manyStrings(row);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio.xls"));
    oracle::make(path, QJsonObject{{"sheets", QJsonObject{{archive::kSheetName, old}}}});

    host::Application app(italian);
    archive::OpenArchive(app, path);
    archive::PrepareArchiveSheet(app);
    host::Worksheet &sheet = app.activeSheet();
    EXPECT_EQ(sheet.range("B2").end(host::Direction::Down).row(), 65536);
    EXPECT_TRUE(sheet.range("IV1").isEmpty());
    for (int row = 2; row <= kLastManyRow; ++row)
        ASSERT_EQ(sheet.cells(row, 20).text(), manyStrings(row)) << row;
    sheet.range("T5000").setValue(QStringLiteral("Cambiata è"));
    const Cell written[] = {
        {"A2", "number", 1},          {"B2", "string", "Perù Società “Ditta” €"},   {"C2", "string", "00184"},
        {"F2", "number", 42.5},       {"I2", "string", "0612345678"},               {"N2", "string", "01234567890"},
        {"P2", "string", "=1+1"},     {"R2", "string", "IT60X0542811101000000123456"}, {"IV1", "number", 1},
    };
    for (const auto &[address, type, value] : written)
        sheet.range(address).setValue(value.isDouble() ? italian.numberText(value.toDouble()) : value.toString());
    sheet.range("D2").setValue(QDate(2026, 12, 5));
    archive::SaveArchive(app);

    for (const char *engine : {"lo", "xlrd"}) {
        SCOPED_TRACE(engine);
        const QJsonObject dump = oracle::dump(path, engine);
        const QJsonObject velmoro = sheetOf(dump, archive::kSheetName), saved = velmoro["cells"].toObject();
        EXPECT_EQ(saved.size(), archive::kFieldCount + int(std::size(written)) + 1 + kLastManyRow - 1);
        for (int row = 2; row <= kLastManyRow; ++row)
            ASSERT_EQ(saved[QStringLiteral("T%1").arg(row)].toObject()["value"].toString(),
                      row == 5000 ? QStringLiteral("Cambiata è") : manyStrings(row)) << row;
        std::vector<Cell> expected(std::begin(written), std::end(written));
        expected.insert(expected.end(), {{"A1", "string", "ID"}, {"B1", "string", "Ragione Sociale/Cognome Nome"},
                                         {"G1", "string", "Località"}, {"R1", "string", "IBAN"},
                                         {"D2", "date", "2026-12-05"}});
        for (const auto &[address, type, value] : expected) {
            EXPECT_EQ(saved[address].toObject()["type"].toString(), type) << address;
            EXPECT_EQ(saved[address].toObject()["value"], value) << address;
        }
        EXPECT_EQ(velmoro["frozen"].toObject()["rows"].toInt(), 1);
        const QJsonObject formats = velmoro["column_formats"].toObject();
        for (const char *column : {"I", "J", "K", "N", "R"})
            EXPECT_EQ(formats[column].toString(), "@") << column;
        EXPECT_FALSE(formats.contains("A"));
        EXPECT_EQ(dump["encryption"].toObject()["type"].toString(), "rc4");
    }
}

TEST(Interop, ALibreOfficeWorkbookReadsHereCellForCellAndSavesWithItsOtherSheetAndItsCipher)
{
    QFile jsonFile(oracle::fixture("small.json"));
    ASSERT_TRUE(jsonFile.open(QIODevice::ReadOnly));
    const QJsonObject sheets = QJsonDocument::fromJson(jsonFile.readAll()).object()["sheets"].toObject();
    const struct {
        const char *fixture, *cipher, *version;
    } files[] = {{"small_enc.xls", "rc4", "1.1"}, {"small_cryptoapi_3.2_128bit.xls", "rc4_cryptoapi", "4.2"}};
    for (const auto &f : files) {
        SCOPED_TRACE(f.fixture);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Archivio.xls"));
        ASSERT_TRUE(QFile::copy(oracle::fixture(f.fixture), path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const QJsonObject before = oracle::dump(path);

        host::Application app(italian);
        host::Workbook &book = app.open(path, archive::kPassword);
        for (const QString &name : sheets.keys()) {
            const QJsonObject expected = sheets[name].toObject();
            for (const QString &address : expected.keys())
                EXPECT_EQ(book.sheets(name).range(address).text(), expectedText(expected[address]))
                    << name.toStdString() << "!" << address.toStdString();
        }
        book.sheets(archive::kSheetName).range("C4").setValue(QStringLiteral("Verdi Snc – modificata"));
        book.save();

        const QJsonObject after = oracle::dump(path);
        EXPECT_EQ(after["encryption"].toObject()["type"].toString(), f.cipher);
        EXPECT_EQ(after["encryption"].toObject()["version"].toString(), f.version);
        EXPECT_EQ(after["sheet_names"], before["sheet_names"]);
        EXPECT_EQ(sheetOf(after, "Other"), sheetOf(before, "Other"));
        QJsonObject velmoro = sheetOf(before, archive::kSheetName), edited = velmoro["cells"].toObject(),
                    c4 = edited["C4"].toObject();
        c4["value"] = QStringLiteral("Verdi Snc – modificata");
        edited["C4"] = c4;
        velmoro["cells"] = edited;
        EXPECT_EQ(sheetOf(after, archive::kSheetName), velmoro);
    }
}

// LibreOffice measures a digit of Arial 10 as 7.41 pixels where the host, as Excel, counts 7,
// so it lays every column out some 6 % wider: the same widths, in its own measure.
TEST(Interop, AFreshArchiveOpensInLibreOfficeWithTheColumnWidthsItPrintsWith)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio.xls"));
    archive::CreateArchive(path);
    host::Application app(italian);
    const host::SheetGeometry ours(archive::OpenArchive(app, path).sheets(archive::kSheetName));
    const QJsonObject velmoro = sheetOf(oracle::dump(path), archive::kSheetName);
    const QJsonObject widths = velmoro["column_widths"].toObject();
    QStringList registryColumns;
    for (int column = 1; column <= archive::kFieldCount; ++column) {
        const QString letter = host::columnLetters(column);
        registryColumns << letter;
        EXPECT_NEAR(widths[letter].toDouble() / ours.columnWidth(column), 1.06, 0.03) << letter.toStdString();
    }
    EXPECT_EQ(widths.keys(), registryColumns) << "the other columns keep the default width";
    EXPECT_NEAR(velmoro["default_column_width"].toDouble() / ours.columnWidth(archive::kFieldCount + 1), 1.06, 0.03);
}

// The accountant's CSV opened in LibreOffice as an Italian user opens it: every cell of the
// header and of each subject in its place. With formulas evaluated each reads as the program
// shows it; with the import window's defaults the texts the export guards read as ="..."
// around the same text, the others as the program shows them.
TEST(Interop, TheAccountantsCsvOpensInLibreOfficeWithEveryCellOfTheRegistry)
{
    QTemporaryDir dir;
    host::Application app(italian);
    host::Worksheet &registry = app.create(dir.filePath(archive::kFileName), archive::kPassword, archive::kSheetName)
                                    .sheets(archive::kSheetName);
    archive::PrepareArchiveSheet(app);
    const QList<QStringList> subjects = {
        {"1", "ROSSI, MARIO & FIGLI", "1234,5", "", "VIA ROMA 1; SCALA \"B\"", "00184", "FORLÌ", "FC", "0612345", "+39 06 1234567",
         "3331234567", "mario@example.org", "RSSMRA80A01H501U", "01234567890", "=SOMMA(A1:A9)", "BANCA, CREDITO",
         "RIGA UNO\nRIGA DUE", "IT60X0542811101000000123456"},
        {"2", "BIANCHI", "1.000", "05/12/2026", "", "20121", "MILANO", "MI", "02-1234567", "", "", "", "", "12345678901",
         "-", "@DITTA", "€ 5,00", "00012"},
        {},
        {"4", "DOPO LA RIGA VUOTA"},
    };
    for (int i = 0; i < subjects.size(); ++i)
        for (int column = 1; column <= subjects[i].size(); ++column)
            registry.cells(i + 2, column).setValue(subjects[i][column - 1]);
    registry.range(QStringLiteral("D2")).setValue(QDate(2024, 2, 29));
    const QString csv = dir.filePath(QStringLiteral("commercialista.csv"));
    ASSERT_EQ(archive::ExportRegistryCsv(app, csv, false).problem, QString());

    const QJsonObject shown = oracle::csvDump(csv);
    const QJsonObject evaluated = shown["evaluate_formulas"].toObject(), defaults = shown["dialog_defaults"].toObject();
    QStringList expected;
    int csvRow = 1, guarded = 0;
    for (const int row : QList<int>{1} + archive::subjectRows(registry)) {
        for (int column = 1; column <= archive::kFieldCount; ++column) {
            const QString text = registry.cells(row, column).text();
            if (text.isEmpty())
                continue;
            const QString address = host::columnLetters(column) + QString::number(csvRow);
            expected << address;
            EXPECT_EQ(evaluated[address].toString(), text) << address.toStdString();
            const QString opened = defaults[address].toString();
            const QString asFormula = QStringLiteral("=\"%1\"").arg(QString(text).replace(u'"', QStringLiteral("\"\"")));
            EXPECT_TRUE(opened == text || opened == asFormula) << address.toStdString() << ": " << opened.toStdString();
            guarded += opened == asFormula;
        }
        ++csvRow;
    }
    EXPECT_EQ(evaluated.keys().size(), expected.size());
    EXPECT_EQ(defaults.keys().size(), expected.size());
    EXPECT_EQ(guarded, 12); // the texts that look like numbers, dates or formulas
}
