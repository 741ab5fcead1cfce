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

RawRecord bof(std::uint16_t dt)
{
    Bytes b;
    ByteWriter w(b);
    w.u16(0x0600);     // BIFF8
    w.u16(dt);
    w.u16(0x0DBB);     // build
    w.u16(0x07CC);     // year
    w.u32(0x00000000); // file history flags
    w.u32(0x00000006); // lowest BIFF version
    return RawRecord{rec::Bof, b};
}

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

} // namespace

Book newBook(std::u16string_view sheetName)
{
    Book book;
    auto &g = book.globals;
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
    g.push_back(u16Record(rec::WindowProtect, 0));
    g.push_back(u16Record(rec::Protect, 0));
    g.push_back(u16Record(rec::Password, 0));
    g.push_back(u16Record(rec::Prot4Rev, 0));
    g.push_back(u16Record(rec::Prot4RevPass, 0));
    g.push_back(make(rec::Window1, {0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x20, 0x38, 0x00,
                                    0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x58, 0x02}));
    g.push_back(u16Record(rec::Backup, 0));
    g.push_back(u16Record(rec::HideObj, 0));
    g.push_back(placeholder(rec::DateMode));
    g.push_back(u16Record(rec::Precision, 1));
    g.push_back(u16Record(rec::RefreshAll, 0));
    g.push_back(u16Record(rec::BookBool, 0));
    g.push_back(font(false));
    g.push_back(font(false));
    g.push_back(font(false));
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

    book.xfs.push_back(xf(0, 0, true, 0x00));
    for (std::uint16_t i = 1; i <= 14; ++i)
        book.xfs.push_back(xf(i <= 2 ? 1 : (i <= 4 ? 2 : 0), 0, true, 0xF4));
    book.xfs.push_back(xf(0, 0, false, 0x00));
    for (std::uint16_t ifmt : {43, 41, 44, 42, 9})
        book.xfs.push_back(xf(1, ifmt, true, 0xF8));

    Sheet sheet;
    sheet.name = std::u16string(sheetName);
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
    {
        Bytes b(34, 0);
        b[0] = 9;                 // A4
        b[2] = 100;               // scale
        b[4] = 1;                 // first page number
        b[6] = 1;                 // fit width
        b[8] = 1;                 // fit height
        b[10] = 0x83;             // pages left to right, portrait, fUsePage
        b[12] = 0x2C; b[13] = 0x01; // 300 dpi
        b[14] = 0x2C; b[15] = 0x01;
        b[32] = 1;                // copies
        r.push_back(RawRecord{rec::Setup, b});
    }
    r.push_back(u16Record(rec::DefColWidth, 8));
    r.push_back(placeholder(rec::Dimensions));
    r.push_back(make(rec::Window2, {0xB6, 0x06, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    r.push_back(make(rec::Eof, {}));
    book.sheets.push_back(std::move(sheet));
    return book;
}

} // namespace xls
