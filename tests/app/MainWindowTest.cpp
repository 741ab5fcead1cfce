// The main window and the instructions window at work: check boxes, clock, picture, fonts, the
// two fixed texts, and the refusal to close.
#include "Form2.h"
#include "TestRun.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

class MainWindow : public OnAFreshArchive {
protected:
    QCheckBox *check(const char *name) { return run->control<QCheckBox>(name); }
    app::Form1 *form() { return run->form1(); }
    app::Form2 *openInstructions()
    {
        check("Check5")->click();
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
    EXPECT_FALSE(form()->close() || run->forms->unload(form()));
    EXPECT_TRUE(form()->isVisible() && run->forms->loaded().contains(form()));
    EXPECT_FALSE(run->program.ended());
}

TEST_F(MainWindow, Check1SavesTheArchiveAndUncheckingItDoesNothing)
{
    type("B2", "ROSSI MARIO");
    check("Check1")->click();
    EXPECT_TRUE(check("Check1")->isChecked());
    EXPECT_EQ(saved("B2"), QStringLiteral("ROSSI MARIO"));

    type("B3", "BIANCHI ANNA");
    const auto before = archive_files::snapshot(folder.path());
    check("Check1")->click();
    EXPECT_FALSE(check("Check1")->isChecked());
    EXPECT_EQ(archive_files::snapshot(folder.path()), before);
    EXPECT_TRUE(run->dialogs.boxes.empty() && form()->isVisible() && !run->program.ended());
}

TEST_F(MainWindow, Check2SavesAndLeavesEveryCheckBoxUnchecked)
{
    check("Check1")->click();
    type("B2", "VERDI SNC");
    check("Check2")->click();
    for (const char *name : {"Check1", "Check2", "Check3"})
        EXPECT_FALSE(check(name)->isChecked()) << name;
    EXPECT_EQ(saved("B2"), QStringLiteral("VERDI SNC"));
    EXPECT_FALSE(run->program.ended());
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
    const char *lastRow[] = {"Label1", "Text1", "Command1"};
    for (std::size_t i = 1; i < std::size(lastRow); ++i) {
        EXPECT_GE(at(lastRow[i]).left(), at(lastRow[i - 1]).right()) << lastRow[i];
        EXPECT_NEAR(at(lastRow[i]).center().y(), at("Label1").center().y(), 4) << lastRow[i];
    }
    EXPECT_LE(at("Image1").right(), at("Check1").left());
    EXPECT_LE(at("Image1").bottom(), at("Label5").top());
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

TEST_F(MainWindow, InstructionsShowTheTermsFirstAndIstruzioniSwitchesToTheDescriptionForGood)
{
    app::Form2 *instructions = openInstructions();
    EXPECT_TRUE(instructions->isVisible());
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
}

TEST_F(MainWindow, InstructionsHideTheMainWindowUntilClosedAndOnlyATickOpensThemAgain)
{
    app::Form2 *instructions = openInstructions();
    EXPECT_FALSE(form()->isVisible());
    in<QPushButton>(instructions, "Command3")->click();
    EXPECT_TRUE(instructions->close());
    EXPECT_FALSE(run->forms->isLoaded<app::Form2>());
    EXPECT_TRUE(form()->isVisible() && check("Check5")->isChecked());

    check("Check5")->click(); // unchecking does nothing
    EXPECT_FALSE(run->forms->isLoaded<app::Form2>());
    EXPECT_TRUE(showsTerms(openInstructions()));
    EXPECT_TRUE(run->dialogs.boxes.empty());
}

} // namespace
