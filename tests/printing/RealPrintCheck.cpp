// Prints a three-page registry through the printer window and the job on a real print
// queue, named by VELMORO_PRINT_QUEUE; cups_print_test.sh then reads the pages it produced.
#include "ArchiveFiles.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeShell.h"
#include "Form1.h"
#include "Forms.h"
#include "Launcher.h"
#include "PrinterTarget.h"
#include "QtPrinters.h"
#include "StampaP.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Answer = platform::Dialogs::Answer;

TEST(RealPrinter, PrintsAThreePageRegistryPageByPage)
{
    const QString queue = qEnvironmentVariable("VELMORO_PRINT_QUEUE");
    ASSERT_FALSE(queue.isEmpty()) << "VELMORO_PRINT_QUEUE names the queue to print on";
    QTemporaryDir folder;
    const QString archive = folder.filePath(QStringLiteral("Archivio.xls"));
    archive_files::makeFresh(archive);

    FakeDialogs dialogs;
    FakeProgram program;
    FakeShell shell;
    platform::QtPrinters printers;
    host::PrinterTarget printTarget;
    app::Forms forms(app::Services{dialogs, program, shell, printers, printTarget, archive,
                                   Regional(QLocale(QLocale::Italian, QLocale::Italy)), {}});
    ASSERT_TRUE(app::startUp(forms));
    ASSERT_TRUE(printers.names().contains(queue)) << printers.names().join(u',').toStdString();

    host::Worksheet &registry = forms.form1()->application()->activeSheet();
    // 56 rows a page at 110 %: 3 pages. Short names, as texts are cut at their column's edge.
    for (int subject = 1; subject <= 120; ++subject) {
        registry.cells(subject + 1, 1).setValue(double(subject));
        registry.cells(subject + 1, 2).setValue(QStringLiteral("Ditta %1").arg(subject));
    }
    forms.form1()->findChild<QCheckBox *>(QStringLiteral("Check2"))->click();
    printing::StampaP *window = forms.stampaP();
    QLineEdit *printer = window->findChild<QComboBox *>(QStringLiteral("Combo1"))->lineEdit();
    printer->selectAll();
    QTest::keyClicks(printer, queue);

    dialogs.typed = {QStringLiteral("110")};
    dialogs.answers = {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes};
    window->findChild<QPushButton *>(QStringLiteral("Command1"))->click();

    EXPECT_TRUE(dialogs.answers.empty());
    EXPECT_EQ(dialogs.boxes.size(), 4u) << "a page was not printed: " << dialogs.boxes.back().text.toStdString();
    EXPECT_FALSE(window->isVisible());
}

} // namespace
