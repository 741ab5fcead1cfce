#pragma once

namespace root {

// Screen readers announce every window of the program as a window, also those built on a
// plain QWidget, which Qt would otherwise announce as a client area (an AT-SPI "filler").
void announceWindowsAsWindows();

} // namespace root
