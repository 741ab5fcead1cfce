// Opening from the registry window, activation, hiding with the registry window, closing,
// and how the window looks and reads in keyboard order.
#include "BankWindow.h"

#include <QAccessible>
#include <QDir>
#include <QMenuBar>
#include <QRadioButton>

namespace {

class Lifecycle : public BankWindow {
protected:
    QRadioButton *option(const char *name) { return window()->findChild<QRadioButton *>(QString::fromLatin1(name)); }
    QString offered() // the options shown and their ticks, "IBAN=1;Verifica=1"
    {
        QStringList shown;
        for (const char *name : {"optBBAN", "optIBAN", "optCalcolo", "optVerifica"})
            if (option(name)->isVisible())
                shown << option(name)->text() + u'=' + QString::number(option(name)->isChecked());
        return shown.join(u';');
    }
};

TEST_F(Lifecycle, EachActivationOffersOnlyTheIbanCheck)
{
    open(QStringLiteral("IT60X0542811101000000123456"));
    EXPECT_EQ(offered(), QStringLiteral("IBAN=1;Verifica=1"));
    EXPECT_TRUE(registryCheck1()->isChecked());
    act({"pick optBBAN", "pick optCalcolo"});
    registryWindow()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(registryWindow()));
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    EXPECT_EQ(offered(), QStringLiteral("IBAN=1;Verifica=1"));
}

TEST_F(Lifecycle, HiddenWithTheRegistryAndShownAgainItKeepsItsTexts)
{
    open(QStringLiteral("IT60X0542811101000000123456"));
    act({"set txtAbi 1"});
    registryWindow()->findChild<QAction *>(QStringLiteral("mnuEsci"))->trigger();
    EXPECT_FALSE(window()->isVisible());
    run->control<QCheckBox>("Check1")->click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(registryWindow()));
    open(QStringLiteral("IT99"));
    EXPECT_EQ(texts(), QStringLiteral("IT60X0542811101000000123456|IT|||1||"));
}

TEST_F(Lifecycle, ClosingEmptiesItUnticksTheRegistryBoxAndUnloads)
{
    open(QStringLiteral("IT60X0542811101000000123456"));
    QPointer<bank::FrmBancari> closed = window();
    ASSERT_TRUE(run->forms->unload(closed));
    EXPECT_EQ(texts(closed), QStringLiteral("||||||"));
    EXPECT_FALSE(registryCheck1()->isChecked());
    EXPECT_FALSE(closed->isVisible());
    EXPECT_FALSE(run->forms->isLoaded<bank::FrmBancari>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    open(QStringLiteral("IT99"));
    EXPECT_EQ(texts(), QStringLiteral("IT99|IT|||||"));
}

TEST_F(Lifecycle, AFailedSaveIsReportedAndTheProgramGoesOn)
{
    open(QStringLiteral("IT60X0542811101000000123456"));
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
    EXPECT_EQ(text("txtCodice")->maxLength(), 27);
    EXPECT_EQ(text("txtCodice")->palette().color(QPalette::Base), QColor(255, 255, 192));
    QStringList order;
    QWidget *at = option("optIBAN");
    do {
        if (at->isVisible() && at->focusPolicy() & Qt::TabFocus)
            order << at->objectName() + u'=' + QAccessible::queryAccessibleInterface(at)->text(QAccessible::Name);
        at = at->nextInFocusChain();
    } while (at != option("optIBAN"));
    EXPECT_EQ(order.join(u';'), QStringLiteral("optIBAN=IBAN;optVerifica=Verifica;txtCodice=Codice;txtAbi=Abi;"
                                               "txtCab=Cab;txtCC=Conto Corrente;txtCin=Cin;txtStato=Codice Stato;"
                                               "txtCheck=Check;cmdGo=Verifica"));
}

} // namespace
