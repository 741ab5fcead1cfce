// The printer window: the printer list, the default printer, and when the list is built again.
#include "PrintingFixture.h"

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
    QString label() { return control<QLabel>("Label1")->text(); }
};

TEST_F(PrinterWindow, ListsThePrintersInTheSystemsOrderAndNamesTheDefaultOnASecondLine)
{
    const struct {
        QStringList installed;
        QString defaultPrinter, label;
    } systems[] = {
        {{"Ufficio", "PDF", "Magazzino"}, "PDF", "La stampante predefinita è: \r\nPDF"},
        {{"Ufficio"}, "", "La stampante predefinita è: \r\nnessuna"},
        {{}, "", "Nessuna stampante installata:\r\nimpossibile stampare."},
    };
    for (const auto &system : systems) {
        install(system.installed, system.defaultPrinter);
        openWindow();
        EXPECT_TRUE(window()->isVisible());
        EXPECT_EQ(window()->windowTitle(), QStringLiteral("Seleziona Stampante"));
        EXPECT_EQ(listed(), system.installed);
        EXPECT_EQ(combo()->currentIndex(), -1);
        EXPECT_EQ(combo()->currentText(), QStringLiteral("Seleziona la stampante"));
        EXPECT_EQ(label(), system.label);
        EXPECT_FALSE(run->control<QCheckBox>("Check2")->isChecked());
        EXPECT_TRUE(window()->close());
    }
}

TEST_F(PrinterWindow, KeepsItsListAndChoiceAfterAPrintAndBuildsThemAgainOnlyAfterClosing)
{
    addSubjects(2, 10);
    openWindow();
    choose("Magazzino");
    print("110", Answer::Yes, {Answer::Yes});
    EXPECT_FALSE(window()->isVisible());
    ASSERT_EQ(run->printers.jobs.size(), 1u);
    EXPECT_EQ(run->printers.jobs[0].printer, QStringLiteral("Magazzino"));

    install({QStringLiteral("Nuova")}, QStringLiteral("Nuova"));
    openWindow();
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(combo()->currentText(), QStringLiteral("Magazzino"));
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(label(), QStringLiteral("La stampante predefinita è: \r\nPDF"));

    EXPECT_TRUE(window()->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(run->forms->isLoaded<printing::StampaP>());
    openWindow();
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Nuova")});
    EXPECT_EQ(combo()->currentText(), QStringLiteral("Seleziona la stampante"));
}

} // namespace
