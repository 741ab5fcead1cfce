#include "PageHeader.h"

#include "Regional.h"
#include "Workbook.h"
#include "Worksheet.h"

#include <QDate>
#include <QFileInfo>
#include <QTime>

namespace host {
namespace {

// Where a code that takes more than its letter ends: &"font,style" and &12.
qsizetype endOfCode(const QString &text, qsizetype at)
{
    if (text[at] == u'"') {
        const qsizetype close = text.indexOf(u'"', at + 1);
        return close < 0 ? text.size() - 1 : close;
    }
    while (text[at].isDigit() && at + 1 < text.size() && text[at + 1].isDigit())
        ++at;
    return at;
}

} // namespace

QString pageHeader(const QString &section, const HeaderFields &fields)
{
    const Regional &regional = fields.sheet.regional();
    QString printed;
    for (qsizetype i = 0; i < section.size(); ++i) {
        if (section[i] != u'&' || i + 1 == section.size()) {
            printed += section[i];
            continue;
        }
        const QChar code = section[++i];
        switch (code.toUpper().unicode()) {
        case u'&': printed += u'&'; break;
        case u'P': printed += QString::number(fields.page); break;
        case u'N': printed += QString::number(fields.pages); break;
        case u'A': printed += fields.sheet.name(); break;
        case u'F': printed += QFileInfo(fields.sheet.workbook().fullName()).fileName(); break;
        case u'D': printed += regional.dateText(QDate::currentDate()); break;
        case u'T': printed += regional.timeText(QTime::currentTime()); break;
        default: i = endOfCode(section, i); break;
        }
    }
    return printed;
}

} // namespace host
