// Every window in Calibri (Carlito standing in where Calibri is missing).
#include "Form2.h"
#include "TestRun.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>

namespace {

class Look : public OnAFreshArchive {};

TEST_F(Look, EveryWindowUsesCalibriOrItsMetricTwin)
{
    run->control<QCheckBox>("Check5")->click();

    const bool hasCalibri = QFontDatabase::families().contains(QStringLiteral("Calibri"));
    for (QWidget *window : run->forms->loaded()) {
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            EXPECT_EQ(widget->font().family(), QStringLiteral("Calibri")) << widget->objectName().toStdString();
            EXPECT_EQ(QFontInfo(widget->font()).family(),
                      hasCalibri ? QStringLiteral("Calibri") : QStringLiteral("Carlito"))
                << widget->objectName().toStdString();
        }
    }
}

} // namespace
