#include "Workbook.h"

#include "Application.h"
#include "HostErrors.h"
#include "XlsFile.h"

#include <QFile>

namespace host {
namespace {

constexpr std::uint16_t kWindow1 = 0x003D; // WINDOW1: the book window, itabCur at offset 10

xls::RawRecord *window1(xls::Book &book)
{
    for (xls::RawRecord &record : book.globals) {
        if (record.type == kWindow1 && record.body.size() >= 14)
            return &record;
    }
    return nullptr;
}

} // namespace

Workbook::Workbook(Application &app, QString path, std::unique_ptr<xls::XlsFile> file)
    : app_(app), path_(std::move(path)), file_(std::move(file))
{
    xls::Book &book = file_->book;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        if (book.sheets[i].kind == xls::SheetKind::Worksheet)
            sheets_.push_back(std::make_unique<Worksheet>(*this, i));
    }
    std::size_t current = 0;
    if (const xls::RawRecord *record = window1(book))
        current = std::size_t(record->body[10] | record->body[11] << 8);
    if (current >= book.sheets.size() || book.sheets[current].kind != xls::SheetKind::Worksheet)
        current = sheets_.empty() ? 0 : sheets_.front()->index();
    active_ = current;
}

Workbook::~Workbook() = default;

xls::XlsFile &Workbook::file() const
{
    if (!file_)
        throw workbookClosed();
    return *file_;
}

QStringList Workbook::sheetNames() const
{
    file();
    QStringList names;
    for (const auto &sheet : sheets_)
        names << sheet->name();
    return names;
}

Worksheet &Workbook::sheets(const QString &name)
{
    file();
    for (const auto &sheet : sheets_) {
        if (sheet->name().compare(name, Qt::CaseInsensitive) == 0)
            return *sheet;
    }
    throw sheetNotFound();
}

Worksheet &Workbook::activeSheet()
{
    file();
    for (const auto &sheet : sheets_) {
        if (sheet->index() == active_)
            return *sheet;
    }
    throw invalidArgument(QStringLiteral("La cartella di lavoro non contiene fogli di lavoro."));
}

void Workbook::activate(std::size_t sheetIndex)
{
    xls::Book &book = file().book;
    active_ = sheetIndex;
    for (std::size_t i = 0; i < book.sheets.size(); ++i)
        book.sheets[i].window.selected = i == sheetIndex;
    if (xls::RawRecord *record = window1(book)) {
        record->body[10] = std::uint8_t(sheetIndex);
        record->body[11] = std::uint8_t(sheetIndex >> 8);
        const std::size_t first = std::size_t(record->body[12] | record->body[13] << 8);
        if (first > sheetIndex) {
            record->body[12] = record->body[10];
            record->body[13] = record->body[11];
        }
        if (record->body.size() >= 16) { // ctabSel: one tab selected, the active one
            record->body[14] = 1;
            record->body[15] = 0;
        }
    }
}

void Workbook::setFreezePanes(bool frozen)
{
    Worksheet &sheet = activeSheet();
    xls::Window &window = sheet.data().window;
    if (!frozen) {
        window.frozenRows = window.frozenCols = 0;
        return;
    }
    const Range topLeft = sheet.selection();
    window.frozenRows = std::uint16_t(topLeft.row() - 1);
    window.frozenCols = std::uint16_t(topLeft.column() - 1);
}

bool Workbook::freezePanes()
{
    const xls::Window &window = activeSheet().data().window;
    return window.frozenRows > 0 || window.frozenCols > 0;
}

void Workbook::save()
{
    const xls::XlsFile &data = file();
    try {
        xls::saveXlsFile(data, QFile::encodeName(path_).toStdString());
    } catch (const std::exception &error) {
        throw saveFailed(path_, QString::fromUtf8(error.what()));
    }
}

void Workbook::saveAs()
{
    save();
}

void Workbook::close(bool saveChanges)
{
    file();
    if (saveChanges)
        save();
    file_.reset();
}

} // namespace host
