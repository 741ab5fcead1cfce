#pragma once

#include "Anagrafe.h"
#include "TestRun.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

// The program started on a fresh archive, subjects typed into its registry sheet, and the
// registry window opened from the main window as the user opens it.
class RegistryWindow : public ArchiveFolder {
protected:
    void SetUp() override { start(Regional::italian()); }
    void start(const Regional &regional);

    host::Worksheet &sheet();
    // Cells from column A on, one text each; "" leaves a cell empty.
    void put(int row, const QStringList &cells);
    void open();        // the main window's Check1, then the activation
    void comeBack();    // from the main window to this one

    registry::Anagrafe *window() { return run->forms->anagrafe(); }
    template <class T> T *control(const char *name) const;
    QLineEdit *text(int number);
    QStringList fields(); // Text1..Text18
    QComboBox *combo() { return control<QComboBox>("Combo1"); }
    QStringList items();
    void pick(int item); // as the user picks the item-th name (from 1) of the list
    // One key whose character is outside what QTest::keyClicks can type.
    static void typeKey(QLineEdit *field, const QString &character);
    void command(const char *name, std::initializer_list<FakeDialogs::Answer> answers = {});
    QStringList boxTexts();

    // Every filled cell of rows 2..7 (A..S) and IV1, "B2=ROSSI"; dates end in " [data]".
    QStringList cells();
    // The same, read with the engine from the archive "Esci" saved.
    QStringList savedCells();

    std::unique_ptr<TestRun> run;
};

template <class T> T *RegistryWindow::control(const char *name) const
{
    return run->forms->anagrafe()->findChild<T *>(QString::fromLatin1(name));
}

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
