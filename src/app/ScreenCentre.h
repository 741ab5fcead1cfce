#pragma once

class QWidget;

namespace app {

// Sizes a window to its contents and puts it in the middle of the primary screen's free area,
// where the program's windows open.
void centreOnScreen(QWidget &window);

} // namespace app
