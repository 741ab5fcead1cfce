#pragma once

#include "Anagrafe.h"
#include "TestRun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

// The program started on a fresh archive, subjects typed into its registry sheet, and the
// registry window opened from the main window as the user opens it.
class RegistryWindow : public OnAFreshArchive {
protected:
    void start(const QLocale &locale) { startOn(archive, locale); }
    void put(int row, const QString &cells); // "1|ROSSI|C1": column A on; "" leaves a cell empty
    void open();                             // the main window's Check1, then the activation
    void comeBack();                         // from the main window to this one

    registry::Anagrafe *window() { return run->forms->anagrafe(); }
    template <class T> T *control(const QString &name) { return window()->findChild<T *>(name); }
    QLineEdit *text(int number) { return control<QLineEdit>(u"Text%1"_qs.arg(number)); }
    QCheckBox *check(int number) { return control<QCheckBox>(u"Check%1"_qs.arg(number)); }
    QComboBox *combo() { return control<QComboBox>(u"Combo1"_qs); }
    QString fields(); // Text1..Text18 joined by "|"
    QString items();  // the list joined by ";"
    // Steps as the user takes them: "pick 2" (the 2nd name of the list), "type 2 rossi",
    // "set 1 99", "tick 1" (Check1), "back" (from the main window), "focus 2" (expects it), "MnAgg yes", "mnuM no", "MnuE", "mnuP".
    void act(const QStringList &steps);
    // Every box since the last clear: buttons and icon ("?" Yes/No, "-" none, "i" information,
    // "!" exclamation), title and text, "!| Gestione Velmoro|Bisogna ...".
    QStringList boxes();
    // Every filled cell of rows 2..7 (A..S) and IV1, "A2=1;B2=ROSSI;IV1=1"; dates end in " [data]";
    // of the running program, or read with the engine from the archive "Esci" saved.
    QString cells();
    QString savedCells();
};

// The named controls Tab reaches from `first` round to it, with what a screen reader announces:
// "Combo1=Seleziona Fornitore;Text2=...".
QString tabOrder(QWidget *first);

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
