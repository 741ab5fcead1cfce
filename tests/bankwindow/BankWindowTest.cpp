// The bank check window opened from the registry window: pressing "Verifica" (how the code is
// split, the message for each kind of code, whether the archive is saved afterwards), activation,
// hiding with the registry window, closing, and how it looks and reads in keyboard order.
#include "bankcheck/FrmBancari.h"
#include "RegistryWindow.h"

#include <QSignalSpy>
#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

// One subject in the registry window, and the bank check window opened from there.
class BankWindow : public RegistryWindow {
protected:
    void SetUp() override
    {
        RegistryWindow::SetUp();
        put(2, u"1|ROSSI"_qs);
        RegistryWindow::open();
    }
    // Puts `iban` in the registry's IBAN field and ticks "Verifica IBAN "; afterwards the
    // boxes are forgotten and cell C2 carries a mark that only a save brings to disk.
    void open(const QString &iban = {})
    {
        RegistryWindow::text(18)->setText(iban);
        check(1)->click();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
        run->dialogs.boxes.clear();
        type("C2", "MARK");
    }
    bool savedSinceOpening() { return saved("C2") == u"MARK"_qs; }

    bankcheck::FrmBancari *window() { return run->forms->frmBancari(); }
    registry::Anagrafe *registryWindow() { return RegistryWindow::window(); }
    QLineEdit *text(const QString &name) { return window()->findChild<QLineEdit *>(name); }
    // Steps as the user takes them: "set txtAbi 5428", "type txtCodice IT60 X054",
    // "pick optBBAN" (an option), "press txtCodice Shift+Return" (keys in that field), "Pulisci",
    // "Verifica".
    void act(const QStringList &steps)
    {
        for (const QString &step : steps) {
            const QString verb = step.section(u' ', 0, 0), name = step.section(u' ', 1, 1);
            if (verb == u"set"_qs)
                text(name)->setText(step.section(u' ', 2));
            else if (verb == u"type"_qs)
                QTest::keyClicks(text(name), step.section(u' ', 2));
            else if (verb == u"pick"_qs)
                window()->findChild<QRadioButton *>(name)->setChecked(true);
            else if (verb == u"press"_qs) {
                const QKeyCombination key = QKeySequence(step.section(u' ', 2))[0];
                QTest::keyClick(text(name), key.key(), key.keyboardModifiers());
            }
            else if (verb == u"Pulisci"_qs)
                window()->findChild<QAction *>(verb)->trigger();
            else
                window()->findChild<QPushButton *>(u"cmdGo"_qs)->click();
        }
    }
    // txtCodice|txtStato|txtCheck|txtCin|txtAbi|txtCab|txtCC of `of`, or of the loaded window.
    QString texts(QWidget *of = nullptr)
    {
        QStringList texts;
        for (const char *name : {"txtCodice", "txtStato", "txtCheck", "txtCin", "txtAbi", "txtCab", "txtCC"})
            texts << (of ? of : window())->findChild<QLineEdit *>(QString::fromLatin1(name))->text();
        return texts.join(u'|');
    }
};

struct Check {
    const char *name;
    QString iban; // the registry's IBAN field when the window opens
    QStringList steps;
    QStringList boxes;
    QString texts;        // txtCodice|txtStato|txtCheck|txtCin|txtAbi|txtCab|txtCC afterwards
    bool saved = true;
    QString focus = {};   // the control holding the focus afterwards, when it matters
};

const QString kIban = QStringLiteral("IT60X0542811101000000123456");
const QString kRight = QStringLiteral("-|Velmoro|Check IBAN digitat : Corretto");
const QString kWrong = QStringLiteral("-|Velmoro|Check IBAN digitato :  Errato");
const QString kWrongCin = QStringLiteral("-|Velmoro|Cin errato");
const QString kTooLong = QStringLiteral("-|Velmoro|Lunghezza errata");
const QString kBadCountry = QStringLiteral("!|Velmoro|Il Codice Stato \"%1\" contiene caratteri non ammessi: scrivere "
                                           "solo lettere e cifre, senza spazi (ad esempio IT).\n"
                                           "La verifica non è stata eseguita.");
const QStringList kParts = {QStringLiteral("set txtAbi 5428"), QStringLiteral("set txtCab 11101"),
                            QStringLiteral("set txtCC 123456")};

void PrintTo(const Check &check, std::ostream *out)
{
    *out << check.name;
}

class Checks : public BankWindow, public testing::WithParamInterface<Check> {};

TEST_P(Checks, ShowTheirMessageAndSaveOnlyWhenCompleted)
{
    const Check &c = GetParam();
    open(c.iban);

    act(c.steps);

    EXPECT_EQ(boxes(), c.boxes);
    EXPECT_EQ(texts(), c.texts);
    if (!c.focus.isEmpty()) {
        EXPECT_EQ(QApplication::focusWidget(), text(c.focus));
    }
    EXPECT_EQ(savedSinceOpening(), c.saved);
    EXPECT_FALSE(run->program.ended());
}

INSTANTIATE_TEST_SUITE_P(BankWindow, Checks, testing::Values(
    Check{"A27CharacterIbanIsSplitAndCorrect", kIban, {"Verifica"}, {kRight},
          kIban + "|IT|60|X|05428|11101|000000123456"},
    Check{"CheckDigits61AreWrong", "IT61X0542811101000000123456", {"Verifica"}, {kWrong},
          "IT61X0542811101000000123456|IT|61|X|05428|11101|000000123456"},
    Check{"AWrongCinLetterIsNotCorrect", "IT60W0542811101000000123456", {"Verifica"}, {kWrongCin},
          "IT60W0542811101000000123456|IT|60|W|05428|11101|000000123456"},
    Check{"ACinTypedByHandIsCheckedToo", {}, kParts + QStringList{"set txtCheck 60", "set txtCin Z", "Verifica"},
          {kWrongCin}, "|IT|60|Z|5428|11101|123456"},
    Check{"LowerCaseIsNoFault", {}, {"set txtCodice it60x0542811101000000123456", "Verifica"}, {kRight},
          "it60x0542811101000000123456|it|60|x|05428|11101|000000123456"},
    Check{"PartsWithoutLeadingZerosAreCorrect", {}, kParts + QStringList{"set txtCheck 60", "Verifica"}, {kRight},
          "|IT|60||5428|11101|123456"},
    Check{"PartsWithoutLeadingZerosGiveTheZeroFilledCheckDigits", {}, kParts + QStringList{"pick optCalcolo", "Verifica"},
          {}, "|IT|60||5428|11101|123456"},
    Check{"SpacesTypedStopAt27AndNothingIsSplit", {}, {"type txtCodice IT60 X054 2811 1010 0000 0123 456", "Verifica"},
          {kWrong}, "IT60 X054 2811 1010 0000 01|IT|||||"},
    Check{"AnAccountOf13IsRefused", {}, {"set txtCC 0000001234567", "Verifica"}, {kTooLong},
          "|IT|||||0000001234567", false, "txtCC"},
    Check{"ACodeOf23RewritesTheAccountFirst", {}, {"set txtCC 0000001234567", "set txtCheck 60",
          "set txtCodice X0542811101000000123456", "Verifica"}, {kRight},
          "X0542811101000000123456|IT|60|X|05428|11101|000000123456"},
    Check{"AfterPulisciTheCountryIsItalyAgain", kIban, QStringList{"Pulisci"} + kParts + QStringList{"set txtCheck 60", "Verifica"},
          {kRight}, "|IT|60||5428|11101|123456"},
    Check{"EnterInAFieldPressesVerifica", kIban, {"press txtCodice Return", "press txtCab Num+Enter"}, {kRight, kRight},
          kIban + "|IT|60|X|05428|11101|000000123456"},
    Check{"OtherKeysInAFieldPressNothing", kIban, {"press txtCodice Shift+Return", "press txtCodice Down"}, {},
          kIban + "|IT|||||", false},
    Check{"ACountryWithATrailingBlankIsRefused", {}, kParts + QStringList{"set txtStato IT ", "Verifica"},
          {kBadCountry.arg("IT ")}, "|IT |||5428|11101|123456", false, "txtStato"},
    Check{"TheCinAloneIsComputed", {}, kParts + QStringList{"pick optBBAN", "pick optCalcolo", "Verifica"}, {},
          "|IT||X|5428|11101|123456"},
    Check{"TheCinAloneIsCorrect", kIban, {"pick optBBAN", "Verifica"}, {"-|Velmoro|Cin corretto"},
          kIban + "|IT|60|X|05428|11101|000000123456"},
    Check{"TheCinAloneIsCaseSensitive", {}, kParts + QStringList{"pick optBBAN", "set txtCin x", "Verifica"},
          {kWrongCin}, "|IT||x|5428|11101|123456"}),
    [](const auto &info) { return std::string(info.param.name); });

class Lifecycle : public BankWindow {
protected:
    QRadioButton *option(const char *name) { return window()->findChild<QRadioButton *>(QString::fromLatin1(name)); }
};

TEST_F(Lifecycle, HiddenWithTheRegistryAndShownAgainItKeepsItsTexts)
{
    open(kIban);
    act({"set txtAbi 1"});
    registryWindow()->findChild<QAction *>(QStringLiteral("mnuEsci"))->trigger();
    EXPECT_FALSE(window()->isVisible());
    RegistryWindow::open();
    open(QStringLiteral("IT99"));
    EXPECT_EQ(texts(), kIban + QStringLiteral("|IT|||1||"));
}

TEST_F(Lifecycle, ClosingEmptiesItUnticksTheRegistryBoxAndUnloads)
{
    QSignalSpy asked(registryWindow(), &registry::Anagrafe::ibanCheckRequested);
    open(kIban);
    EXPECT_EQ(asked.count() == 1 ? asked[0][0].toString() : QString(), kIban);
    QPointer<bankcheck::FrmBancari> closed = window();
    QSignalSpy said(closed.data(), &bankcheck::FrmBancari::closed);
    ASSERT_EQ(run->forms->unload(closed), root::Forms::Unloaded::Closed);
    EXPECT_EQ(said.count(), 1);
    EXPECT_EQ(texts(closed), QStringLiteral("|IT|||||"));
    EXPECT_FALSE(check(1)->isChecked() || closed->isVisible() || run->forms->isLoaded<bankcheck::FrmBancari>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    open(QStringLiteral("IT99"));
    EXPECT_EQ(texts(), QStringLiteral("IT99|IT|||||"));
}

TEST_F(Lifecycle, AFailedSaveIsReportedAndTheProgramGoesOn)
{
    open(kIban);
    ASSERT_TRUE(QDir(folder.path()).removeRecursively());
    act({"Verifica"});
    ASSERT_EQ(boxes().size(), 2);
    EXPECT_TRUE(boxes()[1].startsWith(QStringLiteral("!|Velmoro|Salvataggio dell'archivio non riuscito"))) << boxes()[1].toStdString();
    EXPECT_FALSE(run->program.ended());
}

TEST_F(Lifecycle, TitleLookAndKeyboardOrderWithWhatEachControlAnnounces)
{
    open();
    EXPECT_EQ(window()->windowTitle(), QStringLiteral("Verifica IBAN"));
    EXPECT_EQ(window()->menuBar()->actions().first()->text(), QStringLiteral("& Pulisci"));
    EXPECT_TRUE(option("optIBAN")->isChecked() && option("optVerifica")->isChecked() && check(1)->isChecked());
    EXPECT_EQ(text("txtCodice")->maxLength(), 27);
    EXPECT_TRUE(window()->findChild<QPushButton *>(QStringLiteral("cmdGo"))->isDefault()); // drawn as Enter's button
    EXPECT_EQ(text("txtCodice")->palette().color(QPalette::Base), QColor(255, 255, 192));
    EXPECT_EQ(tabOrder(option("optIBAN")), QStringLiteral("optIBAN=IBAN;optVerifica=Verifica;txtCodice=Codice;txtAbi=Abi;"
                                               "txtCab=Cab;txtCC=Conto Corrente;txtCin=Cin;txtStato=Codice Stato;"
                                               "txtCheck=Check;cmdGo=Verifica"));
}

} // namespace
