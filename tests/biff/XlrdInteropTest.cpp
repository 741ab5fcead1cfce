#include "RecordList.h"
#include "XlsFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

using namespace xls;
using biff_test::addNumber;
using biff_test::addText;

namespace {

std::string run(const std::string &command)
{
    std::string out;
    FILE *p = popen(command.c_str(), "r");
    if (!p)
        return out;
    char buf[65536];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    pclose(p);
    return out;
}

QString cellName(std::uint32_t row, std::uint16_t col)
{
    QString letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar('A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

} // namespace

TEST(BiffXlrdInterop, XlrdReadsTheCellsWeWrite)
{
    Book book = newBook(u"Velmoro");
    Sheet header = book.sheets[0];
    header.name = u"Solo intestazione";
    header.window.selected = false;
    book.sheets.push_back(header);
    Sheet &s = book.sheets[0];
    const std::uint16_t textXf = book.xfWithFormat(15, u"@");
    const std::uint16_t dateXf = book.xfWithFormat(15, u"dd/mm/yyyy");
    addText(book, s, 0, 0, u"ID");
    addText(book, s, 0, 1, u"Città");
    addText(book, s, 0, 2, u"Bianchi S.p.A. – Perù “quoted” €");
    addText(book, s, 1, 1, u"00184").xf = textXf;
    addText(book, s, 1, 2, u"multi\nline");
    addNumber(s, 1, 0, 41);
    addNumber(s, 1, 3, 46361, dateXf);
    addNumber(s, 1, 4, 1234.56789);
    s.touch(1, 5) = Cell{5, 15, CellKind::Bool, 1};
    for (std::uint32_t i = 0; i < 3000; ++i)
        addText(book, s, 2 + i / 5, static_cast<std::uint16_t>(i % 5),
             (i % 2 ? u"voce € " : u"voce à ") + std::u16string(i % 150, u'x') + u" " + std::u16string(1, u'0' + i % 10)
                 + std::u16string(1, u'A' + (i / 10) % 26) + std::u16string(1, u'a' + (i / 260) % 26));
    addText(book, book.sheets[1], 0, 0, u"Intestazione");
    s.window.frozenRows = 1;
    s.window.activeRow = 1;
    s.columns.push_back({8, 9, 2340, textXf, 0});

    const std::string path =
        (std::filesystem::temp_directory_path() / ("xlrd_interop_" + std::to_string(::getpid()) + ".xls")).string();
    saveXlsFile(newXlsFile(book, u""), path);
    const std::string json = run(std::string("/usr/bin/python3 ") + BIFF_XLRD_SCRIPT + " '" + path + "'");
    const QJsonObject out = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    ASSERT_FALSE(out.isEmpty()) << json;
    EXPECT_EQ(out["date1904"].toInt(), 0);
    const QJsonArray sheets = out["sheets"].toArray();
    ASSERT_EQ(sheets.size(), 2);
    for (std::size_t si = 0; si < 2; ++si) {
        const Sheet &sheet = book.sheets[si];
        const QJsonObject js = sheets[static_cast<int>(si)].toObject();
        EXPECT_EQ(js["name"].toString(), QString::fromStdU16String(sheet.name));
        const QJsonObject cells = js["cells"].toObject();
        std::size_t count = 0;
        for (std::size_t r = 0; r < sheet.rows.size(); ++r)
            for (const Cell &c : sheet.rows[r].cells) {
                const QString name = cellName(static_cast<std::uint32_t>(r), c.col);
                const QJsonArray v = cells[name].toArray();
                SCOPED_TRACE(name.toStdString());
                ++count;
                ASSERT_EQ(v.size(), 3);
                switch (c.kind) {
                case CellKind::Text:
                    EXPECT_EQ(v[0].toString(), "text");
                    EXPECT_EQ(v[1].toString(), QString::fromStdU16String(std::u16string(book.strings.at(c.text))));
                    break;
                case CellKind::Number:
                    EXPECT_EQ(v[0].toString(), book.isDateFormat(c.xf) ? "date" : "number");
                    EXPECT_EQ(v[1].toDouble(), c.number);
                    break;
                case CellKind::Bool:
                    EXPECT_EQ(v[0].toString(), "bool");
                    EXPECT_EQ(v[1].toInt(), c.code);
                    break;
                default:
                    break;
                }
                EXPECT_EQ(v[2].toString(), QString::fromStdU16String(book.formatCode(c.xf)));
            }
        EXPECT_EQ(static_cast<std::size_t>(cells.size()), count);
    }
    EXPECT_EQ(sheets[0].toObject()["frozen"].toArray()[0].toInt(), 1);
    EXPECT_EQ(sheets[1].toObject()["frozen"].toArray()[0].toInt(), 0);
    std::filesystem::remove(path);
}
