#pragma once

#include <QString>
#include <cstdint>

namespace app { class Forms; }
namespace host { class Application; class Range; class Worksheet; }

namespace printing {

class StampaP;

// The registry print job behind "Seleziona": asks the zoom and the orientation, sets up the
// registry sheet's pages, counts them and prints each page the user confirms on the printer
// StampaP names. Every step ignores the errors it meets and the next step runs; only the
// first page that fails to print is reported, so that a wrong printer does not go unseen.
class PrintRegistryPages {
public:
    PrintRegistryPages(app::Forms &forms, StampaP &window);
    void run();
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
    void finish();

    app::Forms &forms_;
    StampaP &window_;
    std::int32_t zoom_ = 0;
    std::int16_t pageCount_ = 0;
    bool failureReported_ = false;
};

} // namespace printing
