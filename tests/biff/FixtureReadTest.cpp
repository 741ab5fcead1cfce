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

std::u16string u16(const QString &s) { return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()), s.size()); }

} // namespace

TEST(BiffFixtureRead, LibreOfficeWorkbookReadsCellForCellAsItsJson)
{
    const Book book = readWorkbookStream(biff_test::readWorkbookStream(biff_test::fixture("small_plain.xls")));
    QFile f(QString::fromStdString(biff_test::fixture("small.json")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(f.readAll()).object();
    const QJsonObject sheets = json["sheets"].toObject();

    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].name, u"Velmoro");
    EXPECT_EQ(book.sheets[1].name, u"Other");
    EXPECT_FALSE(book.date1904);
    for (const Sheet &sheet : book.sheets) {
        const QJsonObject cells = sheets[QString::fromStdU16String(sheet.name)].toObject();
        std::size_t valued = 0;
        for (const auto &row : sheet.rows)
            for (const auto &c : row.cells)
                valued += c.kind != CellKind::Blank;
        EXPECT_EQ(valued, static_cast<std::size_t>(cells.size())) << "sheet cells";
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const auto [r, c] = address(it.key());
            const Cell *cell = sheet.cell(r, c);
            SCOPED_TRACE(it.key().toStdString());
            ASSERT_NE(cell, nullptr);
            const QJsonValue v = it.value();
            if (v.isString() || (v.isObject() && v.toObject().contains("text"))) {
                const QString text = v.isString() ? v.toString() : v.toObject()["text"].toString();
                ASSERT_EQ(cell->kind, CellKind::Text);
                EXPECT_EQ(book.strings.at(cell->text), u16(text));
            } else if (v.isDouble()) {
                ASSERT_EQ(cell->kind, CellKind::Number);
                EXPECT_EQ(cell->number, v.toDouble());
                EXPECT_FALSE(book.isDateFormat(cell->xf));
            } else if (v.toObject().contains("date")) {
                const QDate d = QDate::fromString(v.toObject()["date"].toString(), Qt::ISODate);
                ASSERT_EQ(cell->kind, CellKind::Number);
                EXPECT_EQ(cell->number, QDate(1899, 12, 30).daysTo(d));
                EXPECT_TRUE(book.isDateFormat(cell->xf));
                EXPECT_EQ(book.formatCode(cell->xf), u"dd/mm/yyyy");
            } else {
                const QJsonObject o = v.toObject();
                ASSERT_EQ(cell->kind, CellKind::Number);
                EXPECT_EQ(cell->number, o["number"].toDouble());
                EXPECT_EQ(book.formatCode(cell->xf), u16(o["format"].toString()));
            }
        }
    }
    // "00184" and the other texts that look like numbers stay texts; I..K, N, R are "@" columns.
    const Sheet &reg = book.sheets[0];
    EXPECT_EQ(book.strings.at(reg.cell(1, 5)->text), u"00184");
    std::vector<std::uint16_t> textColumns;
    for (const auto &ci : reg.columns)
        if (book.isTextFormat(ci.xf))
            for (std::uint32_t col = ci.first; col <= ci.last; ++col)
                textColumns.push_back(static_cast<std::uint16_t>(col));
    EXPECT_EQ(textColumns, (std::vector<std::uint16_t>{8, 9, 10, 13, 17}));
    EXPECT_EQ(reg.columns.back().last, 255) << "colLast 256 is clamped to IV";
    EXPECT_EQ(reg.window.frozenRows, 1);
    EXPECT_EQ(reg.window.frozenCols, 0);
    EXPECT_EQ(reg.window.activeRow, 1);
    EXPECT_TRUE(reg.window.selected);
    EXPECT_FALSE(book.sheets[1].window.selected);
    EXPECT_EQ(reg.page.header, u"&C&P");
    EXPECT_EQ(reg.page.footer, u"&C&F");
    EXPECT_EQ(reg.page.paperSize, 9);
    EXPECT_EQ(reg.page.zoom, 100);
    EXPECT_FALSE(reg.page.landscape);
    EXPECT_DOUBLE_EQ(reg.page.leftMargin, 0.3);
    EXPECT_DOUBLE_EQ(reg.page.headerMargin, 0.1);
}
