#pragma once

#include "printing/StampaP.h"
#include "TestRun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The program on a fresh archive with three printers installed, "PDF" the default.
class PrintingFixture : public OnAFreshArchive {
protected:
    using Answer = platform::Dialogs::Answer;

    void SetUp() override
    {
        OnAFreshArchive::SetUp();
        install({QStringLiteral("Ufficio"), QStringLiteral("PDF"), QStringLiteral("Magazzino")}, QStringLiteral("PDF"));
    }
    void install(const QStringList &printers, const QString &defaultPrinter)
    {
        run->printers.installed = printers;
        run->printers.defaultPrinter = defaultPrinter;
    }
    // Subjects in rows first..last: the identifier in A, a name in B.
    void addSubjects(int first, int last)
    {
        for (int row = first; row <= last; ++row) {
            sheet().cells(row, 1).setValue(double(row - 1));
            sheet().cells(row, 2).setValue(QStringLiteral("SOGGETTO %1").arg(row - 1));
        }
    }
    printing::StampaP *window() { return run->forms->stampaP(); }
    template <class T> T *control(const char *name) { return window()->findChild<T *>(QString::fromLatin1(name)); }
    void openWindow() { run->control<QCheckBox>("Check2")->click(); }
    void choose(const char *printer)
    {
        QLineEdit *edit = control<QComboBox>("Combo1")->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(printer));
    }
    // Types the zoom, answers the orientation and the page questions, presses "Seleziona".
    void print(const char *zoom, Answer portrait, const std::vector<Answer> &pages)
    {
        run->dialogs.typed.push_back(QString::fromLatin1(zoom));
        run->dialogs.answers.push_back(portrait);
        run->dialogs.answers.insert(run->dialogs.answers.end(), pages.begin(), pages.end());
        control<QPushButton>("Command1")->click();
        EXPECT_TRUE(run->dialogs.answers.empty()) << "questions left unasked";
    }
};
