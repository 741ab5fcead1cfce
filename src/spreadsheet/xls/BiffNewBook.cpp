#include "BiffWriter.h"
#include "Book.h"
#include "ByteWriter.h"
#include "RecordTypes.h"

#include <initializer_list>

// The records of a fresh workbook: what Excel and LibreOffice write for an empty book
// (BIFF8, Arial 10, the 21 standard XFs and their styles), so every reader accepts it.
namespace xls {

namespace {

RawRecord make(std::uint16_t type, std::initializer_list<std::uint8_t> body)
{
    return RawRecord{type, Bytes(body)};
}

RawRecord u16Record(std::uint16_t type, std::uint16_t value)
{
    return RawRecord{type, Bytes{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)}};
}

RawRecord bof(std::uint16_t dt) { return RawRecord{rec::Bof, bofBody(dt)}; }

RawRecord font(bool bold)
{
    Bytes b;
    ByteWriter w(b);
    w.u16(200);                    // 10 pt in twips
    w.u16(0);                      // no italic/strike
    w.u16(0x7FFF);                 // automatic colour
    w.u16(bold ? 700 : 400);
    w.u16(0);                      // no super/subscript
    w.u8(0);                       // no underline
    w.u8(2);                       // swiss family
    w.u8(0);                       // ANSI charset
    w.u8(0);
    w.shortUnicodeString(u"Arial");
    return RawRecord{rec::Font, b};
}

Xf xf(std::uint16_t font, std::uint16_t ifmt, bool style, std::uint8_t usedAttributes)
{
    Bytes b;
    ByteWriter w(b);
    w.u16(font);
    w.u16(ifmt);
    w.u16(style ? 0xFFF5 : 0x0001); // locked; a style has no parent, a cell XF's parent is 0
    w.u8(0x20);                     // bottom aligned
    w.u8(0);
    w.u8(0);
    w.u8(usedAttributes);
    w.zeros(8);                     // no borders
    w.u16(0x20C0);                  // automatic pattern colours
    return Xf{b};
}

RawRecord style(std::uint16_t xfIndex, std::uint8_t builtin)
{
    Bytes b;
    ByteWriter w(b);
    w.u16(static_cast<std::uint16_t>(0x8000 | xfIndex));
    w.u8(builtin);
    w.u8(0xFF);
    return RawRecord{rec::Style, b};
}

RawRecord placeholder(std::uint16_t type) { return RawRecord{type, {}}; }

std::vector<RawRecord> newGlobals()
{
    std::vector<RawRecord> g;
    g.push_back(bof(rec::BofGlobals));
    g.push_back(u16Record(rec::InterfaceHdr, 0x04B0));
    g.push_back(u16Record(rec::Mms, 0));
    g.push_back(make(rec::InterfaceEnd, {}));
    {
        Bytes b;
        ByteWriter w(b);
        w.unicodeString(u"Velmoro");
        b.resize(112, ' ');
        g.push_back(RawRecord{rec::WriteAccess, b});
    }
    g.push_back(u16Record(rec::CodePage, 0x04B0));
    g.push_back(u16Record(rec::Dsf, 0));
    g.push_back(u16Record(rec::TabId, 1));
    g.push_back(u16Record(rec::FnGroupCount, 0x000E));
    for (std::uint16_t type : {rec::WindowProtect, rec::Protect, rec::Password, rec::Prot4Rev, rec::Prot4RevPass})
        g.push_back(u16Record(type, 0));
    g.push_back(make(rec::Window1, {0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x20, 0x38, 0x00,
                                    0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x58, 0x02}));
    g.push_back(u16Record(rec::Backup, 0));
    g.push_back(u16Record(rec::HideObj, 0));
    g.push_back(placeholder(rec::DateMode));
    g.push_back(u16Record(rec::Precision, 1));
    g.push_back(u16Record(rec::RefreshAll, 0));
    g.push_back(u16Record(rec::BookBool, 0));
    for (int i = 0; i < 4; ++i)
        g.push_back(font(false));
    g.push_back(placeholder(rec::Format));
    g.push_back(placeholder(rec::Xf));
    g.push_back(style(0x00, 0));  // Normal
    g.push_back(style(0x10, 3));  // Comma
    g.push_back(style(0x11, 6));  // Comma [0]
    g.push_back(style(0x12, 4));  // Currency
    g.push_back(style(0x13, 7));  // Currency [0]
    g.push_back(style(0x14, 5));  // Percent
    g.push_back(u16Record(rec::UsesElfs, 0));
    g.push_back(placeholder(rec::BoundSheet));
    g.push_back(make(rec::Country, {0x27, 0x00, 0x27, 0x00})); // Italy
    g.push_back(placeholder(rec::Sst));
    g.push_back(make(rec::Eof, {}));
    return g;
}

// The 15 style XFs, the default cell XF and the styles' XFs of the built-in number formats.
std::vector<Xf> standardXfs()
{
    std::vector<Xf> xfs;
    xfs.push_back(xf(0, 0, true, 0x00));
    for (std::uint16_t i = 1; i <= 14; ++i)
        xfs.push_back(xf(i <= 2 ? 1 : (i <= 4 ? 2 : 0), 0, true, 0xF4));
    xfs.push_back(xf(0, 0, false, 0x00));
    for (std::uint16_t ifmt : {43, 41, 44, 42, 9})
        xfs.push_back(xf(1, ifmt, true, 0xF8));
    return xfs;
}

RawRecord newSetup()
{
    Bytes b(setup::Size, 0);
    ByteWriter::put16(&b[setup::PaperSize], 9); // A4
    ByteWriter::put16(&b[setup::Scale], 100);
    ByteWriter::put16(&b[setup::PageStart], 1);
    ByteWriter::put16(&b[setup::FitWidth], 1);
    ByteWriter::put16(&b[setup::FitHeight], 1);
    ByteWriter::put16(&b[setup::Flags], 0x0083); // pages left to right, portrait, fUsePage
    ByteWriter::put16(&b[setup::HorizontalDpi], 300);
    ByteWriter::put16(&b[setup::VerticalDpi], 300);
    ByteWriter::put16(&b[setup::Copies], 1);
    return RawRecord{rec::Setup, b};
}

Sheet newSheet(std::u16string_view name)
{
    Sheet sheet;
    sheet.name = std::u16string(name);
    sheet.window.selected = true;
    auto &r = sheet.records;
    r.push_back(bof(rec::BofWorksheet));
    r.push_back(u16Record(rec::CalcCount, 100));
    r.push_back(u16Record(rec::CalcMode, 1));
    r.push_back(u16Record(rec::RefMode, 1));
    r.push_back(u16Record(rec::Iteration, 0));
    r.push_back(make(rec::Delta, {0xFC, 0xA9, 0xF1, 0xD2, 0x4D, 0x62, 0x50, 0x3F}));
    r.push_back(u16Record(rec::SaveRecalc, 1));
    r.push_back(u16Record(rec::PrintHeaders, 0));
    r.push_back(u16Record(rec::PrintGridlines, 0));
    r.push_back(u16Record(rec::GridSet, 1));
    r.push_back(make(rec::Guts, {0, 0, 0, 0, 0, 0, 0, 0}));
    r.push_back(make(rec::DefaultRowHeight, {0x00, 0x00, 0xFF, 0x00}));
    r.push_back(u16Record(rec::WsBool, 0x04C1));
    r.push_back(placeholder(rec::Header));
    r.push_back(placeholder(rec::Footer));
    r.push_back(u16Record(rec::HCenter, 0));
    r.push_back(u16Record(rec::VCenter, 0));
    for (std::uint16_t m : {rec::LeftMargin, rec::RightMargin, rec::TopMargin, rec::BottomMargin})
        r.push_back(placeholder(m));
    r.push_back(newSetup());
    r.push_back(u16Record(rec::DefColWidth, 8));
    r.push_back(placeholder(rec::Dimensions));
    r.push_back(make(rec::Window2, {0xB6, 0x06, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    r.push_back(make(rec::Eof, {}));
    return sheet;
}

} // namespace

Book newBook(std::u16string_view sheetName)
{
    Book book;
    book.globals = newGlobals();
    book.xfs = standardXfs();
    book.sheets.push_back(newSheet(sheetName));
    return book;
}

} // namespace xls
