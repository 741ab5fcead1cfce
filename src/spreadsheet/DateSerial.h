#pragma once

#include <QDate>
#include <QString>
#include <optional>

class Regional;

// Day numbers of the two date systems of the format. In the 1900 system serial 1 is
// 1900-01-01 and serial 60 the fictitious 1900-02-29 the format inherited; in the 1904
// system serial 0 is 1904-01-01.
namespace host {

std::optional<double> dateSerial(QDate date, bool date1904);
// Whether the serial falls in the range of dates the format can show.
bool serialIsDate(double serial, bool date1904);
// The regional short date of the serial's day (time of day ignored); nullopt outside the
// range of dates the format can show.
std::optional<QString> serialDateText(double serial, bool date1904, const Regional &regional);

} // namespace host
