#include "Workbook.h"

#include "Application.h"
#include "spreadsheet/xls/ByteWriter.h"
#include "HostErrors.h"
#include "spreadsheet/xls/container/LittleEndian.h"
#include "spreadsheet/xls/RecordTypes.h"
#include "spreadsheet/xls/Window1.h"
#include "spreadsheet/detail/Engine.h"

#include <QFile>

namespace host {
namespace {

// The book window, WINDOW1, whole.
xls::RawRecord *window1(xls::Book &book)
{
    for (xls::RawRecord &record : book.globals) {
        if (record.type == xls::rec::Window1 && record.body.size() >= 14)
            return &record;
    }
    return nullptr;
}

} // namespace

Workbook::Workbook(Application &app, QString path, std::unique_ptr<detail::WorkbookFile> file, bool isNew)
    : app_(app), path_(std::move(path)), file_(std::move(file)), isNew_(isNew)
{
    xls::Book &book = file_->xls.book;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        if (book.sheets[i].kind == xls::SheetKind::Worksheet)
            sheets_.push_back(std::make_unique<Worksheet>(*this, i));
    }
    std::size_t current = 0;
    if (const xls::RawRecord *record = window1(book))
        current = xls::le16(&record->body[xls::kWindow1ActiveTab]);
    if (current >= book.sheets.size() || book.sheets[current].kind != xls::SheetKind::Worksheet)
        current = sheets_.empty() ? 0 : sheets_.front()->index();
    active_ = current;
}

Workbook::~Workbook() = default;

xls::XlsFile &detail::Engine::file(const Workbook &book)
{
    if (!book.file_)
        throw workbookClosed();
    return book.file_->xls;
}

QStringList Workbook::sheetNames() const
{
    detail::Engine::file(*this);
    QStringList names;
    for (const auto &sheet : sheets_)
        names << sheet->name();
    return names;
}

Worksheet &Workbook::sheets(const QString &name)
{
    detail::Engine::file(*this);
    for (const auto &sheet : sheets_) {
        if (sheet->name().compare(name, Qt::CaseInsensitive) == 0)
            return *sheet;
    }
    throw sheetNotFound();
}

Worksheet &Workbook::activeSheet()
{
    detail::Engine::file(*this);
    for (const auto &sheet : sheets_) {
        if (sheet->index() == active_)
            return *sheet;
    }
    throw invalidArgument(QStringLiteral("La cartella di lavoro non contiene fogli di lavoro."));
}

void Workbook::activate(std::size_t sheetIndex)
{
    xls::Book &book = detail::Engine::file(*this).book;
    active_ = sheetIndex;
    for (std::size_t i = 0; i < book.sheets.size(); ++i)
        book.sheets[i].window.selected = i == sheetIndex;
    xls::RawRecord *record = window1(book);
    if (!record)
        return;
    std::uint8_t *body = record->body.data();
    xls::setActiveTab(body, std::uint16_t(sheetIndex));
    if (record->body.size() >= 16)
        xls::ByteWriter::put16(body + 14, 1); // ctabSel: one tab selected, the active one
}

void Workbook::setFreezePanes(bool frozen)
{
    Worksheet &sheet = activeSheet();
    xls::Window &window = detail::Engine::sheet(sheet).window;
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
    return splitRow() > 0 || splitColumn() > 0;
}

int Workbook::splitRow()
{
    return detail::Engine::sheet(activeSheet()).window.frozenRows;
}

int Workbook::splitColumn()
{
    return detail::Engine::sheet(activeSheet()).window.frozenCols;
}

void Workbook::save()
{
    const xls::XlsFile &data = detail::Engine::file(*this);
    try {
        xls::saveXlsFile(data, QFile::encodeName(path_).toStdString(),
                         isNew_ ? xls::SaveMode::CreateOnly : xls::SaveMode::Replace);
    } catch (const std::exception &error) {
        throw saveFailed(path_, QString::fromUtf8(error.what()));
    }
    isNew_ = false;
}

void Workbook::saveAs()
{
    save();
}

void Workbook::close(bool saveChanges)
{
    detail::Engine::file(*this);
    if (saveChanges)
        save();
    file_.reset();
}

int Workbook::removeAbandonedSaves(const QString &path)
{
    return int(xls::removeAbandonedTempFiles(QFile::encodeName(path).toStdString()));
}

} // namespace host
