#pragma once

#include "spreadsheet/xls/container/Bytes.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The in-memory workbook the reader fills and the writer serialises. Free of Qt so that
// the record layer and the fuzz target stay small; texts are UTF-16 as in the file.
namespace xls {

// A record kept as it was read, written back unchanged (type + body, CONTINUEs separate).
struct RawRecord {
    std::uint16_t type = 0;
    Bytes body;
};

enum class CellKind : std::uint8_t { Blank, Number, Text, Bool, Error };

// 16 bytes: a registry of 32,767 x 18 cells must stay well under 80 MB.
struct Cell {
    std::uint16_t col = 0;
    std::uint16_t xf = 15;           // index into Book::xfs
    CellKind kind = CellKind::Blank; // Blank = formatted empty cell (BLANK/MULBLANK)
    std::uint8_t code = 0;           // Bool: 0/1; Error: the BIFF error code
    std::uint32_t text = 0;          // Text: index into Book::strings
    double number = 0;               // Number (dates are numbers with a date format)
};

struct Row {
    std::vector<Cell> cells;          // sorted by col, no duplicates
    std::optional<RawRecord> record;  // the ROW record as read (height, flags); rw rewritten on write
};

// Strings of the whole book, indexed by Cell::text. Appending never moves indices; the
// writer builds the shared string table from the strings cells still reference.
class StringPool {
public:
    std::uint32_t add(std::u16string_view s);
    std::u16string_view at(std::uint32_t index) const
    {
        if (index >= offsets_.size())
            return {};
        const std::size_t end = index + 1 < offsets_.size() ? offsets_[index + 1] : committed_;
        return std::u16string_view(chars_.data() + offsets_[index], end - offsets_[index]);
    }
    std::size_t size() const { return offsets_.size(); }
    std::size_t characters() const { return committed_; } // of every string together
    void reserve(std::size_t strings, std::size_t chars);
    // Building a string in place (the SST reader): append its pieces, then commit them as
    // one new string.
    void appendLatin1(const std::uint8_t *p, std::size_t n)
    {
        char16_t *d = extend(n);
        for (std::size_t i = 0; i < n; ++i)
            d[i] = p[i];
    }
    void appendUtf16le(const std::uint8_t *p, std::size_t n)
    {
        char16_t *d = extend(n);
        for (std::size_t i = 0; i < n; ++i)
            d[i] = static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8);
    }
    std::uint32_t commitAppended()
    {
        const auto index = static_cast<std::uint32_t>(offsets_.size());
        offsets_.push_back(static_cast<std::uint32_t>(committed_));
        committed_ = end_;
        return index;
    }
    // Formatting runs and phonetic data of a rich string read from the SST, kept verbatim.
    struct Rich { Bytes runs; Bytes phonetic; std::uint16_t runCount = 0; };
    std::map<std::uint32_t, Rich> rich;

private:
    // Room for n more characters at the end of those in use; the storage grows in steps so
    // that most strings are written straight into it.
    char16_t *extend(std::size_t n)
    {
        if (chars_.size() - end_ < n)
            grow(n);
        char16_t *d = chars_.data() + end_;
        end_ += n;
        return d;
    }
    void grow(std::size_t n);

    std::u16string chars_;                // every string, back to back, then unused room
    std::size_t end_ = 0;                 // chars_ in use: committed strings and pieces after them
    std::vector<std::uint32_t> offsets_;  // where each starts; it ends where the next starts
    std::size_t committed_ = 0;           // chars_ up to here belong to committed strings
};

struct ColumnInfo {                   // COLINFO: columns first..last (0-based, inclusive)
    std::uint16_t first = 0, last = 0;
    std::uint16_t width = 2340;       // 1/256 of a character
    std::uint16_t xf = 15;
    std::uint16_t options = 0;
};

struct PageSetup {
    std::optional<std::u16string> printArea; // absolute A1 text, e.g. "$A$1:$R$40"; the sheet's Print_Area name
    std::u16string header;                   // HEADER string with &L/&C/&R sections
    std::u16string footer;
    double leftMargin = 0.7, rightMargin = 0.7, topMargin = 0.75, bottomMargin = 0.75; // inches
    double headerMargin = 0.3, footerMargin = 0.3;                                     // inches
    bool fitToPages = false;                 // WSBOOL fFitToPage: zoom off, fit wide x tall
    std::uint16_t fitWide = 1, fitTall = 1;
    std::uint16_t zoom = 100;                // 10..400
    bool landscape = false;
    std::uint16_t paperSize = 9;             // 9 = A4
    bool hasSetup = false;                   // a SETUP record was read or a value was set
};

struct Window {
    std::uint16_t frozenRows = 0, frozenCols = 0; // panes frozen above/left of this row/col
    std::uint16_t topRow = 0, leftCol = 0;        // first visible cell
    std::uint16_t activeRow = 0, activeCol = 0;   // selection (one cell)
    bool selected = false;                        // tab selected (WINDOW2 fSelected)
    bool operator==(const Window &) const = default;
};

// The key of a formula cell in Sheet::formulas: ordered by row, then column.
inline std::uint32_t formulaKey(std::uint32_t row, std::uint16_t col) { return row << 8 | (col & 0xFFu); }
inline std::uint32_t formulaRow(std::uint32_t key) { return key >> 8; }
inline std::uint16_t formulaColumn(std::uint32_t key) { return static_cast<std::uint16_t>(key & 0xFFu); }

enum class SheetKind : std::uint8_t { Worksheet, Other }; // Other: chart, macro, VB module: kept raw

struct Sheet {
    std::u16string name;
    SheetKind kind = SheetKind::Worksheet;
    std::uint8_t visibility = 0;   // BOUNDSHEET hsState
    std::uint8_t boundType = 0;    // BOUNDSHEET dt
    std::vector<Row> rows;         // index = 0-based row; may be shorter than the last row
    std::vector<ColumnInfo> columns;
    PageSetup page;
    Window window;
    Window readWindow; // the view as read: while `window` equals it, PANE/SELECTION stay as read
    // Everything else in the substream, in file order, written back as read. The writer
    // drops cell, ROW, DBCELL, INDEX, DIMENSIONS, COLINFO, WINDOW2, PANE, SELECTION and the
    // page-setup records from here and emits the model's own at their places.
    // The reader keeps one record of each model-owned group as the placeholder of that
    // group: DIMENSIONS (empty body) stands for DIMENSIONS + rows + cells, COLINFO (empty)
    // for the columns, WINDOW2 (body as read, patched from `window`) for WINDOW2 + PANE +
    // SELECTION, HEADER/FOOTER/margins/SETUP/WSBOOL (SETUP and WSBOOL bodies as read, the
    // modelled fields patched). A group without a placeholder is written at its usual place.
    // A PANE/SELECTION of a split (unfrozen) window stays here raw when not frozen.
    std::vector<RawRecord> records;
    // Formula cells: raw FORMULA record body (+ STRING/SHRFMLA/ARRAY that followed it),
    // keyed by formulaKey(row, col). The Cell holds the cached value; a cell given another
    // value is written as that value, without its formula.
    std::map<std::uint32_t, std::vector<RawRecord>> formulas;

    const Cell *cell(std::uint32_t row, std::uint16_t col) const;
    Cell &touch(std::uint32_t row, std::uint16_t col); // creates a Blank cell if missing
    void erase(std::uint32_t row, std::uint16_t col);  // removes cell and formula
    void deleteRow(std::uint32_t row);                  // shifts rows below up by one
};

struct Xf {
    Bytes raw;                 // the 20-byte XF body as read; ifmt is bytes 2..3
    std::uint16_t format() const;
    void setFormat(std::uint16_t ifmt);
};

struct Book {
    std::vector<Sheet> sheets;
    StringPool strings;
    std::map<std::uint16_t, std::u16string> formats; // FORMAT records (ifmt -> code)
    std::vector<Xf> xfs;
    bool date1904 = false;
    // Globals substream records the model does not own, in order (BOF first). Empty-body
    // FORMAT, XF, DATEMODE, BOUNDSHEET and SST records are placeholders: the writer emits the
    // model's FORMATs, XFs, DATEMODE, BOUNDSHEETs and SST+EXTSST there. NAME, SUPBOOK and
    // EXTERNSHEET are kept as read; builtin Print_Area names are rewritten from the sheets.
    std::vector<RawRecord> globals;

    // A format code for an XF: custom FORMAT text or the built-in code for its ifmt.
    std::u16string formatCode(std::uint16_t xf) const;
    bool isDateFormat(std::uint16_t xf) const;
    bool isTextFormat(std::uint16_t xf) const; // "@"
    // An XF equal to `base` but with number format `code`, added when none exists yet.
    std::uint16_t xfWithFormat(std::uint16_t base, std::u16string_view code);
};

// A fresh workbook with one empty worksheet of this name and the default styles.
Book newBook(std::u16string_view sheetName);

// The code of a built-in number format (0..49); "General" for unknown ids.
std::u16string_view builtinFormatCode(std::uint16_t ifmt);
// True when the code shows a date or time: d, m, y, h or s outside quotes, brackets and escapes.
bool isDateFormatCode(std::u16string_view code);

} // namespace xls
