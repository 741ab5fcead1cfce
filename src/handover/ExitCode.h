#pragma once

namespace handover {

// How velmoro-handover ends.
enum ExitCode : int {
    Loaded = 0,            // LibreOffice shows the archive
    Usage = 1,             // a wrong command line
    NotLoaded = 2,         // LibreOffice runs but could not open the archive; the reason on stderr
    OfficeUnavailable = 3, // no LibreOffice that can show a window
};

} // namespace handover
