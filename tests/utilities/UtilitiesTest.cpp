// The progressive-ID window: what "Aggiorna ID Velmoro" stores, refuses and says, the input
// field's locking, and its closing steps. The date picker opened from the registry window:
// today's month on every activation, a picked day in the date field as the regional short
// date, nothing done on closing or while the field is hidden.
#include "utilities/Calendario.h"
#include "utilities/Progressivi.h"
#include "RegistryWindow.h"

#include <QSignalSpy>
#include <QAction>
#include <QCalendarWidget>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {

class ProgressiviWindow : public RegistryWindow {
protected:
    void openIt()
    {
        run->form1()->findChild<QAction *>(u"Util"_qs)->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowActive(run->forms->progressivi()));
    }
    bool isOpen() { return run->forms->isLoaded<utilities::Progressivi>(); }
    template <class T> T *in(const char *name) { return run->forms->progressivi()->findChild<T *>(name); }
    QLineEdit *input() { return in<QLineEdit>("Text1"); }
    // Text1's colour, state and text: "#ffffc0 on 12".
    QString field()
    {
        return input()->palette().color(QPalette::Base).name() + (input()->isEnabled() ? u" on "_qs : u" off "_qs) +
               input()->text();
    }
};

struct Update {
    const char *name;
    QString typed;           // nothing ticked for "-"
    QString counter, nextId; // IV1 afterwards, and the identifier the next add gives
    QString box;
    bool byEnter = false; // Enter in the input field instead of a click on the button
};

void PrintTo(const Update &update, std::ostream *out) { *out << update.name; }

const QString kRefused = u"!|Velmoro|Il nuovo progressivo \"%1\" non è valido: scrivere un numero intero da 0 "
                         "in su (al massimo 15 cifre), oppure lasciare il campo vuoto per ripartire da 1.\n"
                         "L'ID Velmoro non è stato aggiornato."_qs;
const QString kLowered = u"i|Velmoro|ID Velmoro aggiornato: il prossimo Soggetto avrà l'ID Progressivo %1.\n"
                         "Attenzione: l'archivio contiene già Soggetti con ID fino a 5, che potranno ripetersi."_qs;

class Aggiorna : public ProgressiviWindow, public testing::WithParamInterface<Update> {};

// Identifiers 1 to 5 in use, the counter at 5.
TEST_P(Aggiorna, StoresAWholeCounterSavesAndClosesOrRefusesAndStaysOpen)
{
    const Update &c = GetParam();
    for (int id = 1; id <= 5; ++id)
        put(id + 1, QString::number(id) + u"|SOGGETTO"_qs);
    sheet().range(u"IV1"_qs).setValue(u"5"_qs);
    openIt();
    run->form1()->hide();
    if (c.typed != u"-"_qs) {
        in<QCheckBox>("Check1")->click();
        QTest::keyClicks(input(), c.typed);
    }
    if (c.byEnter)
        QTest::keyClick(input(), Qt::Key_Return);
    else
        in<QPushButton>("Command1")->click();

    EXPECT_EQ(boxes(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
    EXPECT_EQ(sheet().range(u"IV1"_qs).text(), c.counter);
    const bool refused = c.box.startsWith(u'!');
    EXPECT_EQ(isOpen(), refused);
    EXPECT_EQ(run->form1()->isVisible(), !refused);
    EXPECT_EQ(archive_files::cellText(archive, u"IV1"_qs), refused ? QString() : c.counter);
    model::Fields fields{u""_qs, u"NUOVO"_qs};
    EXPECT_FALSE(model::Registry(*run->host()).add(fields));
    EXPECT_EQ(fields[0], c.nextId);
}

INSTANTIATE_TEST_SUITE_P(Progressivi, Aggiorna, testing::Values(
    Update{"UntickedChangesNothingButSaves", u"-"_qs, u"5"_qs, u"6"_qs, {}},
    Update{"EnterInTheInputPressesAggiorna", u"41"_qs, u"41"_qs, u"42"_qs, {}, true},
    Update{"BelowAnIdInUseSaysTheNextId", u"4"_qs, u"4"_qs, u"5"_qs, kLowered.arg(5)},
    Update{"AnEmptiedInputEmptiesTheCounter", {}, {}, u"1"_qs, kLowered.arg(1)},
    Update{"TextIsRefused", u"dieci"_qs, u"5"_qs, u"6"_qs, kRefused.arg(u"dieci"_qs)},
    Update{"ANegativeNumberIsRefused", u"-1"_qs, u"5"_qs, u"6"_qs, kRefused.arg(u"-1"_qs)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ProgressiviWindow, ShowsTheCounterAndComingBackLocksTheField)
{
    openIt();
    EXPECT_EQ(in<QLabel>("Label4")->text() + field(), u"#ffffff off "_qs);
    in<QCheckBox>("Check1")->click();
    QTest::keyClicks(input(), u"12"_qs);
    EXPECT_EQ(field(), u"#ffffc0 on 12"_qs);
    sheet().range(u"IV1"_qs).setValue(u"41"_qs);
    run->form1()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run->form1()));
    openIt();
    EXPECT_EQ(in<QLabel>("Label4")->text() + field(), u"41#ffffc0 off 12"_qs);
    in<QCheckBox>("Check1")->click();
    EXPECT_EQ(field(), u"#ffffff off "_qs);
    in<QCheckBox>("Check1")->click();
    EXPECT_TRUE(input()->isEnabled() && input()->hasFocus());
}

TEST_F(ProgressiviWindow, AFailedSaveOnClosingIsShownAndAfterTheHostEndedEsciClosesItSilently)
{
    openIt();
    ASSERT_TRUE(QDir(folder.path()).removeRecursively()); // no file can be written there
    EXPECT_TRUE(run->forms->progressivi()->close());
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_TRUE(boxes()[0].startsWith(u"!|Velmoro|Salvataggio dell'archivio non riuscito"_qs));
    EXPECT_FALSE(isOpen() || run->program.ended());

    openIt();
    run->host()->quit();
    run->form1()->findChild<QPushButton *>(u"Command1"_qs)->click();
    EXPECT_FALSE(isOpen() || run->program.endings != 1);
    EXPECT_EQ(boxes().size(), 1);
}

// The slot meets a failure of the host and stops there, with the program's unhandled-error
// behaviour: nothing left to save, the program ends.
TEST_F(ProgressiviWindow, AggiornaAfterTheHostEndedFromOutsideShowsTheRunTimeErrorAndEnds)
{
    openIt();
    run->host()->quit();
    in<QCheckBox>("Check1")->click();
    input()->setText(u"7"_qs);
    in<QPushButton>("Command1")->click();
    EXPECT_EQ(boxes(), QStringList(u"x|Velmoro|Errore di run-time '462':\n\n"
                                   "Il computer server remoto non esiste o non è disponibile"_qs));
    EXPECT_EQ(run->program.endings, 1);
}

struct Picking {
    const char *locale;
    bool byKeyboard;
    QString shown;
};

void PrintTo(const Picking &picking, std::ostream *out) { *out << picking.locale; }

class Picker : public RegistryWindow, public testing::WithParamInterface<Picking> {
protected:
    bool isOpen() { return run->forms->isLoaded<utilities::Calendario>(); }
    QCalendarWidget *calendar() { return run->forms->calendario()->findChild<QCalendarWidget *>(u"Calendario"_qs); }
    void tickCheck2()
    {
        check(2)->click();
        ASSERT_TRUE(QTest::qWaitForWindowActive(run->forms->calendario()));
    }
    // The 5th of December 2026, with Enter or with a click: in Italian the first week's
    // Saturday, after the week numbers.
    void pickDecember5(bool byKeyboard)
    {
        auto *view = calendar()->findChild<QTableView *>();
        calendar()->setCurrentPage(2026, 12);
        if (byKeyboard) {
            calendar()->setSelectedDate(QDate(2026, 12, 5));
            return QTest::keyClick(view, Qt::Key_Return);
        }
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 6)).center());
    }
};

TEST_P(Picker, OpensOnTodayPutsAPickedDayInTheDateFieldAndDoesNothingElse)
{
    start(QLocale(QString::fromLatin1(GetParam().locale)));
    put(2, u"1|ROSSI"_qs);
    open();
    tickCheck2();
    text(4)->setText(u"01/02/2025"_qs);
    EXPECT_TRUE(run->forms->calendario()->close());
    EXPECT_EQ(text(4)->text() + items(), u"01/02/2025ROSSI"_qs);
    check(2)->click();
    EXPECT_FALSE(isOpen());

    tickCheck2();
    const QDate today = QDate::currentDate();
    calendar()->setSelectedDate(today.addYears(-2).addMonths(1));
    act({u"back"_qs, u"tick 2"_qs});
    tickCheck2();
    EXPECT_EQ(calendar()->selectedDate(), today);
    EXPECT_EQ(QDate(calendar()->yearShown(), calendar()->monthShown(), today.day()), today);

    QSignalSpy picked(run->forms->calendario(), &utilities::Calendario::datePicked);
    pickDecember5(GetParam().byKeyboard);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked[0][0].toDate(), QDate(2026, 12, 5));
    EXPECT_EQ(text(4)->text(), GetParam().shown);
    EXPECT_EQ(items() + combo()->currentText(), QString());
    EXPECT_FALSE(isOpen());

    act({u"mnuEsci"_qs, u"tick 2"_qs});
    pickDecember5(GetParam().byKeyboard);
    EXPECT_TRUE(isOpen());
    EXPECT_EQ(text(4)->text(), QString());
    EXPECT_EQ(boxes(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Calendario, Picker, testing::Values(
    Picking{"it_IT", false, u"05/12/2026"_qs}, Picking{"en_US", true, u"12/5/2026"_qs}),
    [](const auto &info) { return std::string(info.param.locale); });

} // namespace
