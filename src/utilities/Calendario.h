#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;

namespace kit { struct Context; }

namespace utilities {

// The date picker: a month calendar that says which day the user clicked (or reached with the
// keyboard and picked with Enter).
class Calendario : public QWidget {
    Q_OBJECT

public:
    explicit Calendario(kit::Context &context);

    void load();
    // Each time the window becomes active: the calendar back on today.
    void FormActivate();

signals:
    void datePicked(QDate date);

private:
    QCalendarWidget *calendar;
};

} // namespace utilities
