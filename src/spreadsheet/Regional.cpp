#include "Regional.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// "yy" alone would read back into the wrong century.
QString withFourDigitYear(QString format)
{
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    return format;
}

} // namespace

Regional::Regional(const QLocale &locale)
    : locale_(locale), shortDate_(withFourDigitYear(locale.dateFormat(QLocale::ShortFormat)))
{
    locale_.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
}

Regional Regional::system()
{
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        return italian();
    return Regional(locale);
}

Regional Regional::italian()
{
    return Regional(QLocale(QLocale::Italian, QLocale::Italy));
}

QString Regional::numberText(double value) const
{
    if (value == 0)
        return locale_.toString(0); // no "-0"
    const double magnitude = std::fabs(value);
    const char form = magnitude < 1e15 && magnitude >= 1e-9 ? 'f' : 'g';
    return locale_.toString(value, form, QLocale::FloatingPointShortest);
}

std::optional<double> Regional::parseNumber(const QString &text) const
{
    bool ok = false;
    const double value = locale_.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString Regional::shortDateFormat() const
{
    return shortDate_;
}

QString Regional::dateText(QDate date) const
{
    return locale_.toString(date, shortDate_);
}

std::optional<QDate> Regional::parseDate(const QString &text) const
{
    QString loose = shortDate_;
    loose.replace(QLatin1String("dd"), QLatin1String("d")).replace(QLatin1String("MM"), QLatin1String("M"));
    for (const QString &format : {shortDate_, loose}) {
        const QDate date = locale_.toDate(text.trimmed(), format);
        if (date.isValid())
            return date;
    }
    return std::nullopt;
}

QString Regional::timeFormat() const
{
    QString format = locale_.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("t+")));
    return format.trimmed();
}

QString Regional::timeText(QTime time) const
{
    return locale_.toString(time, timeFormat());
}
