#pragma once

#include <QString>

class QLineEdit;
class QTimer;
class QWidget;
class Regional;

namespace kit {

inline const QString kClockPrefix = QStringLiteral("Ore...");

// "Ore..." followed directly by the time now in the regional time format.
QString clockText(const Regional &regional);
// "Timer1" of `window`: once started, it writes the clock into `field` every second.
QTimer *makeClock(QWidget &window, QLineEdit &field, const Regional &regional);

} // namespace kit
