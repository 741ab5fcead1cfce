// The progressive-ID window: what it shows, what "Aggiorna ID Velmoro" stores and refuses,
// the input field's locking, and its closing steps.
#include "Progressivi.h"
#include "Registry.h"
#include "UtilityWindows.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class ProgressiviWindow : public UtilityWindows {
protected:
    void SetUp() override { start(); }
    utilities::Progressivi *open()
    {
        run->control<QAction>("Util")->trigger();
        utilities::Progressivi *window = run->forms->progressivi();
        activate(window);
        return window;
    }
    bool isOpen() { return run->forms->isLoaded<utilities::Progressivi>(); }
    template <class T> T *control(const char *name)
    {
        return run->forms->progressivi()->findChild<T *>(QString::fromLatin1(name));
    }
    QLineEdit *input() { return control<QLineEdit>("Text1"); }
    QColor background() { return input()->palette().color(QPalette::Base); }
    QString counter() { return sheet().range(u"IV1"_qs).text(); }
    // The identifier the registry gives the next subject added.
    QString nextId()
    {
        registry::Fields fields;
        fields[1] = u"NUOVO"_qs;
        EXPECT_FALSE(registry::Registry(*run->form1()->application()).add(fields));
        return fields[0];
    }
};

struct Update {
    const char *name;
    bool tick;
    QString typed;
    QString counter, nextId; // IV1 after the click, and the identifier the next add gives
    QString box;             // "" when none
};

const QString kRefused = u"!|Velmoro|Il nuovo progressivo \"%1\" non è valido: scrivere un numero intero da 0 "
                         "in su (al massimo 15 cifre), oppure lasciare il campo vuoto per ripartire da 1.\n"
                         "L'ID Velmoro non è stato aggiornato."_qs;
const QString kLowered = u"i|Velmoro|ID Velmoro aggiornato: il prossimo Soggetto avrà l'ID Progressivo %1.\n"
                         "Attenzione: l'archivio contiene già Soggetti con ID fino a 5, che potranno ripetersi."_qs;

void PrintTo(const Update &update, std::ostream *out)
{
    *out << update.name;
}

class Aggiorna : public ProgressiviWindow, public testing::WithParamInterface<Update> {};

// Five subjects, identifiers 1 to 5, and the counter at 5.
TEST_P(Aggiorna, StoresOnlyAWholeCounterAndClosesSavingOrKeepsTheWindowOpen)
{
    const Update &c = GetParam();
    ids(5);
    sheet().range(u"IV1"_qs).setValue(5.0);
    open();
    if (c.tick)
        control<QCheckBox>("Check1")->click();
    QTest::keyClicks(input(), c.typed);

    control<QPushButton>("Command1")->click();

    EXPECT_EQ(boxes(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
    EXPECT_EQ(counter(), c.counter);
    const bool refused = c.box.startsWith(u'!');
    EXPECT_EQ(isOpen(), refused);
    if (refused) {
        EXPECT_EQ(input()->text(), c.typed);
        EXPECT_TRUE(input()->isEnabled());
        EXPECT_EQ(archive_files::cellText(archive, u"IV1"_qs), QString());
    } else {
        EXPECT_EQ(archive_files::cellText(archive, u"IV1"_qs), c.counter);
        EXPECT_TRUE(run->form1()->isVisible());
    }
    EXPECT_EQ(nextId(), c.nextId);
}

INSTANTIATE_TEST_SUITE_P(Progressivi, Aggiorna, testing::Values(
    Update{"UntickedChangesNothingButSaves", false, {}, u"5"_qs, u"6"_qs, {}},
    Update{"FortyOneMakesTheNextSubject42", true, u"41"_qs, u"41"_qs, u"42"_qs, {}},
    Update{"TheHighestIdInUseSaysNothing", true, u"5"_qs, u"5"_qs, u"6"_qs, {}},
    Update{"BelowTheIdsInUseSaysTheNextId", true, u"4"_qs, u"4"_qs, u"5"_qs, kLowered.arg(5)},
    Update{"ZeroStartsAgainFrom1", true, u"0"_qs, u"0"_qs, u"1"_qs, kLowered.arg(1)},
    Update{"AnEmptiedInputEmptiesTheCounter", true, {}, {}, u"1"_qs, kLowered.arg(1)},
    Update{"TextIsRefused", true, u"dieci"_qs, u"5"_qs, u"6"_qs, kRefused.arg(u"dieci"_qs)},
    Update{"AFractionIsRefused", true, u"4,5"_qs, u"5"_qs, u"6"_qs, kRefused.arg(u"4,5"_qs)},
    Update{"ANegativeNumberIsRefused", true, u"-1"_qs, u"5"_qs, u"6"_qs, kRefused.arg(u"-1"_qs)},
    Update{"SixteenDigitsAreRefused", true, u"1000000000000000"_qs, u"5"_qs, u"6"_qs,
           kRefused.arg(u"1000000000000000"_qs)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ProgressiviWindow, ShowsTheCounterAndLocksTheFieldOnEveryActivation)
{
    open();
    EXPECT_EQ(control<QLabel>("Label4")->text(), QString());
    EXPECT_FALSE(input()->isEnabled());
    EXPECT_EQ(background(), QColor(255, 255, 255));

    control<QCheckBox>("Check1")->click();
    EXPECT_TRUE(input()->isEnabled());
    EXPECT_TRUE(input()->hasFocus());
    EXPECT_EQ(background(), QColor(255, 255, 192));
    QTest::keyClicks(input(), u"12"_qs);

    sheet().range(u"IV1"_qs).setValue(u"41"_qs);
    comeBack(run->forms->progressivi());
    EXPECT_EQ(control<QLabel>("Label4")->text(), u"41"_qs);
    EXPECT_TRUE(control<QCheckBox>("Check1")->isChecked());
    EXPECT_FALSE(input()->isEnabled());
    EXPECT_EQ(input()->text(), u"12"_qs);
    EXPECT_EQ(background(), QColor(255, 255, 192));

    control<QCheckBox>("Check1")->click();
    EXPECT_FALSE(input()->isEnabled());
    EXPECT_EQ(input()->text(), QString());
    EXPECT_EQ(background(), QColor(255, 255, 255));
    control<QCheckBox>("Check1")->click();
    EXPECT_TRUE(input()->isEnabled());
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(ProgressiviWindow, TheCloseBoxUnloadsItShowsTheMainWindowAndSaves)
{
    open();
    run->form1()->hide();
    sheet().range(u"IV1"_qs).setValue(u"7"_qs);
    EXPECT_TRUE(run->forms->progressivi()->close());
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(run->form1()->isVisible());
    EXPECT_EQ(archive_files::cellText(archive, u"IV1"_qs), u"7"_qs);

    open();
    EXPECT_FALSE(control<QCheckBox>("Check1")->isChecked());
    EXPECT_EQ(control<QLabel>("Label4")->text(), u"7"_qs);
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(ProgressiviWindow, AFailedSaveOnClosingIsShownAndTheProgramGoesOn)
{
    const QString subfolder = folder.filePath(u"programma"_qs);
    ASSERT_TRUE(QDir().mkpath(subfolder));
    archive = subfolder + u"/Archivio.xls"_qs;
    start();
    open();
    ASSERT_TRUE(QDir(subfolder).removeRecursively());

    control<QPushButton>("Command1")->click();

    ASSERT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_TRUE(run->dialogs.boxes[0].text.startsWith(u"Salvataggio dell'archivio non riuscito"_qs));
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(run->program.ended());
}

TEST_F(ProgressiviWindow, EsciAfterTheHostWasEndedClosesItWithoutAMessage)
{
    open();
    run->form1()->application()->quit();
    run->form1()->findChild<QPushButton *>(u"Command1"_qs)->click();
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(run->program.endings, 1);
}

} // namespace
