#pragma once

#include <QString>
#include <cstdint>

namespace kit { struct Context; }
namespace host { class Application; class Range; class Worksheet; }

namespace printing {

// The registry print job behind "Seleziona": asks the zoom and the orientation, sets up the
// registry sheet's pages, counts them and prints each page the user confirms on the printer
// given. Every step ignores the errors it meets and the next step runs; only the
// first page that fails to print is reported, so that a wrong printer does not go unseen.
class PrintRegistryPages {
public:
    PrintRegistryPages(kit::Context &context, QString printer);
    // True when the user let the job run to its end; the host then draws the screen again.
    bool run();
    // The job's steps before its first page: the questions, the registry sheet's pages set up
    // for them, the pages counted. Returns the count the job walks (0 when they cannot be
    // counted); they are the registry sheet's first pages.
    int setUp();

private:
    host::Application &host() const;
    host::Worksheet &sheet() const;
    host::Range cell(const char *address) const;
    void askZoom();
    void setUpPages(bool portrait);
    bool printPages(); // false when the user ends the job
    bool confirmPage();
    void printPage(int page);

    kit::Context &context_;
    QString printer_;
    std::int32_t zoom_ = 0;
    std::int16_t pageCount_ = 0;
    bool failureReported_ = false;
};

} // namespace printing
