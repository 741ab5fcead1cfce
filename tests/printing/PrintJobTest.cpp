// The registry print job. At 110 % a portrait A4 page holds 56 rows of 14.025 points in 790.77
// (841.89 less 36 and 15.12), a landscape one 38 in 544.16; at 90 % a portrait page 68, and at
// 100 %, the zoom of a fresh archive, 62.
#include "PrintingFixture.h"

#include "spreadsheet/Application.h"
#include "archive/Columns.h"
#include "OfficeSubjects.h"

#include <QDate>
#include <QFontMetricsF>
#include <QImage>

namespace {

using Buttons = platform::Dialogs::Buttons;
using Icon = platform::Dialogs::Icon;
constexpr auto Y = platform::Dialogs::Answer::Yes;
constexpr auto N = platform::Dialogs::Answer::No;

class PrintJob : public PrintingFixture {
protected:
    std::vector<const FakeDialogs::Box *> boxes(const QString &title)
    {
        std::vector<const FakeDialogs::Box *> found;
        for (const auto &box : run->dialogs.boxes)
            if (box.title == title)
                found.push_back(&box);
        return found;
    }
    // The page setup, the scratch cells and the zoom the job saved in the archive.
    void expectSaved(const char *area, bool portrait, int zoom, int page, int pages)
    {
        archive_files::inspect(archive, [&](host::Workbook &book) {
            host::Worksheet &registry = book.sheets(archive::kSheetName);
            const auto text = [&](const char *address) { return registry.range(QString::fromLatin1(address)).text(); };
            EXPECT_EQ(text("AU1") + u' ' + text("AV1") + u' ' + text("AZ1"), QStringLiteral("%1 %2 110").arg(page).arg(pages));
            const host::PageSetup setup = registry.pageSetup();
            EXPECT_EQ(setup.printArea(), QString::fromLatin1(area));
            EXPECT_EQ(setup.centerHeader(), (portrait ? u"Stampa   Registrazioni   ------ del     "_qs
                                                      : u"Stampa  Anagrafe Soggetti  ------ del     "_qs) +
                                                 Regional::italian().dateText(QDate::currentDate()));
            EXPECT_EQ(setup.orientation(), portrait ? host::Orientation::Portrait : host::Orientation::Landscape);
            EXPECT_EQ(setup.zoom(), zoom);
            for (double margin : {setup.leftMargin(), setup.rightMargin(), setup.bottomMargin(), setup.headerMargin(),
                                  setup.footerMargin()})
                EXPECT_NEAR(margin, 15.12, 1e-9);
            EXPECT_DOUBLE_EQ(setup.topMargin(), 36);
            EXPECT_EQ(setup.fitToPagesWide() * 10 + setup.fitToPagesTall(), 11);
            EXPECT_EQ(setup.paperSize(), 9);
        });
    }
};

TEST_F(PrintJob, AsksSetsThePagesUpAndPrintsEachPageTheUserConfirms)
{
    using Printed = std::vector<std::pair<int, QString>>; // page number, its first cell
    const struct {
        const char *name;
        int lastRow;         // subjects in rows 2..lastRow
        const char *cleared; // an identifier emptied by hand, or ""
        const char *printer; // not PDF nor Ufficio: not installed
        const char *zoom;
        Answer portrait;
        std::vector<Answer> pages;
        const char *area;
        int zoomSet, pageCount;
        Printed printed;
    } runs[] = {
        {"three pages", 121, "", "PDF", "110", Y, {Y, Y, Y}, "$A$1:$R$121", 110, 3, {{1, "ID"}, {2, "56"}, {3, "112"}}},
        {"No on page 1", 121, "", "PDF", "110", Y, {N}, "$A$1:$R$121", 110, 3, {}},
        {"zoom 90", 121, "", "PDF", "90", Y, {N}, "$A$1:$R$121", 90, 2, {}},
        {"zoom not a number", 121, "", "PDF", "abc", Y, {N}, "$A$1:$R$121", 100, 2, {}},
        {"zoom 5", 121, "", "PDF", "5", Y, {N}, "$A$1:$R$121", 100, 2, {}},
        {"zoom 1000", 121, "", "PDF", "1000", Y, {N}, "$A$1:$R$121", 100, 2, {}},
        {"a half to the even neighbour", 121, "", "PDF", "109,5", Y, {N}, "$A$1:$R$121", 110, 3, {}},
        {"landscape", 121, "", "PDF", "110", N, {N}, "$A$1:$N$121", 110, 4, {}},
        {"empty registry: the header row", 1, "", "PDF", "110", Y, {Y}, "$A$1:$R$1", 110, 1, {{1, "ID"}}},
        {"empty registry in landscape", 1, "", "PDF", "110", N, {Y}, "$A$1:$N$1", 110, 1, {{1, "ID"}}},
        {"gap", 20, "A11", "PDF", "110", Y, {Y}, "$A$1:$R$10", 110, 1, {{1, "ID"}}},
        {"no identifier in row 2: down to the next one", 20, "A2", "PDF", "110", Y, {Y}, "$A$1:$R$3", 110, 1, {{1, "ID"}}},
        {"printer gone", 121, "", "Stampante Rimossa", "110", Y, {Y, Y, Y}, "$A$1:$R$121", 110, 3, {}},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.name);
        startOn(folder.filePath(QString::fromLatin1(r.name) + QStringLiteral(".xls")));
        install({QStringLiteral("Ufficio"), QStringLiteral("PDF")}, QStringLiteral("PDF"));
        addSubjects(2, r.lastRow);
        if (*r.cleared)
            sheet().range(QString::fromLatin1(r.cleared)).clearContents();
        openWindow();
        choose(r.printer);
        print(r.zoom, r.portrait, r.pages);

        ASSERT_EQ(run->dialogs.inputs.size(), 1u);
        const auto &input = run->dialogs.inputs[0];
        EXPECT_EQ(input.prompt + u'|' + input.title + u'|' + input.defaultText,
                  u"Digita la percentuale di Zoom della Stampa 80-90-100"_qs + QString(18, u'.') + u"|Gestione Velmoro|110"_qs);
        const auto orientation = boxes(QStringLiteral("Velmoro"));
        const QString printer = QString::fromUtf8(r.printer);
        if (printer == QStringLiteral("PDF")) {
            EXPECT_EQ(orientation.size(), 1u);
        } else { // one report of the pages not printed, right after the first page's question
            ASSERT_EQ(orientation.size(), 2u);
            EXPECT_EQ(orientation[1], &run->dialogs.boxes[2]);
            EXPECT_TRUE(orientation[1]->buttons == Buttons::Ok && orientation[1]->icon == Icon::Exclamation);
            EXPECT_EQ(orientation[1]->text.section(u'\n', 0, 1),
                      QStringLiteral("La pagina 1 non è stata stampata sulla stampante \"%1\":\n"
                                     "La stampante \"%1\" non è tra le stampanti installate.").arg(printer));
        }
        EXPECT_EQ(orientation[0]->text, QStringLiteral(" Vuoi la Stampa Verticale ?") + QString(57, u'.'));
        const auto questions = boxes(QStringLiteral("Stampa Risultato "));
        ASSERT_EQ(questions.size(), r.pages.size());
        for (const auto *box : {orientation[0], questions.back()})
            EXPECT_TRUE(box->buttons == Buttons::YesNo && box->icon == Icon::None);
        EXPECT_EQ(questions.back()->text, QStringLiteral("Vuoi Procedere alla stampa   ?  Pagine     %1    di    %2")
                                              .arg(r.pages.size()).arg(r.pageCount));
        Printed printed;
        for (const auto &job : run->printers.jobs) {
            EXPECT_EQ(job.printer, QStringLiteral("PDF"));
            EXPECT_EQ(job.copies, 1);
            for (const auto &page : job.pages)
                printed.emplace_back(page.number, page.cells.empty() ? QString() : page.cells.front().text);
        }
        EXPECT_EQ(printed, r.printed);
        const bool ended = r.pages.back() == Y;
        EXPECT_EQ(window()->isVisible(), !ended);
        EXPECT_TRUE(run->forms->isLoaded<printing::StampaP>());
        EXPECT_EQ(run->host()->screenUpdating(), ended);
        expectSaved(r.area, r.portrait == Y, r.zoomSet, int(r.pages.size()), r.pageCount);
    }
}

// A text prints whole when its width in the page's font (measured at 10 dots a point) leaves
// the cell's padding of 1.5 points each side.
bool printsWhole(const host::PrintedPage &page, const host::PrintedCell &cell)
{
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(int(720 / 0.0254));
    device.setDotsPerMeterY(int(720 / 0.0254));
    QFont font(page.fontFamily);
    font.setPointSizeF(page.fontPoints);
    return QFontMetricsF(font, &device).horizontalAdvance(cell.text) / 10 <= cell.box.width() - 3;
}

TEST_F(PrintJob, AFreshArchivePrintsWhatAnOfficeKeepsInItsColumnsWhole)
{
    const struct {
        const char *zoom;
        Answer portrait;
        int columns;  // on the first page, from A
        size_t cells; // the headers and the five subjects' filled fields in those columns
    } runs[] = {{"25", Y, 18, 102}, {"62", N, 14, 80}, {"110", N, 8, 48}};
    for (const auto &r : runs) {
        SCOPED_TRACE(r.zoom);
        startOn(folder.filePath(QString::fromLatin1(r.zoom) + QStringLiteral(".xls")));
        install({QStringLiteral("PDF")}, QStringLiteral("PDF"));
        office_subjects::add(sheet());
        openWindow();
        choose("PDF");
        print(r.zoom, r.portrait, {Y});
        ASSERT_EQ(run->printers.jobs.size(), 1u);
        const host::PrintedPage &page = run->printers.jobs[0].pages.at(0);
        QStringList headers, expected;
        for (const host::PrintedCell &cell : page.cells) {
            if (cell.box.top() == 0)
                headers << cell.text;
            EXPECT_TRUE(printsWhole(page, cell)) << cell.text.toStdString();
        }
        for (int column = 0; column < r.columns; ++column)
            expected << archive::kHeaders[std::size_t(column)];
        EXPECT_EQ(headers, expected);
        EXPECT_EQ(page.cells.size(), r.cells);
    }
}

} // namespace
