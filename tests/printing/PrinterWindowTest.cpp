// The printer window: the printer list, the default printer, when the list is built again, and
// "Seleziona" (or Enter) with no printer chosen; a save that fails after printing; "Anteprima"
// showing the pages the print job prints.
#include "PrintingFixture.h"

#include <QAccessible>
#include <QFile>
#include <QSignalSpy>

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
    QSignalSpy finished(window(), &printing::StampaP::printFinished);
    print("110", Answer::Yes, {Answer::Yes});
    EXPECT_EQ(finished.count(), 1);
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

TEST_F(PrinterWindow, WithNoPrinterChosenSelezionaOrEnterSaysSoAndDoesNothingElse)
{
    addSubjects(2, 10);
    openWindow();
    const auto files = archive_files::snapshot(folder.path());
    const QString area = sheet().pageSetup().printArea();
    control<QPushButton>("Command1")->click(); // on the placeholder
    choose("  ");
    QTest::keyClick(combo(), Qt::Key_Return);

    ASSERT_EQ(run->dialogs.boxes.size(), 2u);
    for (const auto &box : run->dialogs.boxes)
        EXPECT_EQ(box.title + u'|' + box.text, u"Velmoro|Seleziona prima una stampante dall'elenco."_qs);
    EXPECT_EQ(run->dialogs.boxes[0].icon, platform::Dialogs::Icon::Exclamation);
    EXPECT_TRUE(run->dialogs.inputs.empty() && run->printers.jobs.empty());
    EXPECT_EQ(sheet().pageSetup().printArea() + sheet().range(u"AZ1"_qs).text(), area);
    EXPECT_EQ(archive_files::snapshot(folder.path()), files);
    EXPECT_TRUE(window()->isVisible());

    choose("PDF"); // Enter then starts the print job
    run->dialogs.typed = {u"110"_qs};
    run->dialogs.answers = {Answer::Yes, Answer::No};
    QTest::keyClick(combo(), Qt::Key_Return);
    EXPECT_EQ(run->dialogs.inputs.size(), 1u);
}

TEST_F(PrinterWindow, ASaveThatFailsAfterPrintingIsReportedAndTheProgramKeepsItsData)
{
    addSubjects(2, 10);
    openWindow();
    choose("PDF");
    ASSERT_TRUE(QFile::setPermissions(archive, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    print("110", Answer::Yes, {Answer::Yes});

    ASSERT_EQ(run->printers.jobs.size(), 1u);
    ASSERT_EQ(run->dialogs.boxes.size(), 3u); // the orientation, the page, the failed save
    const auto &failed = run->dialogs.boxes.back();
    EXPECT_TRUE(failed.text.startsWith(u"Salvataggio dell'archivio non riuscito (errore 1004):"_qs) &&
                failed.text.contains(u"è di sola lettura"_qs)) << failed.text.toStdString();
    EXPECT_FALSE(run->program.ended());
    EXPECT_EQ(sheet().range(u"AU1"_qs).text(), u"1"_qs);
}

TEST_F(PrinterWindow, AnteprimaAsksAsThePrintDoesAndShowsTheSamePagesWithoutPrinting)
{
    addSubjects(2, 81); // 80 subjects
    openWindow();
    auto *preview = control<QPushButton>("Command2");
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->text(), QStringLiteral("Anteprima"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(preview)->text(QAccessible::Name), QStringLiteral("Anteprima"));
    preview->click(); // no printer chosen: as "Seleziona"
    ASSERT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_EQ(run->dialogs.boxes[0].text, QStringLiteral("Seleziona prima una stampante dall'elenco."));
    EXPECT_TRUE(run->dialogs.previews.empty() && run->dialogs.inputs.empty());

    choose("Ufficio");
    const struct {
        const char *zoom;
        Answer portrait;
    } setups[] = {{"110", Answer::Yes}, {"110", Answer::No}, {"50", Answer::Yes}, {"200", Answer::No}};
    for (const auto &setup : setups) {
        run->dialogs.boxes.clear();
        run->dialogs.typed = {QString::fromLatin1(setup.zoom)};
        run->dialogs.answers = {setup.portrait};
        preview->click();
        EXPECT_TRUE(run->dialogs.answers.empty() && run->dialogs.typed.empty());
        ASSERT_FALSE(run->dialogs.previews.empty());
        const int previewed = run->dialogs.previews.back();
        EXPECT_TRUE(run->printers.jobs.empty());
        EXPECT_EQ(run->dialogs.boxes.size(), 1u) << "the orientation question only";
        EXPECT_TRUE(window()->isVisible());

        print(setup.zoom, setup.portrait, std::vector<Answer>(std::size_t(previewed), Answer::Yes));
        EXPECT_EQ(int(run->printers.jobs.size()), previewed) << setup.zoom;
        EXPECT_FALSE(window()->isVisible());
        run->printers.jobs.clear();
        openWindow();
    }
    EXPECT_EQ(run->dialogs.previews, (std::vector<int>{2, 3, 1, 4}));
}

} // namespace
