#include "DateSerial.h"

#include "Regional.h"

#include <cmath>

namespace host {
namespace {

constexpr double kLastSerial1900 = 2958465; // 9999-12-31
constexpr double kLastSerial1904 = 2957003;
const QDate kMarch1900(1900, 3, 1);

} // namespace

std::optional<double> dateSerial(QDate date, bool date1904)
{
    if (!date.isValid() || date.year() > 9999)
        return std::nullopt;
    if (date1904) {
        const QDate epoch(1904, 1, 1);
        if (date < epoch)
            return std::nullopt;
        return double(epoch.daysTo(date));
    }
    if (date >= kMarch1900)
        return double(QDate(1899, 12, 30).daysTo(date));
    if (date.year() < 1900)
        return std::nullopt;
    return double(QDate(1899, 12, 31).daysTo(date));
}

bool serialIsDate(double serial, bool date1904)
{
    if (!std::isfinite(serial))
        return false;
    const double day = std::floor(serial);
    return date1904 ? day >= 0 && day <= kLastSerial1904 : day >= 1 && day <= kLastSerial1900;
}

std::optional<QString> serialDateText(double serial, bool date1904, const Regional &regional)
{
    if (!serialIsDate(serial, date1904))
        return std::nullopt;
    const double day = std::floor(serial);
    if (date1904)
        return regional.dateText(QDate(1904, 1, 1).addDays(qint64(day)));
    if (day == 60) {
        // 1900-02-29 does not exist; written in the same format as a real leap day.
        QString text = regional.dateText(QDate(2000, 2, 29));
        return text.replace(QLatin1String("2000"), QLatin1String("1900"));
    }
    if (day < 60)
        return regional.dateText(QDate(1899, 12, 31).addDays(qint64(day)));
    return regional.dateText(QDate(1899, 12, 30).addDays(qint64(day)));
}

} // namespace host
