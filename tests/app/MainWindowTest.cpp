// The main window at work: check boxes, clock, picture, fonts, the instructions window and its
// two texts, the refusal to close. Saving and leaving: a save that fails behind a check box or
// "Esci" is reported and the program goes on with its data unless, on "Esci", the user gives
// them up; "Esci" and "Excel" save, close the other windows whatever fails in their closing
// steps, and end; "Excel" with nothing to show the archive keeps the program.
#include "app/Form2.h"
#include "archive/Columns.h"
#include "spreadsheet/HostError.h"
#include "TestRun.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <stdexcept>

namespace {

using Answer = platform::Dialogs::Answer;
using Buttons = platform::Dialogs::Buttons;

class MainWindow : public OnAFreshArchive {
protected:
    QAbstractButton *button(const char *name) { return run->control<QAbstractButton>(name); }
    app::Form1 *form() { return run->form1(); }
    app::Form2 *openInstructions()
    {
        button("Check5")->click();
        return run->forms->form2();
    }
    template <class T> T *in(app::Form2 *window, const char *name)
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    bool showsTerms(app::Form2 *window)
    {
        return in<QPlainTextEdit>(window, "Text1")->isVisible() && in<QPlainTextEdit>(window, "Text2")->isHidden();
    }
};

TEST_F(MainWindow, RefusesToCloseFromTheCloseBoxOrAnUnload)
{
    EXPECT_FALSE(form()->close());
    EXPECT_EQ(run->forms->unload(form()), root::Forms::Unloaded::Refused);
    EXPECT_TRUE(form()->isVisible() && run->forms->loaded().contains(form()));
    EXPECT_FALSE(run->program.ended());
}

TEST_F(MainWindow, Check1AndCheck2SaveTheArchiveAndUncheckingDoesNothing)
{
    type("B2", "ROSSI MARIO");
    button("Check1")->click();
    EXPECT_TRUE(button("Check1")->isChecked());
    EXPECT_EQ(saved("B2"), QStringLiteral("ROSSI MARIO"));

    type("B2", "BIANCHI ANNA");
    const auto before = archive_files::snapshot(folder.path());
    button("Check1")->click();
    EXPECT_FALSE(button("Check1")->isChecked());
    EXPECT_EQ(archive_files::snapshot(folder.path()), before);

    button("Check1")->click();
    type("B2", "VERDI SNC");
    button("Check2")->click(); // and every check box is left unticked
    for (const char *name : {"Check1", "Check2", "Check3"})
        EXPECT_FALSE(button(name)->isChecked()) << name;
    EXPECT_EQ(saved("B2"), QStringLiteral("VERDI SNC"));
    EXPECT_TRUE(run->dialogs.boxes.empty() && form()->isVisible() && !run->program.ended());
}

TEST_F(MainWindow, ASaveWhoseBackupCannotBeMadeSavesAndSaysWhy)
{
    QFile blocker(folder.filePath(QStringLiteral("Backup"))); // a file where the folder would go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    type("B2", "ROSSI MARIO");
    button("Check1")->click();
    EXPECT_EQ(saved("B2"), QStringLiteral("ROSSI MARIO"));
    ASSERT_EQ(run->dialogs.boxes.size(), 1u);
    const auto &box = run->dialogs.boxes[0];
    EXPECT_EQ(box.title, QStringLiteral("Velmoro"));
    EXPECT_EQ(box.icon, platform::Dialogs::Icon::Exclamation);
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Copia di sicurezza non riuscita: impossibile scrivere nella cartella")) &&
                box.text.contains(QStringLiteral("L'archivio è stato salvato comunque")))
        << box.text.toStdString();

    ASSERT_TRUE(blocker.remove()); // with the folder possible again, saves say nothing
    button("Check2")->click();
    EXPECT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_TRUE(form()->isVisible() && !run->program.ended());
}

TEST_F(MainWindow, EsportaCsvAsksWhereWritesTheRegistryAndSaysHowManyWentWhere)
{
    QStringList menu;
    for (QAction *action : form()->menuBar()->actions())
        menu << action->text();
    EXPECT_EQ(menu.join(u';'), QStringLiteral("&Utilità/Progressivi;&Esporta CSV per il commercialista..."));
    type("A2", "1");
    type("B2", "ROSSI MARIO");
    type("A3", "2");
    type("B3", "BIANCHI ANNA");
    const QString target = folder.filePath(QStringLiteral("per lo studio.csv"));
    const QString missing = folder.filePath(QStringLiteral("manca/registro.csv"));
    QFile old(target); // the question has asked before replacing it
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("vecchio") == 7);
    old.close();
    run->dialogs.named = {target, QString(), missing};
    for (int i = 0; i < 3; ++i)
        run->control<QAction>("Esporta")->trigger();

    ASSERT_EQ(run->dialogs.files.size(), 3u);
    const auto &asked = run->dialogs.files[0];
    EXPECT_EQ(asked.title + u'|' + asked.filter, QStringLiteral("Esporta CSV per il commercialista|File CSV (*.csv)"));
    const QFileInfo suggested(asked.suggestedPath);
    EXPECT_EQ(suggested.fileName(), QDate::currentDate().toString(QStringLiteral("'Registro-'yyyyMMdd'.csv'")));
    EXPECT_TRUE(suggested.dir().exists());
    ASSERT_EQ(run->dialogs.boxes.size(), 2u); // the cancelled question says nothing
    EXPECT_EQ(run->dialogs.boxes[0].text, QStringLiteral("2 soggetti esportati nel file:\n%1\n\nSi apre con Excel o "
                                                         "LibreOffice Calc (separatore \";\").").arg(target));
    EXPECT_EQ(run->dialogs.boxes[0].icon, platform::Dialogs::Icon::Information);
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().split('\n');
    EXPECT_TRUE(lines.value(0).startsWith("\xEF\xBB\xBFID;") && lines.value(2).startsWith("2;BIANCHI ANNA;"));
    EXPECT_TRUE(run->dialogs.boxes[1].text.startsWith(QStringLiteral("Impossibile scrivere il file '%1'").arg(missing)))
        << run->dialogs.boxes[1].text.toStdString();
    EXPECT_EQ(run->dialogs.boxes[1].icon, platform::Dialogs::Icon::Exclamation);
    EXPECT_EQ(run->forms->loaded().size(), 1); // no other window opened
}

TEST_F(MainWindow, ShowsItsControlsInReadingOrderWithoutOverlap)
{
    const auto at = [&](const char *name) {
        auto *control = run->control<QWidget>(name);
        return QRect(control->mapTo(form(), QPoint(0, 0)), control->size());
    };
    const char *column[] = {"Check1", "Check2", "Check3", "Check5", "Label5", "Label1"};
    for (std::size_t i = 1; i < std::size(column); ++i)
        EXPECT_GE(at(column[i]).top(), at(column[i - 1]).bottom()) << column[i];
    for (const char *name : {"Text1", "Command1"})
        EXPECT_NEAR(at(name).center().y(), at("Label1").center().y(), 4) << name;
    EXPECT_TRUE(at("Label1").right() <= at("Text1").left() && at("Text1").right() <= at("Command1").left());
    EXPECT_TRUE(at("Image1").right() <= at("Check1").left() && at("Image1").bottom() <= at("Label5").top());
}

TEST_F(MainWindow, ClockShowsOreAndTheTimeAndThePictureOpensTheWebAddressWithABorder)
{
    auto *clock = run->control<QLineEdit>("Text1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !clock->text().isEmpty(); }, 2500));
    const QRegularExpression shown(QStringLiteral("^Ore\\.\\.\\.\\d{1,2}:\\d{2}(:\\d{2})?$"));
    EXPECT_TRUE(shown.match(clock->text()).hasMatch()) << clock->text().toStdString();

    auto *picture = run->control<QLabel>("Image1");
    EXPECT_EQ(picture->frameShape(), QFrame::NoFrame);
    QTest::mousePress(picture, Qt::LeftButton);
    EXPECT_EQ(picture->frameShape(), QFrame::Box);
    ASSERT_EQ(run->shell.opened.size(), 1u);
    EXPECT_EQ(run->shell.opened[0].scheme(), QStringLiteral("https"));
    EXPECT_FALSE(run->shell.opened[0].host().isEmpty());
}

TEST_F(MainWindow, EveryWindowUsesCalibriOrItsMetricTwin)
{
    openInstructions();
    const QString family = QFontDatabase::families().contains(u"Calibri"_qs) ? u"Calibri"_qs : u"Carlito"_qs;
    for (QWidget *window : run->forms->loaded()) {
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            EXPECT_EQ(widget->font().family() + u'/' + QFontInfo(widget->font()).family(), u"Calibri/"_qs + family)
                << widget->objectName().toStdString();
        }
    }
}

TEST_F(MainWindow, InstructionsShowTheTermsFirstSwitchForGoodAndHideTheMainWindowUntilClosed)
{
    app::Form2 *instructions = openInstructions();
    EXPECT_TRUE(instructions->isVisible() && !form()->isVisible());
    EXPECT_EQ(instructions->windowTitle(), form()->windowTitle());
    EXPECT_EQ(in<QLabel>(instructions, "Label1")->text(), QStringLiteral("Istruzioni e Termini di Utilizzo"));
    EXPECT_EQ(in<QLabel>(instructions, "Image1")->toolTip(), QStringLiteral("Via il mio sito !"));
    EXPECT_EQ(in<QPushButton>(instructions, "Command3")->text(), QStringLiteral("Istruzioni"));
    // The two texts, the right way round and whole.
    const QString terms = in<QPlainTextEdit>(instructions, "Text1")->toPlainText();
    const QString description = in<QPlainTextEdit>(instructions, "Text2")->toPlainText();
    EXPECT_TRUE(terms.startsWith(u"Se interssati la versione"_qs) && terms.endsWith(u"malfunzionamenti ecc. ."_qs));
    EXPECT_TRUE(description.startsWith(u"L'applicativo è molto intuitivo e  consente di :\n- Creare"_qs) &&
                description.endsWith(u"\n\nPer ogni dubbio , contattate l'Autore "_qs));
    EXPECT_TRUE(showsTerms(instructions));
    for (int press = 1; press <= 2; ++press) {
        in<QPushButton>(instructions, "Command3")->click();
        EXPECT_TRUE(in<QPlainTextEdit>(instructions, "Text1")->isHidden() &&
                    in<QPlainTextEdit>(instructions, "Text2")->isVisible()) << press;
    }
    EXPECT_TRUE(instructions->close());
    EXPECT_FALSE(run->forms->isLoaded<app::Form2>());
    EXPECT_TRUE(form()->isVisible() && button("Check5")->isChecked());

    button("Check5")->click(); // unchecking does nothing
    EXPECT_FALSE(run->forms->isLoaded<app::Form2>());
    EXPECT_TRUE(showsTerms(openInstructions()));
    EXPECT_TRUE(run->dialogs.boxes.empty());
}

// A loaded window whose closing steps fail.
class BrokenWindow : public QWidget {
public:
    explicit BrokenWindow(std::function<void()> fail) : fail_(std::move(fail)) {}
    int closings = 0;

protected:
    void closeEvent(QCloseEvent *) override
    {
        ++closings;
        fail_();
    }

private:
    std::function<void()> fail_;
};

// The archive sits in its own subfolder, which a test can take away.
class Exit : public MainWindow {
protected:
    void SetUp() override
    {
        subfolder = folder.filePath(QStringLiteral("programma"));
        ASSERT_TRUE(QDir().mkpath(subfolder));
        startOn(subfolder + QStringLiteral("/Archivio.xls"));
        type("B2", "ROSSI MARIO");
    }
    // The folder vanishes (a removed stick, a network share gone): no file can be written.
    void loseTheFolder() { ASSERT_TRUE(QDir(subfolder).removeRecursively()); }
    // How the program ended, what it said and showed, and whether the instructions are loaded.
    QString outcome()
    {
        return QStringLiteral("endings %1 code %2 boxes %3 presented %4 instructions %5")
            .arg(run->program.endings).arg(run->program.exitCode).arg(run->dialogs.boxes.size())
            .arg(run->presented.size()).arg(run->forms->isLoaded<app::Form2>());
    }
    void openInstructionsBehind()
    {
        openInstructions()->hide();
        form()->show();
    }

    QString subfolder;
};

class FailedSave : public Exit, public testing::WithParamInterface<const char *> {};

TEST_P(FailedSave, IsReportedWithNumberAndDescriptionAndTheProgramKeepsItsData)
{
    // "Esci" also offers to leave without saving: No keeps the program.
    const std::size_t boxes = QByteArray(GetParam()) == "Command1" ? 2 : 1;
    run->dialogs.answers.push_back(Answer::No);
    loseTheFolder();
    button(GetParam())->click();

    ASSERT_EQ(outcome(), QStringLiteral("endings 0 code -1 boxes %1 presented 0 instructions 0").arg(boxes));
    const QString &text = run->dialogs.boxes[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("(errore 1004)")) && text.contains(QStringLiteral("Archivio.xls")) &&
                text.contains(QStringLiteral(": file o cartella inesistente (errore di sistema 2)")))
        << text.toStdString();
    EXPECT_TRUE(form()->isVisible() && !button(GetParam())->isChecked());
    EXPECT_EQ(sheet().range(QStringLiteral("B2")).text(), QStringLiteral("ROSSI MARIO"));

    ASSERT_TRUE(QDir().mkpath(subfolder));
    button(GetParam())->click();
    EXPECT_EQ(run->dialogs.boxes.size(), boxes);
    EXPECT_EQ(saved("B2"), QStringLiteral("ROSSI MARIO"));
}

INSTANTIATE_TEST_SUITE_P(BehindEachButton, FailedSave, testing::Values("Check1", "Check2", "Check3", "Command1"),
                         [](const testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

struct Unhandled {
    const char *name;
    bool folderLost, hostQuit;
    int boxes;
    bool ends;
    QString saved; // B2 in the archive afterwards, unless the folder is lost
};

void PrintTo(const Unhandled &c, std::ostream *out) { *out << c.name; }

class UnhandledError : public Exit, public testing::WithParamInterface<Unhandled> {};

TEST_P(UnhandledError, IsShownWithNumberAndDescriptionAndEndsTheProgramOnlyAfterASave)
{
    const Unhandled &c = GetParam();
    if (c.folderLost)
        loseTheFolder();
    if (c.hostQuit)
        run->host()->quit();
    QTimer::singleShot(0, run->forms.get(), [this] {
        run->forms->guard().run([] {
            throw host::HostError(host::ErrorKind::InvalidArgument, host::kApplicationDefined,
                                  QStringLiteral("Metodo Prova della classe Range non riuscito"));
        });
    });
    QCoreApplication::processEvents();

    ASSERT_EQ(outcome(), QStringLiteral("endings %1 code %2 boxes %3 presented 0 instructions 0")
                             .arg(int(c.ends)).arg(c.ends ? 1 : -1).arg(c.boxes));
    EXPECT_EQ(run->dialogs.boxes[0].text,
              QStringLiteral("Errore di run-time '1004':\n\nMetodo Prova della classe Range non riuscito"));
    if (c.boxes == 2) {
        EXPECT_TRUE(run->dialogs.boxes[1].text.startsWith(QStringLiteral("Salvataggio dell'archivio non riuscito")));
    }
    if (!c.folderLost) {
        EXPECT_EQ(saved("B2"), c.saved);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, UnhandledError, testing::Values(
    Unhandled{"saved_then_ended", false, false, 1, true, QStringLiteral("ROSSI MARIO")},
    Unhandled{"unsaved_keeps_running", true, false, 2, false, {}},
    Unhandled{"host_quit_ends_without_a_save", false, true, 1, true, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Exit, EsciSavesTheActiveWorkbookWritesTheArchiveAgainAndEnds)
{
    openInstructionsBehind();
    // Another workbook made active: the save point saves it, the archive is written by SaveAs.
    const QString other = folder.filePath(QStringLiteral("Altro.xls"));
    archive_files::makeFresh(other);
    run->host()->open(other, archive::kPassword).activeSheet()
        .range(QStringLiteral("B2")).setValue(QStringLiteral("ALTRO"));

    button("Command1")->click();

    EXPECT_EQ(outcome(), QStringLiteral("endings 1 code 0 boxes 0 presented 0 instructions 0"));
    EXPECT_EQ(saved("B2") + archive_files::cellText(other, QStringLiteral("B2")), QStringLiteral("ROSSI MARIOALTRO"));
    EXPECT_EQ(run->host(), nullptr);
}

TEST_F(Exit, EsciAfterTheHostIsGoneEndsWithoutAMessageOrAWrite)
{
    auto before = archive_files::snapshot(subfolder);
    ASSERT_EQ(before.remove(QStringLiteral(".~velmoro.Archivio.xls.lock")), 1); // the lock goes with the program
    run->host()->quit();

    button("Command1")->click();

    EXPECT_EQ(outcome(), QStringLiteral("endings 1 code 0 boxes 0 presented 0 instructions 0"));
    EXPECT_EQ(archive_files::snapshot(subfolder), before);
}

TEST_F(Exit, EsciOnAnArchiveThatCannotBeSavedEndsOnlyWhenTheUserGivesUpTheChanges)
{
    ASSERT_TRUE(QFile::setPermissions(archive, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    auto before = archive_files::snapshot(subfolder);
    before.remove(QStringLiteral(".~velmoro.Archivio.xls.lock"));
    run->dialogs.answers = {Answer::No, Answer::Yes};

    button("Command1")->click();
    EXPECT_EQ(outcome(), QStringLiteral("endings 0 code -1 boxes 2 presented 0 instructions 0"));
    button("Command1")->click();

    ASSERT_EQ(outcome(), QStringLiteral("endings 1 code 0 boxes 4 presented 0 instructions 0"));
    for (const std::size_t i : {1u, 3u}) {
        const FakeDialogs::Box &question = run->dialogs.boxes[i];
        EXPECT_EQ(question.text, QStringLiteral("Uscire senza salvare? Le modifiche andranno perse"));
        EXPECT_TRUE(question.buttons == Buttons::YesNoDefaultNo && question.title == QStringLiteral("Velmoro"));
    }
    EXPECT_TRUE(run->dialogs.boxes[0].text.contains(QStringLiteral("è di sola lettura")))
        << run->dialogs.boxes[0].text.toStdString();
    EXPECT_EQ(archive_files::snapshot(subfolder), before);
    TestRun next(archive); // the lock went with the program
    EXPECT_TRUE(next.start() && next.dialogs.boxes.empty());
}

TEST_F(Exit, ExcelWithNothingToShowTheArchiveKeepsTheProgramAndItsWindowsUntilARetryShowsIt)
{
    openInstructionsBehind();
    button("Check1")->click();
    type("I2", "0612345678");
    run->presents = false;

    button("Check3")->click();

    EXPECT_FALSE(button("Check1")->isChecked() || button("Check3")->isChecked());
    EXPECT_EQ(outcome(), QStringLiteral("endings 0 code -1 boxes 0 presented 1 instructions 1"));
    EXPECT_EQ(saved("B2") + saved("I2"), QStringLiteral("ROSSI MARIO0612345678"));
    EXPECT_FALSE(run->host()->visible());

    run->presents = true;
    button("Check3")->click();
    EXPECT_EQ(outcome(), QStringLiteral("endings 1 code 0 boxes 0 presented 2 instructions 0"));
    EXPECT_EQ(run->presented, QStringList(2, run->forms->session().workbook()->fullName()));
    EXPECT_TRUE(run->host()->visible());
}

class ExitPast : public Exit, public testing::WithParamInterface<const char *> {};

TEST_P(ExitPast, ErrorsOfAnyKindInOtherWindowsClosingSteps)
{
    auto *hostFailure = new BrokenWindow([] {
        throw host::HostError(host::ErrorKind::InvalidArgument, host::kApplicationDefined,
                              QStringLiteral("Salvataggio non riuscito"));
    });
    auto *otherFailure = new BrokenWindow([] { throw std::runtime_error("rotto"); });
    run->forms->track(hostFailure);
    run->forms->track(otherFailure);
    openInstructionsBehind();
    type("B2", "NERI SPA");

    button(GetParam())->click();

    EXPECT_EQ(std::pair(hostFailure->closings, otherFailure->closings), std::pair(1, 1));
    EXPECT_EQ(outcome(), QStringLiteral("endings 1 code 0 boxes 0 presented %1 instructions 0")
                             .arg(QByteArray(GetParam()) == "Check3"));
    EXPECT_EQ(saved("B2"), QStringLiteral("NERI SPA"));
}

INSTANTIATE_TEST_SUITE_P(ThroughEsciAndExcel, ExitPast, testing::Values("Command1", "Check3"),
                         [](const testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

} // namespace
