#pragma once

#include "Worksheet.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace host {

class Application;
namespace detail {
struct Engine;
struct WorkbookFile;
} // namespace detail

// An open workbook: its sheets, its active sheet, and the file it is saved to with the
// scheme and password it was opened with.
class Workbook {
public:
    // A workbook made in memory (`isNew`) never replaces, on its first save, a file that is
    // already at `path`.
    Workbook(Application &app, QString path, std::unique_ptr<detail::WorkbookFile> file, bool isNew);
    ~Workbook();

    Application &application() const { return app_; }
    QString fullName() const { return path_; }
    QStringList sheetNames() const;          // worksheets, in workbook order
    Worksheet &sheets(const QString &name); // case-insensitive; HostError 9 when there is none
    Worksheet &activeSheet();
    bool isClosed() const { return !file_; }

    // Freezes the panes of the active sheet above and left of its selection, as the
    // active window's FreezePanes = true; false unfreezes.
    void setFreezePanes(bool frozen);
    bool freezePanes();
    int splitRow();    // rows frozen above the panes of the active sheet (the window's SplitRow)
    int splitColumn(); // columns frozen left of them (SplitColumn)

    void save();                             // in place, atomic; HostError on failure
    void saveAs();                           // no arguments: in place again
    void close(bool saveChanges);            // further use raises HostError

    // Removes the temporary files that saves of `path` left beside it when they were killed
    // half-way; a save still running keeps its own. Returns how many were removed.
    static int removeAbandonedSaves(const QString &path);

private:
    friend struct detail::Engine;
    friend class Worksheet;
    void activate(std::size_t sheetIndex);   // index into the book's sheets

    Application &app_;
    QString path_;
    std::unique_ptr<detail::WorkbookFile> file_;
    bool isNew_;
    std::vector<std::unique_ptr<Worksheet>> sheets_;
    std::size_t active_ = 0;                 // index into the book's sheets
};

} // namespace host
