#pragma once

#include "registry/Anagrafe.h"
#include "archive/Columns.h"
#include "TestRun.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

// Every filled cell of rows 2..7 (A..S) and IV1, "A2=1;B2=ROSSI;IV1=1"; dates end in " [data]".
inline QString filledCells(host::Worksheet &sheet)
{
    QStringList cells;
    for (int row = 2; row <= 7; ++row) {
        for (int column = 1; column <= archive::kFieldCount + 1; ++column) {
            const host::Range cell = sheet.cells(row, column);
            if (!cell.isEmpty())
                cells << cell.address().remove(u'$') + u'=' + cell.text() +
                             (cell.valueType() == host::ValueType::Date ? u" [data]"_qs : QString());
        }
    }
    return (cells << u"IV1="_qs + sheet.range(archive::kCounterCell).text()).join(u';');
}

// The named controls Tab reaches from `first` round to it, with what a screen reader announces:
// "Combo1=Seleziona Fornitore;Text2=...".
inline QString tabOrder(QWidget *first)
{
    QStringList order;
    QWidget *at = first;
    do {
        if (!at->isHidden() && at->focusPolicy() & Qt::TabFocus && !at->objectName().isEmpty())
            order << at->objectName() + u'=' + QAccessible::queryAccessibleInterface(at)->text(QAccessible::Name);
        at = at->nextInFocusChain();
    } while (at != first);
    return order.join(u';');
}

// The program started on a fresh archive, subjects typed into its registry sheet, and the
// registry window opened from the main window as the user opens it.
class RegistryWindow : public OnAFreshArchive {
protected:
    void start(const QLocale &locale) { startOn(archive, locale); }
    registry::Anagrafe *window() { return run->forms->anagrafe(); }
    template <class T> T *control(const QString &name) { return window()->findChild<T *>(name); }
    QLineEdit *text(int number) { return control<QLineEdit>(u"Text%1"_qs.arg(number)); }
    QCheckBox *check(int number) { return control<QCheckBox>(u"Check%1"_qs.arg(number)); }
    QComboBox *combo() { return control<QComboBox>(u"Combo1"_qs); }

    void put(int row, const QString &cells) // "1|ROSSI|C1": column A on; "" leaves a cell empty
    {
        const QStringList values = cells.split(u'|');
        for (int column = 1; column <= values.size(); ++column)
            sheet().cells(row, column).setValue(values[column - 1]);
    }
    void open() // the main window's Check1, then the activation
    {
        run->form1()->findChild<QCheckBox *>(u"Check1"_qs)->click();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    }
    void comeBack() // from the main window to this one
    {
        run->form1()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(run->form1()));
        window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    }
    QString fields() // Text1..Text18 joined by "|"
    {
        QStringList texts;
        for (int number = 1; number <= archive::kFieldCount; ++number)
            texts << text(number)->text();
        return texts.join(u'|');
    }
    QString items() // the list joined by ";"
    {
        QStringList items;
        for (int i = 0; i < combo()->count(); ++i)
            items << combo()->itemText(i);
        return items.join(u';');
    }
    // Steps as the user takes them: "pick 2" (the 2nd name of the list), "type 2 rossi",
    // "set 1 99", "tick 1" (Check1), "back" (from the main window), "focus 2" (expects it), "MnAgg yes", "mnuM no", "MnuE", "mnuP".
    void act(const QStringList &steps)
    {
        for (const QString &step : steps) {
            const QString verb = step.section(u' ', 0, 0), argument = step.section(u' ', 1, 1);
            if (verb == u"pick"_qs) {
                combo()->setCurrentIndex(argument.toInt() - 2);
                QTest::keyClick(combo(), Qt::Key_Down); // as the user picks the next name
            } else if (verb == u"type"_qs) {
                QTest::keyClicks(text(argument.toInt()), step.section(u' ', 2));
            } else if (verb == u"focus"_qs) {
                EXPECT_TRUE(text(argument.toInt())->hasFocus()) << qPrintable(step);
            } else if (verb == u"tick"_qs) {
                check(argument.toInt())->click();
            } else if (verb == u"back"_qs) {
                comeBack();
            } else if (verb == u"set"_qs) {
                text(argument.toInt())->setText(step.section(u' ', 2));
            } else {
                if (!argument.isEmpty())
                    run->dialogs.answers = {argument == u"yes"_qs ? FakeDialogs::Answer::Yes : FakeDialogs::Answer::No};
                control<QAction>(verb)->trigger();
                EXPECT_TRUE(run->dialogs.answers.empty()) << qPrintable(step) << ": no question";
            }
        }
    }
    // Every box since the last clear: buttons and icon ("?" Yes/No, "-" none, "i" information,
    // "!" exclamation), title and text, "!| Gestione Velmoro|Bisogna ...".
    QStringList boxes()
    {
        QStringList boxes;
        for (const FakeDialogs::Box &box : run->dialogs.boxes) {
            const bool yesNo = box.buttons == platform::Dialogs::Buttons::YesNo;
            const QString icon = QStringList{yesNo ? u""_qs : u"-"_qs, u"i"_qs, u"!"_qs, u"x"_qs}[int(box.icon)];
            boxes << (yesNo ? u"?"_qs : QString()) + icon + u'|' + box.title + u'|' + box.text;
        }
        return boxes;
    }
    // The filled cells of the running program, or read with the engine from the archive "Esci" saved.
    QString cells() { return filledCells(sheet()); }
    QString savedCells()
    {
        QString cells;
        archive_files::inspect(archive, [&](host::Workbook &book) { cells = filledCells(book.sheets(archive::kSheetName)); });
        return cells;
    }
};

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
