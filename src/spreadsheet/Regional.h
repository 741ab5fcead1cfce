#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <optional>

// Regional settings: how numbers, dates and times are written and read. Follows the system;
// the "C"/POSIX locale means Italian. Short dates always carry four-digit years.
class Regional {
public:
    explicit Regional(const QLocale &locale);
    static Regional system();

    const QLocale &locale() const { return locale_; }
    QString numberText(double value) const;     // no thousands separators, shortest exact digits
    std::optional<double> parseNumber(const QString &text) const;
    QString shortDateFormat() const;            // e.g. "dd/MM/yyyy"
    QString dateText(QDate date) const;
    std::optional<QDate> parseDate(const QString &text) const;
    QString timeText(QTime time) const;         // the system's time format

private:
    QLocale locale_;
};
