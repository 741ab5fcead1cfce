#pragma once

class QPushButton;
class QWidget;

namespace kit {

// Makes `button` the default button of `window`, as in a dialog: Enter pressed on a control
// that has no use for it presses the button.
void setDefaultButton(QWidget &window, QPushButton &button);

} // namespace kit
