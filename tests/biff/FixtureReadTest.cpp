#include "BiffReader.h"
#include "RecordList.h"

#include <QDate>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace xls;

namespace {

// "B12" -> (11, 1)
std::pair<std::uint32_t, std::uint16_t> address(const QString &a)
{
    int i = 0, col = 0;
    while (i < a.size() && a[i].isLetter())
        col = col * 26 + (a[i++].toUpper().unicode() - 'A' + 1);
    return {a.mid(i).toUInt() - 1, static_cast<std::uint16_t>(col - 1)};
}

// A cell as the JSON gives it: a text, a number, {"date"} or {"number", "format"}.
QString described(const Book &book, const Cell &cell)
{
    if (cell.kind == CellKind::Text)
        return QString::fromStdU16String(std::u16string(book.strings.at(cell.text)));
    const QString format = QString::fromStdU16String(std::u16string(book.formatCode(cell.xf)));
    if (book.isDateFormat(cell.xf))
        return "date " + QDate(1899, 12, 30).addDays(qint64(cell.number)).toString(Qt::ISODate) + " " + format;
    return QString::number(cell.number, 'g', 17) + (format == "General" ? "" : " " + format);
}

QString described(const QJsonValue &v)
{
    const QJsonObject o = v.toObject();
    if (v.isString() || v.isDouble())
        return v.isString() ? v.toString() : QString::number(v.toDouble(), 'g', 17);
    return o.contains("date") ? "date " + o["date"].toString() + " dd/mm/yyyy"
                              : QString::number(o["number"].toDouble(), 'g', 17) + " " + o["format"].toString();
}

} // namespace

TEST(BiffFixtureRead, LibreOfficeWorkbookReadsCellForCellAsItsJson)
{
    const Book book = readWorkbookStream(biff_test::readWorkbookStream(biff_test::fixture("small_plain.xls")));
    QFile f(QString::fromStdString(biff_test::fixture("small.json")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject sheets = QJsonDocument::fromJson(f.readAll()).object()["sheets"].toObject();
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[1].name, u"Other");
    EXPECT_FALSE(book.date1904);
    for (const Sheet &sheet : book.sheets) {
        const QJsonObject cells = sheets[QString::fromStdU16String(sheet.name)].toObject();
        std::size_t valued = 0;
        for (const auto &row : sheet.rows)
            valued += std::count_if(row.cells.begin(), row.cells.end(), [](const Cell &c) { return c.kind != CellKind::Blank; });
        EXPECT_EQ(valued, static_cast<std::size_t>(cells.size())) << "sheet cells";
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const auto [r, c] = address(it.key());
            const Cell *cell = sheet.cell(r, c);
            ASSERT_NE(cell, nullptr) << it.key().toStdString();
            EXPECT_EQ(described(book, *cell), described(it.value())) << it.key().toStdString();
        }
    }
    // I..K, N, R are "@" columns; the last column range ends past IV and is clamped.
    const Sheet &reg = book.sheets[0];
    std::vector<std::uint16_t> textColumns;
    for (const auto &ci : reg.columns)
        for (std::uint32_t col = ci.first; book.isTextFormat(ci.xf) && col <= ci.last; ++col)
            textColumns.push_back(static_cast<std::uint16_t>(col));
    EXPECT_EQ(textColumns, (std::vector<std::uint16_t>{8, 9, 10, 13, 17}));
    EXPECT_EQ(reg.columns.back().last, 255);
    const Window &w = reg.window;
    EXPECT_EQ(std::make_tuple(w.frozenRows, w.frozenCols, w.activeRow, w.selected, book.sheets[1].window.selected),
              std::make_tuple(1, 0, 1, true, false));
    const PageSetup &p = reg.page;
    EXPECT_EQ(std::make_tuple(p.header, p.footer, p.paperSize, p.zoom, p.landscape, p.leftMargin, p.headerMargin),
              std::make_tuple(u"&C&P", u"&C&F", 9, 100, false, 0.3, 0.1));
}
