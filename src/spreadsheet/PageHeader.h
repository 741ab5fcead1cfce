#pragma once

#include <QString>

namespace host {

class Worksheet;

struct HeaderFields {
    int page = 1;
    int pages = 1;
    const Worksheet &sheet;
};

// A header section as it prints: &P the page, &N the pages, &A the sheet, &F the file,
// &D today, &T the time, && one ampersand. Font, size and style codes change only the look,
// which prints plain here, so they are dropped.
QString pageHeader(const QString &section, const HeaderFields &fields);

} // namespace host
