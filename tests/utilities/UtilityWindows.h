#pragma once

#include "TestRun.h"

#include <QStringList>
#include <QTest>

// The program started on a fresh archive in a fixed locale, with subjects typed into its
// registry sheet.
class UtilityWindows : public ArchiveFolder {
protected:
    void start(const QLocale &locale = QLocale(QLocale::Italian, QLocale::Italy));

    host::Worksheet &sheet();
    void ids(int count);                          // subjects 1..count in rows 2 down
    void activate(QWidget *window);               // as the user clicks it
    void comeBack(QWidget *window);               // from the main window to `window`
    // Every box so far: "i|Velmoro|text"; "-" no icon, "i" information, "!" exclamation.
    QStringList boxes();

    std::unique_ptr<TestRun> run;
};

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
