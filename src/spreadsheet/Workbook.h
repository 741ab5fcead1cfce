#pragma once

#include "Worksheet.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace xls { struct XlsFile; }

namespace host {

class Application;

// An open workbook: its sheets, its active sheet, and the file it is saved to with the
// scheme and password it was opened with.
class Workbook {
public:
    Workbook(Application &app, QString path, std::unique_ptr<xls::XlsFile> file);
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

    void save();                             // in place, atomic; HostError on failure
    void saveAs();                           // no arguments: in place again
    void close(bool saveChanges);            // further use raises HostError
    xls::XlsFile &file() const;              // HostError once closed

private:
    friend class Worksheet;
    void activate(std::size_t sheetIndex);   // index into the book's sheets

    Application &app_;
    QString path_;
    std::unique_ptr<xls::XlsFile> file_;
    std::vector<std::unique_ptr<Worksheet>> sheets_;
    std::size_t active_ = 0;                 // index into the book's sheets
};

} // namespace host
