#include "archive/Archive.h"
#include "archive/Columns.h"
#include "archive/RegistryCsv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using host::ValueType;

// Texts a spreadsheet would read as something else come as a formula giving the same text;
// separators, quotes and line breaks are quoted.
TEST(RegistryCsv, EachCellBecomesAFieldThatOpensAsTheSameText)
{
    struct Case {
        const char *text;
        ValueType type;
        const char *field;
    } cases[] = {
        {"ROSSI MARIO", ValueType::Text, "ROSSI MARIO"},
        {"", ValueType::Empty, ""},
        {"FORLÌ", ValueType::Text, "FORLÌ"},
        {"ROSSI, MARIO", ValueType::Text, "\"ROSSI, MARIO\""},
        {"VIA A; SCALA B", ValueType::Text, "\"VIA A; SCALA B\""},
        {"DITTA \"LA BELLA\"", ValueType::Text, "\"DITTA \"\"LA BELLA\"\"\""},
        {"RIGA 1\nRIGA 2", ValueType::Text, "\"RIGA 1\nRIGA 2\""},
        {"RIGA 1\r", ValueType::Text, "\"RIGA 1\r\""},
        {"IT60X0542811101000000123456", ValueType::Text, "IT60X0542811101000000123456"},
        {"0612345", ValueType::Text, "\"=\"\"0612345\"\"\""},
        {"1.000", ValueType::Text, "\"=\"\"1.000\"\"\""},
        {"1,50", ValueType::Text, "\"=\"\"1,50\"\"\""},
        {"12-03", ValueType::Text, "\"=\"\"12-03\"\"\""},
        {"05/12/2026", ValueType::Text, "\"=\"\"05/12/2026\"\"\""},
        {"10:30", ValueType::Text, "\"=\"\"10:30\"\"\""},
        {"5%", ValueType::Text, "\"=\"\"5%\"\"\""},
        {"12E4", ValueType::Text, "\"=\"\"12E4\"\"\""},
        {"12EST", ValueType::Text, "12EST"},
        {"+39 06 1234567", ValueType::Text, "\"=\"\"+39 06 1234567\"\"\""},
        {"-SCONTO", ValueType::Text, "\"=\"\"-SCONTO\"\"\""},
        {"@DITTA", ValueType::Text, "\"=\"\"@DITTA\"\"\""},
        {"=1+1", ValueType::Text, "\"=\"\"=1+1\"\"\""},
        {"=", ValueType::Text, "\"=\"\"=\"\"\""},
        {"=\"A\";B", ValueType::Text, "\"=\"\"=\"\"\"\"A\"\"\"\";B\"\"\""},
        {"-", ValueType::Text, "-"},
        {"+", ValueType::Text, "+"},
        {"06 1234567", ValueType::Text, "06 1234567"},
        {"41", ValueType::Number, "41"},
        {"1234,5", ValueType::Number, "\"1234,5\""},
        {"-3", ValueType::Number, "-3"},
        {"05/12/2026", ValueType::Date, "05/12/2026"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(archive::csvField(QString::fromUtf8(c.text), c.type), QString::fromUtf8(c.field)) << c.text;
}

class ExportRegistryCsvTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        archive::PrepareArchiveSheet(app);
        registry.range(archive::kCounterCell).setValue(QStringLiteral("5"));
        for (const auto &[address, text] : {std::pair("A2", "1"), std::pair("B2", "ROSSI, MARIO"), std::pair("I2", "0612345"),
                                            std::pair("A3", "2"), std::pair("R3", "IT60X0542811101000000123456"),
                                            std::pair("A5", "5"), std::pair("B5", "DOPO LA RIGA VUOTA")})
            registry.range(QString::fromLatin1(address)).setValue(QString::fromUtf8(text));
        registry.range(QStringLiteral("D3")).setValue(QDate(2026, 12, 5));
        registry.range(QStringLiteral("A7")).setNumberFormat(QStringLiteral("0.00")); // a format alone is no subject
    }

    QByteArray written() const
    {
        QFile file(csv);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    host::Application app{Regional::italian()};
    host::Workbook &book = app.create(dir.filePath(archive::kFileName), archive::kPassword, archive::kSheetName);
    host::Worksheet &registry = book.sheets(archive::kSheetName);
    QString csv = dir.filePath(QStringLiteral("commercialista.csv"));
};

TEST_F(ExportRegistryCsvTest, WritesTheHeaderAndEveryRowThatHoldsASubject)
{
    const archive::CsvExport exported = archive::ExportRegistryCsv(app, csv, false);
    EXPECT_EQ(exported.problem, QString());
    EXPECT_EQ(exported.subjects, 3);
    const QByteArray expected = "\xEF\xBB\xBF"
                                "ID;Ragione Sociale/Cognome Nome;Codice;Data;Indirizzo;CAP;Localit\xC3\xA0;PR;Telefono;Fax;"
                                "Cellulare;Email;Codice Fiscale;Partita IVA;Referente/Rappresentante;Banca;Intest/Conto;IBAN\r\n"
                                "1;\"ROSSI, MARIO\";;;;;;;\"=\"\"0612345\"\"\";;;;;;;;;\r\n"
                                "2;;;05/12/2026;;;;;;;;;;;;;;IT60X0542811101000000123456\r\n"
                                "5;DOPO LA RIGA VUOTA;;;;;;;;;;;;;;;;\r\n";
    EXPECT_EQ(written(), expected);
}

TEST_F(ExportRegistryCsvTest, AFileAlreadyThereIsReplacedOnlyWhenAskedAndAFailureSaysWhy)
{
    QFile old(csv);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("vecchio") == 7);
    old.close();
    const archive::CsvExport refused = archive::ExportRegistryCsv(app, csv, false);
    EXPECT_EQ(refused.problem, QStringLiteral("Il file '%1' esiste già: non viene sovrascritto.").arg(csv));
    EXPECT_EQ(written(), QByteArray("vecchio"));

    EXPECT_EQ(archive::ExportRegistryCsv(app, csv, true).subjects, 3);
    EXPECT_TRUE(written().startsWith("\xEF\xBB\xBFID;"));

    const QString nowhere = dir.filePath(QStringLiteral("manca/commercialista.csv"));
    const archive::CsvExport failed = archive::ExportRegistryCsv(app, nowhere, false);
    EXPECT_TRUE(failed.problem.startsWith(QStringLiteral("Impossibile scrivere il file '%1': ").arg(nowhere)));
    EXPECT_TRUE(failed.problem.endsWith(QStringLiteral("file o cartella inesistente (errore di sistema 2).")))
        << failed.problem.toStdString();
}

} // namespace
