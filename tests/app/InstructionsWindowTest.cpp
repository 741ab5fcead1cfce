// The instructions window: its two fixed texts, one at a time, and the way back.
#include "Form2.h"
#include "TestRun.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class InstructionsWindow : public OnAFreshArchive {
protected:
    void SetUp() override
    {
        OnAFreshArchive::SetUp();
        run->control<QCheckBox>("Check5")->click();
        ASSERT_TRUE(run->forms->isLoaded<app::Form2>());
        form = run->forms->form2();
    }
    template <class T> T *control(const char *name) { return form->findChild<T *>(QString::fromLatin1(name)); }
    bool showsTerms(app::Form2 *window)
    {
        return window->findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->isVisible() &&
               window->findChild<QPlainTextEdit *>(QStringLiteral("Text2"))->isHidden();
    }

    app::Form2 *form = nullptr;
};

const QString kTerms = QStringLiteral(
    "Se interssati la versione si può personalizzare , ad esempio aggiundendo \n"
    "uno Scadenziario od altro .\n"
    "L'utilizzatore dell'applicativo è l'unico eresponsabile sia in termini di \n"
    "perdita di dati, modifiche, malfunzionamenti ecc. .");

const QString kDescription = QStringLiteral(
    "L'applicativo è molto intuitivo e  consente di :\n"
    "- Creare un'Velmoro e gestirla\n"
    "- Inserimento della verifica del codice IBAN\n"
    "- Stampa\n"
    "- Cambiare il progressivo ID Soggetto\n"
    "\n"
    "Per ogni dubbio , contattate l'Autore ");

TEST_F(InstructionsWindow, ShowsTheTermsFirstAndIstruzioniSwitchesToTheDescriptionForGood)
{
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), run->form1()->windowTitle());
    EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("Istruzioni e Termini di Utilizzo"));
    EXPECT_EQ(control<QLabel>("Image1")->toolTip(), QStringLiteral("Via il mio sito !"));
    EXPECT_EQ(control<QPushButton>("Command3")->text(), QStringLiteral("Istruzioni"));
    EXPECT_EQ(control<QPlainTextEdit>("Text1")->toPlainText(), kTerms);
    EXPECT_EQ(control<QPlainTextEdit>("Text2")->toPlainText(), kDescription);
    EXPECT_TRUE(showsTerms(form));
    for (int press = 1; press <= 2; ++press) {
        control<QPushButton>("Command3")->click();
        EXPECT_TRUE(control<QPlainTextEdit>("Text1")->isHidden()) << press;
        EXPECT_TRUE(control<QPlainTextEdit>("Text2")->isVisible()) << press;
    }
}

TEST_F(InstructionsWindow, HidesTheMainWindowUntilItClosesAndUnloadsAndOnlyATickOpensItAgain)
{
    EXPECT_FALSE(run->form1()->isVisible());
    control<QPushButton>("Command3")->click();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(run->forms->isLoaded<app::Form2>());
    EXPECT_TRUE(run->form1()->isVisible());
    EXPECT_TRUE(run->control<QCheckBox>("Check5")->isChecked());

    run->control<QCheckBox>("Check5")->click(); // unchecking does nothing
    EXPECT_FALSE(run->forms->isLoaded<app::Form2>());
    run->control<QCheckBox>("Check5")->click();
    EXPECT_TRUE(showsTerms(run->forms->form2()));
    EXPECT_TRUE(run->dialogs.boxes.empty());
}

} // namespace
