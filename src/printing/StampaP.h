#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace kit { struct Context; }

namespace printing {

// The printer window: lists the installed printers, names the default one, and on
// "Seleziona" (or Enter) prints the registry on the printer its combo box names, then saves
// the archive; "Anteprima" shows the pages it would print. With no printer chosen either says
// so and does nothing else. Closing it unloads it; a print job the user lets run to its end
// hides it.
class StampaP : public QWidget {
    Q_OBJECT

public:
    explicit StampaP(kit::Context &context);
    void load();

    // Whatever Combo1 shows, picked from the list or typed.
    QString printerName() const;

signals:
    void printFinished();

private:
    // False, after saying so, while no printer is named.
    bool printerChosen();
    void Command1Click();
    void Command2Click();

    kit::Context &context_;
    QComboBox *Combo1;
    QPushButton *Command1, *Command2;
    QLabel *Label1, *Label5;
};

} // namespace printing
