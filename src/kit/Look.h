#pragma once

#include <QColor>
#include <QFont>

class QLabel;
class QWidget;

// How the program's windows look where several share it.
namespace kit {

// The pale yellow of a field open for typing.
inline const QColor kOpenFieldColour(0xFF, 0xFF, 0xC0);

// Calibri, the font of every window.
QFont windowFont(qreal points, bool bold = false);
// Calibri, 11 points, for every window of the application; Carlito, its metric twin, where
// Calibri is not installed.
void useWindowFont();
// The background of a text box.
void setBackground(QWidget &field, const QColor &colour);
// "Label5" with the offer of custom work, as the main, counter and printer windows show it.
QLabel *makeOfferLabel(QWidget &parent);

} // namespace kit
