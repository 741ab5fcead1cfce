#include "Calendario.h"

#include "Anagrafe.h"
#include "Forms.h"
#include "ProgramActivation.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace utilities {

Calendario::Calendario(app::Forms &forms) : forms_(forms)
{
    setObjectName(QStringLiteral("Calendario"));
    setWindowTitle(QStringLiteral("Calendario"));

    calendar = new QCalendarWidget(this);
    calendar->setObjectName(QStringLiteral("Calendario"));
    calendar->setAccessibleName(QStringLiteral("Calendario"));
    calendar->setLocale(forms_.services().regional.locale());
    calendar->setGridVisible(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(calendar);

    // A click picks a day; Enter picks the day reached with the keyboard.
    connect(calendar, &QCalendarWidget::clicked, this, &Calendario::CalendarioDateClick);
    connect(calendar, &QCalendarWidget::activated, this, &Calendario::CalendarioDateClick);
    new app::ProgramActivation(*this, forms_, [this] { FormActivate(); });
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

void Calendario::CalendarioDateClick(QDate date)
{
    if (!forms_.isLoaded<registry::Anagrafe>())
        return;
    registry::Anagrafe *anagrafe = forms_.anagrafe();
    auto *field = anagrafe->findChild<QLineEdit *>(QStringLiteral("Text4"));
    if (!field->isVisible())
        return;
    // The day itself, never a text read back, so day and month cannot change places.
    field->setText(forms_.services().regional.dateText(date));
    auto *list = anagrafe->findChild<QComboBox *>(QStringLiteral("Combo1"));
    list->clear();
    list->setEditText(QString());
    close();
}

} // namespace utilities
