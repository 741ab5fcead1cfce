#include "RegistryWindow.h"

#include "Columns.h"

#include <QAccessible>
#include <QAction>

namespace {

QString filledCells(host::Worksheet &sheet)
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

} // namespace

void RegistryWindow::put(int row, const QString &cells)
{
    const QStringList values = cells.split(u'|');
    for (int column = 1; column <= values.size(); ++column)
        sheet().cells(row, column).setValue(values[column - 1]);
}

void RegistryWindow::open()
{
    run->form1()->findChild<QCheckBox *>(u"Check1"_qs)->click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
}

void RegistryWindow::comeBack()
{
    run->form1()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run->form1()));
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
}

QString RegistryWindow::fields()
{
    QStringList texts;
    for (int number = 1; number <= archive::kFieldCount; ++number)
        texts << text(number)->text();
    return texts.join(u'|');
}

QString RegistryWindow::items()
{
    QStringList items;
    for (int i = 0; i < combo()->count(); ++i)
        items << combo()->itemText(i);
    return items.join(u';');
}

void RegistryWindow::act(const QStringList &steps)
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

QStringList RegistryWindow::boxes()
{
    QStringList boxes;
    for (const FakeDialogs::Box &box : run->dialogs.boxes) {
        const bool yesNo = box.buttons == platform::Dialogs::Buttons::YesNo;
        const QString icon = QStringList{yesNo ? u""_qs : u"-"_qs, u"i"_qs, u"!"_qs, u"x"_qs}[int(box.icon)];
        boxes << (yesNo ? u"?"_qs : QString()) + icon + u'|' + box.title + u'|' + box.text;
    }
    return boxes;
}

QString RegistryWindow::cells()
{
    return filledCells(sheet());
}

QString RegistryWindow::savedCells()
{
    QString cells;
    archive_files::inspect(archive, [&](host::Workbook &book) { cells = filledCells(book.sheets(archive::kSheetName)); });
    return cells;
}

QString tabOrder(QWidget *first)
{
    QStringList order;
    QWidget *at = first;
    do {
        if (at->isVisible() && at->focusPolicy() & Qt::TabFocus && !at->objectName().isEmpty())
            order << at->objectName() + u'=' + QAccessible::queryAccessibleInterface(at)->text(QAccessible::Name);
        at = at->nextInFocusChain();
    } while (at != first);
    return order.join(u';');
}
