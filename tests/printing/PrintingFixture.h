#pragma once

#include "StampaP.h"
#include "TestRun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The program started on a fresh archive with three printers installed, "PDF" the default.
class PrintingFixture : public OnAFreshArchive {
protected:
    using Answer = platform::Dialogs::Answer;

    void SetUp() override
    {
        OnAFreshArchive::SetUp();
        run->printers.installed = {QStringLiteral("Ufficio"), QStringLiteral("PDF"), QStringLiteral("Magazzino")};
        run->printers.defaultPrinter = QStringLiteral("PDF");
    }
    // Subjects in rows first..last: the identifier in A, a name in B.
    void addSubjects(int first, int last)
    {
        for (int row = first; row <= last; ++row) {
            sheet().cells(row, 1).setValue(double(row - 1));
            sheet().cells(row, 2).setValue(QStringLiteral("SOGGETTO %1").arg(row - 1));
        }
    }
    QCheckBox *stampe() { return run->control<QCheckBox>("Check2"); }
    printing::StampaP *window() { return run->forms->stampaP(); }
    template <class T> T *control(const char *name) { return window()->findChild<T *>(QString::fromLatin1(name)); }
    printing::StampaP *openWindow()
    {
        stampe()->click();
        return window();
    }
    void choose(const char *printer)
    {
        QLineEdit *edit = control<QComboBox>("Combo1")->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(printer));
    }
    // Types the zoom, answers the orientation and each page question in turn, and presses "Seleziona".
    void print(const char *zoom, Answer portrait, std::initializer_list<Answer> pages)
    {
        run->dialogs.typed.push_back(QString::fromLatin1(zoom));
        run->dialogs.answers.push_back(portrait);
        run->dialogs.answers.insert(run->dialogs.answers.end(), pages);
        control<QPushButton>("Command1")->click();
        EXPECT_TRUE(run->dialogs.answers.empty()) << "questions left unasked";
    }
    QString label() { return control<QLabel>("Label1")->text(); }
};
