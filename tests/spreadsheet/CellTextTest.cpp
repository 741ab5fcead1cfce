#include "spreadsheet/DateSerial.h"
#include "spreadsheet/HostError.h"
#include "HostFixture.h"

namespace {

using T = host::ValueType;

class CellText : public HostFixture {};

TEST_F(CellText, AWrittenTextBecomesANumberOnlyWhenItReadsBackIdenticallyInItalian)
{
    const WriteCase cases[] = {
        {"42", T::Number},   {"-3", T::Number},  {"42,5", T::Number}, {"0", T::Number},    {"00184", T::Text},
        {"1.000", T::Text},  {"1e5", T::Text},   {" 42", T::Text},    {"+42", T::Text},    {"42,0", T::Text},
        {"42.5", T::Text},   {"-0", T::Text},    {"=1+1", T::Text},   {"VERO", T::Text},   {"Perù “€”", T::Text},
        {"12345678901234567890", T::Text},       {"05/12/2026", T::Text},
    };
    for (const WriteCase &c : cases)
        expectWrites(at("C5"), c);
}

TEST(CellTextEnglish, AWrittenTextFollowsTheEnglishDecimalPoint)
{
    host::Application app{Regional(QLocale(QLocale::English, QLocale::UnitedStates))};
    host::Workbook &book = app.create(QStringLiteral("/nonexistent/e.xls"), QString(), QStringLiteral("S"));
    host::Range cell = book.sheets(QStringLiteral("S")).range(QStringLiteral("A1"));
    for (const WriteCase &c : {WriteCase{"42.5", T::Number}, {"42,5", T::Text}, {"1,000", T::Text}, {"42.50", T::Text}})
        expectWrites(cell, c);
}

TEST_F(CellText, AnEmptyTextEmptiesTheCellAndKeepsItsFormat)
{
    put("A3", QStringLiteral("42"));
    put("A3", QString());
    EXPECT_EQ(sheet.usedRange().address(), QStringLiteral("$A$1")); // default format: nothing left
    put("B3", QStringLiteral("x"));
    at("B3").setNumberFormat(QStringLiteral("0.00"));
    put("B3", QString());
    EXPECT_EQ(sheet.usedRange().address(), QStringLiteral("$B$3")); // a formatted blank
    EXPECT_EQ(at("B3").numberFormat(), QStringLiteral("0.00"));
    EXPECT_TRUE(at("B3").isEmpty());
    EXPECT_EQ(text("B3"), QString());
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
    at("D2").setNumberFormat(QStringLiteral("dd/mm/yyyy"));
    for (const WriteCase &c : {WriteCase{"05/12/2026", T::Date}, {"42", T::Text}})
        expectWrites(at("D2"), c); // a date cell turns a written date back into a date
}

TEST(DateSerial, SerialsReadAsTheRegionalShortDateWithTheHostsLeapDayAndNothingOutsideTheDates)
{
    const Regional italian = Regional::italian();
    EXPECT_EQ(host::serialDateText(60, false, italian), QStringLiteral("29/02/1900"));
    EXPECT_EQ(host::serialDateText(45351.75, false, italian), QStringLiteral("29/02/2024"));
    for (const auto &[serial, date1904] : {std::pair{0.0, false}, {-1.0, true}, {3e6, false}})
        EXPECT_EQ(host::serialDateText(serial, date1904, italian), std::nullopt) << serial;
}

TEST_F(CellText, BooleansAndErrorsReadByTheirItalianNames)
{
    const std::tuple<xls::CellKind, std::uint8_t, const char *, T> cases[] = {
        {xls::CellKind::Error, 0x00, "#NULLO!", T::Error}, {xls::CellKind::Error, 0x07, "#DIV/0!", T::Error},
        {xls::CellKind::Error, 0x0F, "#VALORE!", T::Error}, {xls::CellKind::Error, 0x17, "#RIF!", T::Error},
        {xls::CellKind::Error, 0x1D, "#NOME?", T::Error},  {xls::CellKind::Error, 0x24, "#NUM!", T::Error},
        {xls::CellKind::Error, 0x2A, "#N/D", T::Error},    {xls::CellKind::Bool, 1, "VERO", T::Bool},
        {xls::CellKind::Bool, 0, "FALSO", T::Bool},
    };
    for (const auto &[kind, code, name, type] : cases) {
        xls::Cell &cell = data().touch(0, 0);
        cell.kind = kind;
        cell.code = code;
        EXPECT_EQ(text("A1"), QString::fromLatin1(name));
        EXPECT_EQ(at("A1").valueType(), type) << name;
    }
    EXPECT_EQ(text("Z99"), QString());
}

TEST_F(CellText, ATextLongerThanACellHoldsIsRefused)
{
    EXPECT_NO_THROW(put("A1", QString(32767, QLatin1Char('x'))));
    EXPECT_THROW(put("A2", QString(32768, QLatin1Char('x'))), host::HostError);
    EXPECT_TRUE(at("A2").isEmpty());
}

} // namespace
