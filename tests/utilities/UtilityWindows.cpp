#include "UtilityWindows.h"

#include "Columns.h"

void UtilityWindows::start(const QLocale &locale)
{
    ASSERT_TRUE(folder.isValid());
    archive_files::makeFresh(archive);
    run = std::make_unique<TestRun>(archive, Regional(locale));
    ASSERT_TRUE(run->start());
}

host::Worksheet &UtilityWindows::sheet()
{
    return run->form1()->application()->activeWorkbook()->sheets(archive::kSheetName);
}

void UtilityWindows::ids(int count)
{
    for (int id = 1; id <= count; ++id) {
        sheet().cells(id + 1, 1).setValue(double(id));
        sheet().cells(id + 1, 2).setValue(QStringLiteral("SOGGETTO %1").arg(id));
    }
}

void UtilityWindows::activate(QWidget *window)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

void UtilityWindows::comeBack(QWidget *window)
{
    activate(run->form1());
    activate(window);
}

QStringList UtilityWindows::boxes()
{
    QStringList shown;
    for (const FakeDialogs::Box &box : run->dialogs.boxes)
        shown << QStringList{u"-"_qs, u"i"_qs, u"!"_qs, u"x"_qs}[int(box.icon)] + u'|' + box.title + u'|' + box.text;
    return shown;
}
