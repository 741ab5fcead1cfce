#pragma once

class QWidget;

namespace kit {

// Sizes a window to its contents and puts it in the middle of the primary screen's free area,
// where the program's windows open.
void centreOnScreen(QWidget &window);
// Shows the window in front of the others and makes it the active one.
void bringForward(QWidget &window);

} // namespace kit
