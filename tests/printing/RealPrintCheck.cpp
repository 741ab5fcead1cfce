// Prints a three-page registry through the printer window and the job on the print queue
// VELMORO_PRINT_QUEUE names; cups_print_test.sh reads the pages back.
#include "spreadsheet/print/PrinterTarget.h"
#include "PrintingFixture.h"
#include "platform/QtPrinters.h"

TEST(RealPrinter, PrintsAThreePageRegistryPageByPage)
{
    const QString queue = qEnvironmentVariable("VELMORO_PRINT_QUEUE");
    QTemporaryDir folder;
    const QString archive = folder.filePath(QStringLiteral("Archivio.xls"));
    archive_files::makeFresh(archive);
    FakeDialogs dialogs;
    FakeProgram program;
    FakeShell shell;
    platform::QtPrinters printers;
    host::PrinterTarget target;
    root::Forms forms({dialogs, program, shell, printers, target, archive, Regional::italian(), {}});
    ASSERT_TRUE(root::startUp(forms));
    ASSERT_TRUE(printers.names().contains(queue)) << printers.names().join(u',').toStdString();

    // 56 rows a page at 110 %: 3 pages. Short names: a text is cut at its column's edge.
    host::Worksheet &registry = forms.session().host().activeSheet();
    for (int subject = 1; subject <= 120; ++subject) {
        registry.cells(subject + 1, 1).setValue(double(subject));
        registry.cells(subject + 1, 2).setValue(QStringLiteral("Ditta %1").arg(subject));
    }
    forms.form1()->findChild<QCheckBox *>(QStringLiteral("Check2"))->click();
    forms.stampaP()->findChild<QComboBox *>(QStringLiteral("Combo1"))->setEditText(queue);
    dialogs.typed = {QStringLiteral("110")};
    dialogs.answers.assign(4, platform::Dialogs::Answer::Yes);
    forms.stampaP()->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(dialogs.boxes.size(), 4u) << "a page was not printed: " << dialogs.boxes.back().text.toStdString();
}
