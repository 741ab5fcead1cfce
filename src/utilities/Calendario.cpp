#include "Calendario.h"

#include "kit/Context.h"
#include "kit/Services.h"

#include <QCalendarWidget>
#include <QVBoxLayout>

namespace utilities {

Calendario::Calendario(kit::Context &context)
{
    setObjectName(QStringLiteral("Calendario"));
    setWindowTitle(QStringLiteral("Calendario"));

    calendar = new QCalendarWidget(this);
    calendar->setObjectName(QStringLiteral("Calendario"));
    calendar->setAccessibleName(QStringLiteral("Calendario"));
    calendar->setLocale(context.services.regional.locale());
    calendar->setGridVisible(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(calendar);

    // A click picks a day; Enter picks the day reached with the keyboard.
    connect(calendar, &QCalendarWidget::clicked, this, &Calendario::datePicked);
    connect(calendar, &QCalendarWidget::activated, this, &Calendario::datePicked);
    new kit::ProgramActivation(*this, context.isProgramWindow, context.guard.slot(this, &Calendario::FormActivate));
}

void Calendario::load()
{
    FormActivate();
}

void Calendario::FormActivate()
{
    const QDate today = QDate::currentDate();
    calendar->setSelectedDate(today);
    calendar->setCurrentPage(today.year(), today.month());
}

} // namespace utilities
