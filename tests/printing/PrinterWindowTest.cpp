// The printer window: its controls, the printer list and the default printer, and when the
// list is built again.
#include "PrintingFixture.h"

#include <QFontInfo>
#include <QLabel>

namespace {

class PrinterWindow : public PrintingFixture {
protected:
    QComboBox *combo() { return control<QComboBox>("Combo1"); }
    QStringList listed()
    {
        QStringList names;
        for (int i = 0; i < combo()->count(); ++i)
            names << combo()->itemText(i);
        return names;
    }
};

TEST_F(PrinterWindow, ListsThePrintersInTheSystemsOrderAndNamesTheDefaultOnASecondLine)
{
    openWindow();
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(window()->windowTitle(), QStringLiteral("Seleziona Stampante"));
    EXPECT_EQ(listed(), QStringList({QStringLiteral("Ufficio"), QStringLiteral("PDF"), QStringLiteral("Magazzino")}));
    EXPECT_EQ(combo()->currentIndex(), -1);
    EXPECT_EQ(combo()->currentText(), QStringLiteral("Seleziona la stampante"));
    EXPECT_EQ(label(), QStringLiteral("La stampante predefinita è: \r\nPDF"));
    EXPECT_EQ(control<QPushButton>("Command1")->text(), QStringLiteral("Seleziona"));
    EXPECT_EQ(control<QLabel>("Label5")->text(),
              QStringLiteral("Se di interesse si realizzano applicazioni o personalizzazioni  "));
    EXPECT_FALSE(stampe()->isChecked());
}

TEST_F(PrinterWindow, ControlsSitAtTheirTwipPositionsInBoldCalibri)
{
    openWindow();
    EXPECT_EQ(window()->size(), QSize(4815 / 15, 4020 / 15));
    const struct {
        const char *name;
        int left, top, width, height; // twips, 15 to a pixel
        double points;
    } controls[] = {
        {"Combo1", 600, 600, 3615, 345, 9.75},
        {"Command1", 600, 1320, 3615, 375, 11.25},
        {"Label1", 600, 2160, 3615, 495, 11.25},
        {"Label5", 360, 3000, 3975, 615, 9.75},
    };
    for (const auto &c : controls) {
        auto *widget = control<QWidget>(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15)) << c.name;
        EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), c.points) << c.name;
        EXPECT_TRUE(widget->font().bold()) << c.name;
        EXPECT_EQ(widget->font().family(), QStringLiteral("Calibri")) << c.name;
    }
    EXPECT_FALSE(combo()->accessibleName().isEmpty());
}

TEST_F(PrinterWindow, WithoutADefaultOrAnyPrinterItStillOpensAndSaysSo)
{
    const struct {
        QStringList installed;
        QString text;
    } cases[] = {
        {{QStringLiteral("Ufficio")}, QStringLiteral("La stampante predefinita è: \r\nnessuna")},
        {{}, QStringLiteral("Nessuna stampante installata:\r\nimpossibile stampare.")},
    };
    for (const auto &c : cases) {
        run->printers.installed = c.installed;
        run->printers.defaultPrinter.clear();
        openWindow();
        EXPECT_TRUE(window()->isVisible());
        EXPECT_EQ(listed(), c.installed);
        EXPECT_EQ(combo()->currentText(), QStringLiteral("Seleziona la stampante"));
        EXPECT_EQ(label(), c.text);
        EXPECT_TRUE(window()->close());
    }
}

TEST_F(PrinterWindow, AfterACompletedPrintStampeShowsTheChosenPrinterWithoutRebuildingTheList)
{
    addSubjects(2, 10);
    openWindow();
    choose("Magazzino");
    print("110", Answer::Yes, {Answer::Yes});
    EXPECT_FALSE(window()->isVisible());
    ASSERT_EQ(run->printers.jobs.size(), 1u);
    EXPECT_EQ(run->printers.jobs[0].printer, QStringLiteral("Magazzino"));

    run->printers.installed = {QStringLiteral("Nuova")};
    run->printers.defaultPrinter = QStringLiteral("Nuova");
    openWindow();
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(combo()->currentText(), QStringLiteral("Magazzino"));
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(label(), QStringLiteral("La stampante predefinita è: \r\nPDF"));
}

TEST_F(PrinterWindow, ClosingItUnloadsItAndTheNextShowBuildsTheListAgain)
{
    openWindow();
    choose("Ufficio");
    EXPECT_TRUE(window()->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(run->forms->isLoaded<printing::StampaP>());

    run->printers.installed = {QStringLiteral("Nuova")};
    run->printers.defaultPrinter = QStringLiteral("Nuova");
    openWindow();
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Nuova")});
    EXPECT_EQ(combo()->currentText(), QStringLiteral("Seleziona la stampante"));
    EXPECT_EQ(label(), QStringLiteral("La stampante predefinita è: \r\nNuova"));
}

} // namespace
