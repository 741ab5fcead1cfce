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
    static Regional italian();

    const QLocale &locale() const { return locale_; }
    // No thousands separators, the shortest digits that read back as the same double,
    // no exponent below 1e15 ("1234,5" in Italian, "1E+20" above).
    QString numberText(double value) const;
    // The locale's decimal separator, no grouping; surrounding blanks are tolerated here,
    // callers that need an exact text compare numberText() with what was typed.
    std::optional<double> parseNumber(const QString &text) const;
    QString shortDateFormat() const;            // e.g. "dd/MM/yyyy"
    QString dateText(QDate date) const;
    // The short format, also with one-digit day and month; four-digit years only.
    std::optional<QDate> parseDate(const QString &text) const;
    // The locale's long time format without the time zone: "HH:mm:ss" in Italian,
    // "h:mm:ss AP" in US English.
    QString timeFormat() const;
    QString timeText(QTime time) const;

private:
    QLocale locale_;
    QString shortDate_;
};
