#include "Clock.h"

#include "spreadsheet/Regional.h"

#include <QLineEdit>
#include <QTime>
#include <QTimer>

namespace kit {

QString clockText(const Regional &regional)
{
    return kClockPrefix + regional.timeText(QTime::currentTime());
}

QTimer *makeClock(QWidget &window, QLineEdit &field, const Regional &regional)
{
    auto *timer = new QTimer(&window);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);
    QObject::connect(timer, &QTimer::timeout, &field, [&field, &regional] { field.setText(clockText(regional)); });
    return timer;
}

} // namespace kit
