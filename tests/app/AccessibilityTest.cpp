// What a screen reader finds, read through Qt's accessibility interfaces: every window of the
// program announced as a window with its title, and every control that shows a value reading
// out that value together with its caption.
#include "utilities/Progressivi.h"
#include "RegistryWindow.h"
#include "printing/StampaP.h"

#include <QAccessible>
#include <QLabel>

namespace {

class ScreenReader : public RegistryWindow {
protected:
    // Name, value and description, as a screen reader takes them.
    static QString reads(QWidget *control)
    {
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(control);
        return reader->text(QAccessible::Name) + u" / "_qs + reader->text(QAccessible::Value) + u" / "_qs +
               reader->text(QAccessible::Description);
    }
    static QString shown(QWidget *control)
    {
        if (auto *label = qobject_cast<QLabel *>(control))
            return label->text().section(u'\n', -1);
        return qobject_cast<QLineEdit *>(control)->text();
    }
};

TEST_F(ScreenReader, HearsEveryWindowAsAWindowAndEveryValueItShows)
{
    put(2, u"7|ROSSI|C1|05/12/2026"_qs);
    sheet().range(u"IV1"_qs).setValue(u"41"_qs);
    run->printers.installed = {u"PDF"_qs};
    run->printers.defaultPrinter = u"PDF"_qs;
    open();
    act({u"pick 1"_qs, u"tick 1"_qs, u"tick 2"_qs});
    run->control<QAction>("Util")->trigger();
    run->control<QCheckBox>("Check2")->click();
    run->forms->form2();
    auto *clock = run->control<QLineEdit>("Text1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !clock->text().isEmpty() && !text(19)->text().isEmpty(); }, 2500));

    QStringList windows;
    for (QWidget *window : run->forms->loaded()) {
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(window);
        EXPECT_EQ(reader->role(), QAccessible::Window) << window->objectName().toStdString();
        EXPECT_EQ(reader->text(QAccessible::Name), window->windowTitle());
        windows << window->objectName();
    }
    windows.sort();
    EXPECT_EQ(windows.join(u' '), u"Anagrafe Calendario Form1 Form2 FrmBancari Progressivi StampaP"_qs);

    const struct {
        QWidget *control;
        QString caption;
    } values[] = {
        {run->forms->progressivi()->findChild<QLabel *>(u"Label4"_qs), u"Progressivo Attuale"_qs},
        {clock, u"Ora"_qs},
        {text(19), u"Ore"_qs},
        {text(4), u"Data"_qs},
        {text(1), u"ID Progressivo"_qs},
        {run->forms->stampaP()->findChild<QLabel *>(u"Label1"_qs), u"La stampante predefinita è:"_qs},
    };
    for (const auto &value : values) {
        const QString read = reads(value.control), expected = shown(value.control);
        EXPECT_FALSE(expected.isEmpty()) << value.control->objectName().toStdString();
        EXPECT_TRUE(read.contains(expected) && read.contains(value.caption)) << read.toStdString();
    }
}

} // namespace
