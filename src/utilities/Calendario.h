#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;

namespace app { class Forms; }

namespace utilities {

// The date picker: a month calendar whose clicked day goes into the registry window's date
// field while that field is visible, and then the picker closes.
class Calendario : public QWidget {
    Q_OBJECT

public:
    explicit Calendario(app::Forms &forms);

    void load();
    // Each time the window becomes active: the calendar back on today.
    void FormActivate();

private:
    void CalendarioDateClick(QDate date);

    app::Forms &forms_;
    QCalendarWidget *calendar;
};

} // namespace utilities
