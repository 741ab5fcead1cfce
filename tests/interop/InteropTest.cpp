#include "Archive.h"
#include "Columns.h"
#include "Oracle.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

Regional italian() { return Regional(QLocale(QLocale::Italian, QLocale::Italy)); }

QString copyFixture(const QTemporaryDir &dir, const QString &name)
{
    const QString target = dir.filePath(QStringLiteral("Archivio.xls"));
    QFile::copy(oracle::fixture(name), target);
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

QJsonObject cells(const QJsonObject &dump, const QString &sheet)
{
    return dump["sheets"].toObject()[sheet].toObject()["cells"].toObject();
}

struct Expected {
    const char *address;
    const char *type;
    QJsonValue value;
};

void expectCells(const QJsonObject &actual, const std::vector<Expected> &expected, const char *engine)
{
    for (const auto &e : expected) {
        const QJsonObject cell = actual[e.address].toObject();
        EXPECT_EQ(cell["type"].toString().toStdString(), e.type) << engine << " " << e.address;
        EXPECT_EQ(cell["value"], e.value) << engine << " " << e.address << ": "
                                          << QJsonDocument(cell).toJson().toStdString();
    }
}

// The text the host shows for a cell described in the oracle's JSON.
QString expectedText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return italian().numberText(value.toDouble());
    const QJsonObject object = value.toObject();
    if (object.contains("date"))
        return italian().dateText(QDate::fromString(object["date"].toString(), Qt::ISODate));
    if (object.contains("number"))
        return italian().numberText(object["number"].toDouble());
    return object["text"].toString();
}

} // namespace

TEST(Interop, AnArchiveMadeAndEditedHereOpensInLibreOfficeAndXlrdWithTheSameCells)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio.xls"));
    ASSERT_EQ(oracle::run(ARCHIVE_TOOL, {"make", path}), 0);

    host::Application app(italian());
    archive::OpenArchive(app, path);
    archive::PrepareArchiveSheet(app);
    host::Worksheet &sheet = app.activeSheet();
    sheet.range("A2").setValue(QStringLiteral("1"));
    sheet.range("B2").setValue(QStringLiteral("Perù Società “Ditta” €"));
    sheet.range("C2").setValue(QStringLiteral("00184"));
    sheet.range("D2").setValue(QDate(2026, 12, 5));
    sheet.range("F2").setValue(QStringLiteral("42,5"));
    sheet.range("I2").setValue(QStringLiteral("0612345678"));
    sheet.range("N2").setValue(QStringLiteral("01234567890"));
    sheet.range("P2").setValue(QStringLiteral("=1+1"));
    sheet.range("R2").setValue(QStringLiteral("IT60X0542811101000000123456"));
    sheet.range("IV1").setValue(QStringLiteral("1"));
    archive::SaveArchive(app);

    const std::vector<Expected> expected = {
        {"A1", "string", "ID"},          {"B1", "string", "Ragione Sociale/Cognome Nome"},
        {"G1", "string", "Località"},    {"R1", "string", "IBAN"},
        {"A2", "number", 1},             {"B2", "string", "Perù Società “Ditta” €"},
        {"C2", "string", "00184"},       {"D2", "date", "2026-12-05"},
        {"F2", "number", 42.5},          {"I2", "string", "0612345678"},
        {"N2", "string", "01234567890"}, {"P2", "string", "=1+1"},
        {"R2", "string", "IT60X0542811101000000123456"}, {"IV1", "number", 1},
    };
    for (const char *engine : {"lo", "xlrd"}) {
        const QJsonObject dump = oracle::dump(path, engine);
        expectCells(cells(dump, archive::kSheetName), expected, engine);
        const QJsonObject velmoro = dump["sheets"].toObject()[archive::kSheetName].toObject();
        EXPECT_EQ(velmoro["frozen"].toObject()["rows"].toInt(), 1) << engine;
        const QJsonObject formats = velmoro["column_formats"].toObject();
        for (const char *column : {"I", "J", "K", "N", "R"})
            EXPECT_EQ(formats[column].toString(), "@") << engine << " column " << column;
        EXPECT_FALSE(formats.contains("A")) << engine;
        EXPECT_EQ(dump["encryption"].toObject()["type"].toString().toStdString(), "rc4") << engine;
    }
}

TEST(Interop, ALibreOfficeWorkbookReadsHereCellForCellAndItsOtherSheetSurvivesOurSave)
{
    QTemporaryDir dir;
    const QString path = copyFixture(dir, "small_enc.xls");
    QFile jsonFile(oracle::fixture("small.json"));
    ASSERT_TRUE(jsonFile.open(QIODevice::ReadOnly));
    const QJsonObject sheets = QJsonDocument::fromJson(jsonFile.readAll()).object()["sheets"].toObject();
    const QJsonObject before = oracle::dump(path);

    host::Application app(italian());
    host::Workbook &book = app.open(path, archive::kPassword);
    for (const QString &name : sheets.keys()) {
        const QJsonObject expected = sheets[name].toObject();
        host::Worksheet &sheet = book.sheets(name);
        for (const QString &address : expected.keys())
            EXPECT_EQ(sheet.range(address).text(), expectedText(expected[address]))
                << name.toStdString() << "!" << address.toStdString();
    }

    book.sheets(archive::kSheetName).range("C4").setValue(QStringLiteral("Verdi Snc – modificata"));
    book.save();

    const QJsonObject after = oracle::dump(path);
    EXPECT_EQ(after["sheet_names"], before["sheet_names"]);
    const QJsonObject otherBefore = before["sheets"].toObject()["Other"].toObject();
    EXPECT_EQ(after["sheets"].toObject()["Other"].toObject(), otherBefore);
    QJsonObject velmoroBefore = before["sheets"].toObject()[archive::kSheetName].toObject();
    QJsonObject cellsBefore = velmoroBefore["cells"].toObject();
    QJsonObject changed = cellsBefore["C4"].toObject();
    changed["value"] = QStringLiteral("Verdi Snc – modificata");
    cellsBefore["C4"] = changed;
    velmoroBefore["cells"] = cellsBefore;
    EXPECT_EQ(after["sheets"].toObject()[archive::kSheetName].toObject(), velmoroBefore);
}

TEST(Interop, ACryptoApiWorkbookIsWrittenBackAsCryptoApiThatLibreOfficeOpens)
{
    QTemporaryDir dir;
    const QString path = copyFixture(dir, "small_cryptoapi_3.2_128bit.xls");
    host::Application app(italian());
    host::Workbook &book = app.open(path, archive::kPassword);
    book.sheets(archive::kSheetName).range("E4").setValue(QStringLiteral("Via Verdi 3"));
    book.save();

    const QJsonObject dump = oracle::dump(path);
    EXPECT_EQ(dump["encryption"].toObject()["type"].toString().toStdString(), "rc4_cryptoapi");
    EXPECT_EQ(dump["encryption"].toObject()["version"].toString().toStdString(), "4.2");
    EXPECT_EQ(cells(dump, archive::kSheetName)["E4"].toObject()["value"].toString(), "Via Verdi 3");
    EXPECT_EQ(cells(dump, archive::kSheetName)["C2"].toObject()["value"].toString(),
              "Rossi & Figli S.r.l.");
}

TEST(Interop, TenThousandDistinctStringsCrossEveryContinueBoundaryBothWays)
{
    constexpr int kCount = 10000;
    auto text = [](int i) {
        // Every third string needs 16-bit characters, so both encodings straddle boundaries.
        return i % 3 == 0 ? QStringLiteral("Società n° %1 – Perù").arg(i)
                          : QStringLiteral("Ditta numero %1 S.r.l.").arg(i);
    };
    QJsonObject velmoro;
    for (int c = 0; c < archive::kFieldCount; ++c)
        velmoro[QChar('A' + c) + QStringLiteral("1")] = archive::kHeaders[c];
    for (int i = 0; i < kCount; ++i)
        velmoro[QStringLiteral("B%1").arg(i + 2)] = text(i);
    QJsonObject description{{"sheets", QJsonObject{{archive::kSheetName, velmoro}}},
                            {"freeze_row", QJsonObject{{archive::kSheetName, 1}}}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio.xls"));
    oracle::make(path, description);

    host::Application app(italian());
    host::Workbook &book = app.open(path, archive::kPassword);
    host::Worksheet &sheet = book.sheets(archive::kSheetName);
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(sheet.cells(i + 2, 2).text(), text(i)) << "row " << i + 2;
    EXPECT_EQ(sheet.range("B2").end(host::Direction::Down).row(), kCount + 1);

    sheet.cells(5000, 2).setValue(QStringLiteral("Cambiata è"));
    book.save();
    const QJsonObject after = cells(oracle::dump(path), archive::kSheetName);
    for (int i = 0; i < kCount; ++i) {
        const QString expected = i + 2 == 5000 ? QStringLiteral("Cambiata è") : text(i);
        ASSERT_EQ(after[QStringLiteral("B%1").arg(i + 2)].toObject()["value"].toString(), expected)
            << "row " << i + 2;
    }
}

TEST(Interop, AHeaderOnlyArchiveFromLibreOfficeIsPreparedAndSavedHere)
{
    QJsonObject velmoro;
    for (int c = 0; c < archive::kFieldCount; ++c)
        velmoro[QChar('A' + c) + QStringLiteral("1")] = QStringLiteral("vecchio %1").arg(c);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio.xls"));
    oracle::make(path, QJsonObject{{"sheets", QJsonObject{{archive::kSheetName, velmoro}}}});

    host::Application app(italian());
    archive::OpenArchive(app, path);
    archive::PrepareArchiveSheet(app);
    EXPECT_EQ(app.activeSheet().range("B2").end(host::Direction::Down).row(), 65536);
    EXPECT_TRUE(app.activeSheet().range("IV1").isEmpty());
    archive::SaveArchive(app);

    const QJsonObject dump = oracle::dump(path);
    const QJsonObject saved = cells(dump, archive::kSheetName);
    EXPECT_EQ(saved.size(), archive::kFieldCount);
    for (int c = 0; c < archive::kFieldCount; ++c)
        EXPECT_EQ(saved[QChar('A' + c) + QStringLiteral("1")].toObject()["value"].toString(),
                  archive::kHeaders[c]);
    EXPECT_EQ(dump["sheets"].toObject()[archive::kSheetName].toObject()["frozen"].toObject()["rows"].toInt(), 1);
}
