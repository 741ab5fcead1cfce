// The registry print job: its questions, the page setup it leaves in the archive, the pages
// it prints and how it ends. At 110 % a portrait A4 page holds 56 rows of 14.025 points in
// 790.77 (841.89 less 36 and 15.12), a landscape one 38 in 544.16.
#include "PrintingFixture.h"

#include "Application.h"
#include "Columns.h"

#include <QDate>

namespace {

using Buttons = platform::Dialogs::Buttons;
using Icon = platform::Dialogs::Icon;

const QString kPlaceholder = QStringLiteral("Seleziona la stampante");

class PrintJob : public PrintingFixture {
protected:
    QString question(int page, int pages)
    {
        return QStringLiteral("Vuoi Procedere alla stampa   ?  Pagine     %1    di    %2").arg(page).arg(pages);
    }
    std::vector<QString> questions()
    {
        std::vector<QString> texts;
        for (const auto &box : run->dialogs.boxes)
            if (box.title == QStringLiteral("Stampa Risultato "))
                texts.push_back(box.text);
        return texts;
    }
    std::vector<int> printedPages()
    {
        std::vector<int> pages;
        for (const auto &job : run->printers.jobs) {
            EXPECT_EQ(job.copies, 1);
            for (const auto &page : job.pages)
                pages.push_back(page.number);
        }
        return pages;
    }
    bool printed(const FakePrinters::Job &job, const QString &text)
    {
        for (const auto &page : job.pages)
            for (const auto &cell : page.cells)
                if (cell.text == text)
                    return true;
        return false;
    }
    host::PageSetup setup() { return sheet().pageSetup(); }
    QString today() { return run->forms->services().regional.dateText(QDate::currentDate()); }
};

TEST_F(PrintJob, ThreePagesAnsweredYesArePrintedOneByOneThenTheWindowHidesAndStampeUnticks)
{
    addSubjects(2, 121);
    openWindow();
    choose("PDF");
    print("110", Answer::Yes, {Answer::Yes, Answer::Yes, Answer::Yes});

    ASSERT_EQ(run->dialogs.inputs.size(), 1u);
    EXPECT_EQ(run->dialogs.inputs[0].prompt,
              QStringLiteral("Digita la percentuale di Zoom della Stampa 80-90-100") + QString(18, u'.'));
    EXPECT_EQ(run->dialogs.inputs[0].title, QStringLiteral("Gestione Velmoro"));
    EXPECT_EQ(run->dialogs.inputs[0].defaultText, QStringLiteral("110"));
    ASSERT_EQ(run->dialogs.boxes.size(), 4u);
    EXPECT_EQ(run->dialogs.boxes[0].text, QStringLiteral(" Vuoi la Stampa Verticale ?") + QString(57, u'.'));
    EXPECT_EQ(run->dialogs.boxes[0].title, QStringLiteral("Velmoro"));
    for (const auto &box : run->dialogs.boxes) {
        EXPECT_EQ(box.buttons, Buttons::YesNo);
        EXPECT_EQ(box.icon, Icon::None);
    }
    EXPECT_EQ(questions(), std::vector<QString>({question(1, 3), question(2, 3), question(3, 3)}));

    EXPECT_EQ(printedPages(), std::vector<int>({1, 2, 3}));
    ASSERT_EQ(run->printers.jobs.size(), 3u);
    EXPECT_EQ(run->printers.jobs[2].printer, QStringLiteral("PDF"));
    EXPECT_TRUE(printed(run->printers.jobs[0], QStringLiteral("Ragione Sociale/Cognome Nome")));
    EXPECT_TRUE(printed(run->printers.jobs[1], QStringLiteral("SOGGETTO 56")));
    EXPECT_FALSE(printed(run->printers.jobs[1], QStringLiteral("SOGGETTO 55")));
    EXPECT_TRUE(printed(run->printers.jobs[2], QStringLiteral("SOGGETTO 120")));

    EXPECT_FALSE(window()->isVisible());
    EXPECT_TRUE(run->forms->isLoaded<printing::StampaP>());
    EXPECT_FALSE(stampe()->isChecked());
    EXPECT_TRUE(run->form1()->application()->screenUpdating());
    for (const auto &[cell, value] : {std::pair{"AU1", "3"}, {"AV1", "3"}, {"AZ1", "110"}})
        EXPECT_EQ(saved(cell), QString::fromLatin1(value)) << cell;
}

TEST_F(PrintJob, LeavesTheWholePageSetupInTheSavedArchive)
{
    addSubjects(2, 121);
    openWindow();
    choose("PDF");
    print("110", Answer::Yes, {Answer::No});

    archive_files::inspect(archive, [&](host::Workbook &book) {
        const host::PageSetup page = book.sheets(archive::kSheetName).pageSetup();
        EXPECT_EQ(page.printArea(), QStringLiteral("$A$1:$R$121"));
        EXPECT_EQ(page.centerHeader(), QStringLiteral("Stampa   Registrazioni   ------ del     ") + today());
        for (double margin : {page.leftMargin(), page.rightMargin(), page.bottomMargin(), page.headerMargin(),
                              page.footerMargin()})
            EXPECT_NEAR(margin, 15.12, 1e-9);
        EXPECT_DOUBLE_EQ(page.topMargin(), 36);
        EXPECT_EQ(page.fitToPagesWide(), 1);
        EXPECT_EQ(page.fitToPagesTall(), 1);
        EXPECT_EQ(page.orientation(), host::Orientation::Portrait);
        EXPECT_EQ(page.paperSize(), 9);
        EXPECT_EQ(page.zoom(), 110);
    });
}

TEST_F(PrintJob, NoOnTheFirstPagePrintsNothingAndLeavesTheWindowShown)
{
    addSubjects(2, 121);
    openWindow();
    choose("PDF");
    print("110", Answer::Yes, {Answer::No});

    EXPECT_EQ(questions(), std::vector<QString>{question(1, 3)});
    EXPECT_TRUE(run->printers.jobs.empty());
    EXPECT_TRUE(window()->isVisible());
    EXPECT_FALSE(run->form1()->application()->screenUpdating());
    EXPECT_EQ(saved("AU1"), QStringLiteral("1"));
    EXPECT_EQ(saved("AV1"), QStringLiteral("3"));
}

TEST_F(PrintJob, TheZoomTypedGoesToTheHostWhichKeepsItsOldValueForWhatItRefuses)
{
    addSubjects(2, 121);
    openWindow();
    const struct {
        const char *typed;
        int zoom, pages;
    } answers[] = {
        {"90", 90, 2},      // 68 rows of 11.475 points
        {"abc", 90, 2},     // no number: zoom 0, refused
        {"", 90, 2},
        {"110", 110, 3},
        {"5", 110, 3},      // outside 10..400: refused
        {"1000", 110, 3},
        {"90,5", 90, 2},    // a half goes to the even neighbour
        {"109,5", 110, 3},
        {" 50 ", 50, 1},
    };
    for (const auto &a : answers) {
        SCOPED_TRACE(a.typed);
        run->dialogs.boxes.clear();
        print(a.typed, Answer::Yes, {Answer::No});
        EXPECT_EQ(setup().zoom(), a.zoom);
        EXPECT_EQ(questions(), std::vector<QString>{question(1, a.pages)});
    }
}

TEST_F(PrintJob, PortraitPrintsColumnsAToRAndLandscapeOnlyAToN)
{
    addSubjects(2, 121);
    openWindow();
    const struct {
        Answer portrait;
        QString area, header;
        host::Orientation orientation;
        int pages;
    } cases[] = {
        {Answer::No, QStringLiteral("$A$1:$N$121"), QStringLiteral("Stampa  Anagrafe Soggetti  "),
         host::Orientation::Landscape, 4},
        {Answer::Yes, QStringLiteral("$A$1:$R$121"), QStringLiteral("Stampa   Registrazioni   "),
         host::Orientation::Portrait, 3},
    };
    for (const auto &c : cases) {
        run->dialogs.boxes.clear();
        print("110", c.portrait, {Answer::No});
        EXPECT_EQ(setup().printArea(), c.area);
        EXPECT_EQ(setup().centerHeader(), c.header + QStringLiteral("------ del     ") + today());
        EXPECT_EQ(setup().orientation(), c.orientation);
        EXPECT_EQ(questions(), std::vector<QString>{question(1, c.pages)});
    }
}

TEST_F(PrintJob, AnEmptyRegistryPrintsToTheLastRowOfTheSheet)
{
    openWindow();
    choose("PDF");
    print("110", Answer::Yes, {Answer::Yes, Answer::No});
    EXPECT_EQ(setup().printArea(), QStringLiteral("$A:$R")); // A1 to R65536
    EXPECT_EQ(questions(), std::vector<QString>({question(1, 1171), question(2, 1171)})); // 65536 rows, 56 a page
    EXPECT_EQ(printedPages(), std::vector<int>{1});
}

TEST_F(PrintJob, AGapInColumnAEndsThePrintAreaAboveIt)
{
    addSubjects(2, 10);
    addSubjects(12, 20);
    sheet().range(QStringLiteral("B11")).setValue(QStringLiteral("SENZA ID"));
    openWindow();
    choose("PDF");
    print("110", Answer::Yes, {Answer::Yes});
    EXPECT_EQ(setup().printArea(), QStringLiteral("$A$1:$R$10"));
    ASSERT_EQ(run->printers.jobs.size(), 1u);
    EXPECT_TRUE(printed(run->printers.jobs[0], QStringLiteral("SOGGETTO 9")));
    EXPECT_FALSE(printed(run->printers.jobs[0], QStringLiteral("SENZA ID")));
}

TEST_F(PrintJob, APageThatCannotBePrintedIsReportedOncePerRunNamingThePrinterAndWhy)
{
    addSubjects(2, 121);
    openWindow();
    print("110", Answer::Yes, {Answer::Yes, Answer::Yes, Answer::Yes});

    EXPECT_TRUE(run->printers.jobs.empty());
    EXPECT_EQ(questions().size(), 3u);
    ASSERT_EQ(run->dialogs.boxes.size(), 5u);
    const auto &report = run->dialogs.boxes[2]; // right after the first page's question
    EXPECT_EQ(report.title, QStringLiteral("Velmoro"));
    EXPECT_EQ(report.buttons, Buttons::Ok);
    EXPECT_EQ(report.icon, Icon::Exclamation);
    EXPECT_TRUE(report.text.startsWith(
        QStringLiteral("La pagina 1 non è stata stampata sulla stampante \"Seleziona la stampante\":\n")))
        << report.text.toStdString();
    EXPECT_TRUE(report.text.contains(QStringLiteral("non è tra le stampanti installate")));
    EXPECT_FALSE(window()->isVisible());
    EXPECT_EQ(saved("AV1"), QStringLiteral("3"));

    run->dialogs.boxes.clear();
    openWindow();
    choose("Stampante Rimossa");
    print("110", Answer::Yes, {Answer::Yes, Answer::Yes, Answer::No}); // page 2 fails silently
    print("110", Answer::Yes, {Answer::Yes, Answer::No});
    std::vector<QString> reports;
    for (const auto &box : run->dialogs.boxes)
        if (box.buttons == Buttons::Ok)
            reports.push_back(box.text.section(u':', 0, 0));
    const QString gone = QStringLiteral("La pagina 1 non è stata stampata sulla stampante \"Stampante Rimossa\"");
    EXPECT_EQ(reports, std::vector<QString>({gone, gone}));
}

} // namespace
