#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace app { class Forms; }

namespace printing {

// The printer window: lists the installed printers, names the default one, and on
// "Seleziona" (or Enter) prints the registry on the printer its combo box names, then saves
// the archive; "Anteprima" shows the pages it would print. With no printer chosen either says so
// and does nothing else. Closing it unloads it; the print job only hides it.
class StampaP : public QWidget {
    Q_OBJECT

public:
    explicit StampaP(app::Forms &forms);
    void load();

    // Whatever Combo1 shows, picked from the list or typed.
    QString printerName() const;

private:
    // False, after saying so, while no printer is named.
    bool printerChosen();
    void Command1Click();

    app::Forms &forms_;
    QComboBox *Combo1;
    QPushButton *Command1, *Command2;
    QLabel *Label1, *Label5;
};

} // namespace printing
