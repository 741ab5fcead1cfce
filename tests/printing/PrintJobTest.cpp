// The registry print job. At 110 % a portrait A4 page holds 56 rows of 14.025 points in 790.77
// (841.89 less 36 and 15.12), a landscape one 38 in 544.16; at 90 % a portrait page 68, and at
// 100 %, the zoom of a fresh archive, 62.
#include "PrintingFixture.h"

#include "Application.h"
#include "Columns.h"

#include <QDate>

namespace {

using Buttons = platform::Dialogs::Buttons;
using Icon = platform::Dialogs::Icon;
constexpr auto Y = platform::Dialogs::Answer::Yes;
constexpr auto N = platform::Dialogs::Answer::No;

class PrintJob : public PrintingFixture {
protected:
    QString question(int page, int pages)
    {
        return QStringLiteral("Vuoi Procedere alla stampa   ?  Pagine     %1    di    %2").arg(page).arg(pages);
    }
    QString header(bool portrait)
    {
        return (portrait ? QStringLiteral("Stampa   Registrazioni   ") : QStringLiteral("Stampa  Anagrafe Soggetti  ")) +
               QStringLiteral("------ del     ") + run->forms->services().regional.dateText(QDate::currentDate());
    }
    std::vector<const FakeDialogs::Box *> boxes(const QString &title)
    {
        std::vector<const FakeDialogs::Box *> found;
        for (const auto &box : run->dialogs.boxes)
            if (box.title == title)
                found.push_back(&box);
        return found;
    }
    bool printed(const QString &text)
    {
        for (const auto &job : run->printers.jobs)
            for (const auto &page : job.pages)
                for (const auto &cell : page.cells)
                    if (cell.text == text)
                        return true;
        return false;
    }
};

TEST_F(PrintJob, AsksSetsThePagesUpAndPrintsEachPageTheUserConfirms)
{
    const struct {
        const char *name;
        int lastRow;         // subjects in rows 2..lastRow; row 11 has no identifier in "gap"
        const char *printer; // "" leaves the placeholder
        const char *zoom;
        Answer portrait;
        std::vector<Answer> pages;
        const char *area;
        int zoomSet, pageCount;
        std::vector<int> printed;
    } runs[] = {
        {"three pages", 121, "PDF", "110", Y, {Y, Y, Y}, "$A$1:$R$121", 110, 3, {1, 2, 3}},
        {"No on page 1", 121, "PDF", "110", Y, {N}, "$A$1:$R$121", 110, 3, {}},
        {"zoom 90", 121, "PDF", "90", Y, {N}, "$A$1:$R$121", 90, 2, {}},
        {"zoom not a number", 121, "PDF", "abc", Y, {N}, "$A$1:$R$121", 100, 2, {}},
        {"zoom 5", 121, "PDF", "5", Y, {N}, "$A$1:$R$121", 100, 2, {}},
        {"zoom 1000", 121, "PDF", "1000", Y, {N}, "$A$1:$R$121", 100, 2, {}},
        {"a half to the even neighbour", 121, "PDF", "109,5", Y, {N}, "$A$1:$R$121", 110, 3, {}},
        {"landscape", 121, "PDF", "110", N, {N}, "$A$1:$N$121", 110, 4, {}},
        {"empty registry", 1, "PDF", "110", Y, {Y, N}, "$A:$R", 110, 1171, {1}},
        {"gap", 20, "PDF", "110", Y, {Y}, "$A$1:$R$10", 110, 1, {1}},
        {"placeholder printer", 121, "", "110", Y, {Y, Y, Y}, "$A$1:$R$121", 110, 3, {}},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.name);
        startOn(folder.filePath(QString::fromLatin1(r.name) + QStringLiteral(".xls")));
        install({QStringLiteral("Ufficio"), QStringLiteral("PDF")}, QStringLiteral("PDF"));
        addSubjects(2, r.lastRow);
        if (r.lastRow == 20)
            sheet().range(QStringLiteral("A11")).clearContents();
        openWindow();
        if (*r.printer)
            choose(r.printer);
        print(r.zoom, r.portrait, r.pages);

        ASSERT_EQ(run->dialogs.inputs.size(), 1u);
        EXPECT_EQ(run->dialogs.inputs[0].prompt,
                  QStringLiteral("Digita la percentuale di Zoom della Stampa 80-90-100") + QString(18, u'.'));
        EXPECT_EQ(run->dialogs.inputs[0].title, QStringLiteral("Gestione Velmoro"));
        EXPECT_EQ(run->dialogs.inputs[0].defaultText, QStringLiteral("110"));
        const auto orientation = boxes(QStringLiteral("Velmoro"));
        ASSERT_FALSE(orientation.empty());
        EXPECT_EQ(orientation[0]->text, QStringLiteral(" Vuoi la Stampa Verticale ?") + QString(57, u'.'));
        const auto questions = boxes(QStringLiteral("Stampa Risultato "));
        ASSERT_EQ(questions.size(), r.pages.size());
        for (const auto *box : {orientation[0], questions.back()})
            EXPECT_TRUE(box->buttons == Buttons::YesNo && box->icon == Icon::None);
        EXPECT_EQ(questions.back()->text, question(int(r.pages.size()), r.pageCount));

        const host::PageSetup setup = sheet().pageSetup();
        EXPECT_EQ(setup.printArea(), QString::fromLatin1(r.area));
        EXPECT_EQ(setup.centerHeader(), header(r.portrait == Y));
        EXPECT_EQ(setup.orientation(), r.portrait == Y ? host::Orientation::Portrait : host::Orientation::Landscape);
        EXPECT_EQ(setup.zoom(), r.zoomSet);
        std::vector<int> printed;
        for (const auto &job : run->printers.jobs) {
            EXPECT_EQ(job.printer, QStringLiteral("PDF"));
            EXPECT_EQ(job.copies, 1);
            for (const auto &page : job.pages)
                printed.push_back(page.number);
        }
        EXPECT_EQ(printed, r.printed);

        const bool ended = r.pages.back() == Y;
        EXPECT_EQ(window()->isVisible(), !ended);
        EXPECT_EQ(run->form1()->application()->screenUpdating(), ended);
        EXPECT_EQ(sheet().range(QStringLiteral("AU1")).text(), QString::number(r.pages.size()));
        EXPECT_EQ(sheet().range(QStringLiteral("AV1")).text(), QString::number(r.pageCount));
        EXPECT_EQ(orientation.size(), *r.printer ? 1u : 2u) << "one report of the pages not printed";
    }
}

TEST_F(PrintJob, PrintsThePagesDownTheRegistryAndSavesItsPageSetupAndScratchCells)
{
    addSubjects(2, 121);
    openWindow();
    choose("PDF");
    print("110", Y, {Y, Y, Y});
    EXPECT_TRUE(printed(QStringLiteral("SOGGETTO 120")));
    ASSERT_EQ(run->printers.jobs.size(), 3u);
    EXPECT_EQ(run->printers.jobs[1].pages[0].cells.front().text, QStringLiteral("56"));
    EXPECT_FALSE(run->control<QCheckBox>("Check2")->isChecked());
    EXPECT_TRUE(run->forms->isLoaded<printing::StampaP>());

    archive_files::inspect(archive, [&](host::Workbook &book) {
        host::Worksheet &registry = book.sheets(archive::kSheetName);
        for (const auto &[cell, value] : {std::pair{"AU1", "3"}, {"AV1", "3"}, {"AZ1", "110"}})
            EXPECT_EQ(registry.range(QString::fromLatin1(cell)).text(), QString::fromLatin1(value)) << cell;
        const host::PageSetup page = registry.pageSetup();
        EXPECT_EQ(page.printArea(), QStringLiteral("$A$1:$R$121"));
        EXPECT_EQ(page.centerHeader(), header(true));
        for (double margin : {page.leftMargin(), page.rightMargin(), page.bottomMargin(), page.headerMargin(),
                              page.footerMargin()})
            EXPECT_NEAR(margin, 15.12, 1e-9);
        EXPECT_DOUBLE_EQ(page.topMargin(), 36);
        EXPECT_EQ(page.fitToPagesWide() * 10 + page.fitToPagesTall(), 11);
        EXPECT_EQ(page.paperSize(), 9);
        EXPECT_EQ(page.zoom(), 110);
    });
}

TEST_F(PrintJob, APageThatCannotBePrintedIsReportedNamingThePrinterAndWhy)
{
    addSubjects(2, 60);
    openWindow();
    choose("Stampante Rimossa");
    print("110", Y, {Y, Y});
    ASSERT_EQ(run->dialogs.boxes.size(), 4u);
    const auto &report = run->dialogs.boxes[2]; // right after the first page's question
    EXPECT_EQ(report.title, QStringLiteral("Velmoro"));
    EXPECT_TRUE(report.buttons == Buttons::Ok && report.icon == Icon::Exclamation);
    EXPECT_EQ(report.text.section(u'\n', 0, 1),
              QStringLiteral("La pagina 1 non è stata stampata sulla stampante \"Stampante Rimossa\":\n"
                             "La stampante \"Stampante Rimossa\" non è tra le stampanti installate."));
    EXPECT_EQ(saved("AV1"), QStringLiteral("2"));
}

} // namespace
