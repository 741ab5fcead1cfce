#include "DateSerial.h"
#include "HostError.h"
#include "HostFixture.h"

namespace {

struct WriteCase {
    const char *written;
    host::ValueType stored;
};

void expectWrites(host::Range cell, const WriteCase &c)
{
    const QString written = QString::fromUtf8(c.written);
    cell.setValue(written);
    EXPECT_EQ(cell.valueType(), c.stored) << c.written;
    EXPECT_EQ(cell.text(), written) << c.written; // whatever is stored reads back as written
}

using T = host::ValueType;

class CellText : public HostFixture {};

TEST_F(CellText, AWrittenTextBecomesANumberOnlyWhenItReadsBackIdenticallyInItalian)
{
    const WriteCase cases[] = {
        {"42", T::Number},      {"-3", T::Number},     {"42,5", T::Number},   {"0,1", T::Number},
        {"0", T::Number},       {"00184", T::Text},    {"1.000", T::Text},    {"1e5", T::Text},
        {"1E5", T::Text},       {" 42", T::Text},      {"42 ", T::Text},      {"+42", T::Text},
        {"42,0", T::Text},      {"42.5", T::Text},     {"-0", T::Text},       {"=1+1", T::Text},
        {"=A1", T::Text},       {"abc", T::Text},      {"12345678901234567890", T::Text},
        {"IT60X0542811101000000123456", T::Text},      {"05/12/2026", T::Text}, {"VERO", T::Text},
        {"Perù “€”", T::Text},  {"multi\nline", T::Text},
    };
    for (const WriteCase &c : cases)
        expectWrites(at("C5"), c);
}

TEST(CellTextEnglish, AWrittenTextFollowsTheEnglishDecimalPoint)
{
    host::Application app{Regional(QLocale(QLocale::English, QLocale::UnitedStates))};
    host::Workbook &book = app.create(QStringLiteral("/nonexistent/e.xls"), QString(), QStringLiteral("S"));
    host::Range cell = book.sheets(QStringLiteral("S")).range(QStringLiteral("A1"));
    const WriteCase cases[] = {
        {"42.5", T::Number}, {"42,5", T::Text}, {"1,000", T::Text}, {"1000", T::Number}, {"42.50", T::Text},
    };
    for (const WriteCase &c : cases)
        expectWrites(cell, c);
}

TEST_F(CellText, AnEmptyTextEmptiesTheCellAndKeepsItsFormat)
{
    put("A3", QStringLiteral("42"));
    put("A3", QString());
    EXPECT_EQ(sheet.usedRange().address(), QStringLiteral("$A$1")); // default format: nothing left

    at("I:I").setNumberFormat(QStringLiteral("@"));
    put("B3", QStringLiteral("x"));
    at("B3").setNumberFormat(QStringLiteral("0.00"));
    put("B3", QString());
    EXPECT_EQ(sheet.usedRange().address(), QStringLiteral("$B$3")); // a formatted blank
    EXPECT_EQ(at("B3").numberFormat(), QStringLiteral("0.00"));
    EXPECT_TRUE(at("B3").isEmpty());
    EXPECT_EQ(text("B3"), QString());

    put("I3", QStringLiteral("007"));
    put("I3", QString());
    EXPECT_TRUE(at("I3").isEmpty());
    EXPECT_EQ(at("I3").numberFormat(), QStringLiteral("@"));
}

TEST_F(CellText, WritingReplacesAFormulaAndReadingShowsItsCachedValue)
{
    xls::Cell &cell = data().touch(4, 2);
    cell.kind = xls::CellKind::Number;
    cell.number = 2;
    data().formulas[xls::formulaKey(4, 2)] = {xls::RawRecord{0x0006, {}}};
    EXPECT_EQ(text("C5"), QStringLiteral("2"));
    put("C5", QStringLiteral("=1+2"));
    EXPECT_TRUE(data().formulas.empty());
    EXPECT_EQ(at("C5").valueType(), T::Text);
}

// A date cell formatted "General" shows its serial.
TEST_F(CellText, DatesAreStoredAsSerialsOfTheBookDateSystem)
{
    const std::tuple<QDate, bool, const char *> cases[] = {
        {QDate(1900, 1, 1), false, "1"},         {QDate(1900, 2, 28), false, "59"}, {QDate(1900, 3, 1), false, "61"},
        {QDate(2024, 2, 29), false, "45351"},    {QDate(2026, 12, 5), false, "46361"},
        {QDate(1904, 1, 1), true, "0"},          {QDate(2024, 2, 29), true, "43889"},
    };
    for (const auto &[date, date1904, serial] : cases) {
        model().date1904 = date1904;
        at("D2").setValue(date);
        EXPECT_EQ(at("D2").valueType(), T::Date);
        EXPECT_EQ(text("D2"), Regional::italian().dateText(date));
        EXPECT_EQ(at("D2").numberFormat(), QStringLiteral("dd/mm/yyyy"));
        at("D2").setNumberFormat(QStringLiteral("General"));
        EXPECT_EQ(text("D2"), QString::fromLatin1(serial)) << date.toString(Qt::ISODate).toStdString();
    }
    EXPECT_THROW(at("D3").setValue(QDate(1899, 12, 31)), host::HostError);
}

TEST_F(CellText, SerialsReadAsTheRegionalShortDate)
{
    const Regional regional = Regional::italian();
    const std::tuple<double, bool, const char *> cases[] = {
        {1, false, "01/01/1900"},  {59, false, "28/02/1900"}, {60, false, "29/02/1900"},
        {61, false, "01/03/1900"}, {45351, false, "29/02/2024"}, {45351.75, false, "29/02/2024"},
        {0, true, "01/01/1904"},   {43889, true, "29/02/2024"},
    };
    for (const auto &[serial, date1904, expected] : cases)
        EXPECT_EQ(host::serialDateText(serial, date1904, regional), QString::fromLatin1(expected)) << serial;
    EXPECT_EQ(host::serialDateText(0, false, regional), std::nullopt);
    EXPECT_EQ(host::serialDateText(-1, true, regional), std::nullopt);
    EXPECT_EQ(host::serialDateText(3e6, false, regional), std::nullopt);
}

TEST_F(CellText, ADateCellTurnsAWrittenDateTextBackIntoADate)
{
    at("D2").setValue(QDate(2024, 1, 15));
    put("D2", QStringLiteral("05/12/2026"));
    EXPECT_EQ(at("D2").valueType(), T::Date);
    EXPECT_EQ(text("D2"), QStringLiteral("05/12/2026"));
    put("D2", QStringLiteral("42"));
    EXPECT_EQ(at("D2").valueType(), T::Text);
    EXPECT_EQ(text("D2"), QStringLiteral("42"));
}

TEST_F(CellText, BooleansAndErrorsReadByTheirItalianNames)
{
    const std::pair<std::uint8_t, const char *> errors[] = {
        {0x00, "#NULLO!"}, {0x07, "#DIV/0!"}, {0x0F, "#VALORE!"}, {0x17, "#RIF!"},
        {0x1D, "#NOME?"},  {0x24, "#NUM!"},   {0x2A, "#N/D"},
    };
    for (const auto &[code, name] : errors) {
        xls::Cell &cell = data().touch(0, 0);
        cell.kind = xls::CellKind::Error;
        cell.code = code;
        EXPECT_EQ(text("A1"), QString::fromLatin1(name));
        EXPECT_EQ(at("A1").valueType(), T::Error);
    }
    xls::Cell &flag = data().touch(0, 1);
    flag.kind = xls::CellKind::Bool;
    flag.code = 1;
    EXPECT_EQ(text("B1"), QStringLiteral("VERO"));
    flag.code = 0;
    EXPECT_EQ(text("B1"), QStringLiteral("FALSO"));
    EXPECT_EQ(at("B1").valueType(), T::Bool);
    EXPECT_EQ(text("Z99"), QString());
}

TEST_F(CellText, ATextLongerThanACellHoldsIsRefused)
{
    EXPECT_NO_THROW(put("A1", QString(32767, QLatin1Char('x'))));
    EXPECT_THROW(put("A2", QString(32768, QLatin1Char('x'))), host::HostError);
    EXPECT_TRUE(at("A2").isEmpty());
}

} // namespace
