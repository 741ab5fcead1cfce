#include "RegistryWindow.h"

#include "Columns.h"

namespace {

QStringList filledCells(host::Worksheet &sheet)
{
    QStringList cells;
    for (int row = 2; row <= 7; ++row) {
        for (int column = 1; column <= archive::kFieldCount + 1; ++column) {
            const host::Range cell = sheet.cells(row, column);
            if (cell.isEmpty())
                continue;
            const bool date = cell.valueType() == host::ValueType::Date;
            cells << cell.address().remove(u'$') + u'=' + cell.text() + (date ? u" [data]"_qs : QString());
        }
    }
    cells << u"IV1="_qs + sheet.range(archive::kCounterCell).text();
    return cells;
}

} // namespace

void RegistryWindow::start(const Regional &regional)
{
    ASSERT_TRUE(folder.isValid());
    archive_files::makeFresh(archive);
    run = std::make_unique<TestRun>(archive, regional);
    ASSERT_TRUE(run->start());
}

host::Worksheet &RegistryWindow::sheet()
{
    return run->form1()->application()->activeWorkbook()->sheets(archive::kSheetName);
}

void RegistryWindow::put(int row, const QStringList &cells)
{
    for (int column = 1; column <= cells.size(); ++column)
        sheet().cells(row, column).setValue(cells[column - 1]);
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

QLineEdit *RegistryWindow::text(int number)
{
    return control<QLineEdit>(QStringLiteral("Text%1").arg(number).toLatin1().constData());
}

QStringList RegistryWindow::fields()
{
    QStringList texts;
    for (int number = 1; number <= 18; ++number)
        texts << text(number)->text();
    return texts;
}

QStringList RegistryWindow::items()
{
    QStringList items;
    for (int i = 0; i < combo()->count(); ++i)
        items << combo()->itemText(i);
    return items;
}

void RegistryWindow::pick(int item)
{
    combo()->setFocus();
    combo()->setCurrentIndex(item - 2);
    QTest::keyClick(combo(), Qt::Key_Down);
}

void RegistryWindow::typeKey(QLineEdit *field, const QString &character)
{
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, character, Qt::NoModifier);
}

void RegistryWindow::command(const char *name, std::initializer_list<FakeDialogs::Answer> answers)
{
    run->dialogs.answers.assign(answers);
    control<QAction>(name)->trigger();
    EXPECT_TRUE(run->dialogs.answers.empty()) << name << ": a question was not asked";
}

QStringList RegistryWindow::boxTexts()
{
    QStringList texts;
    for (const FakeDialogs::Box &box : run->dialogs.boxes)
        texts << box.text;
    return texts;
}

QStringList RegistryWindow::cells()
{
    return filledCells(sheet());
}

QStringList RegistryWindow::savedCells()
{
    QStringList cells;
    archive_files::inspect(archive, [&](host::Workbook &book) { cells = filledCells(book.sheets(archive::kSheetName)); });
    return cells;
}
