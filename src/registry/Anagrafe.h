#pragma once

#include "model/Registry.h"
#include "platform/Dialogs.h"

#include <QDate>
#include <QMainWindow>
#include <array>

class QAction;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QTimer;

namespace kit { struct Context; }

namespace registry {

class DuplicateNotice;

// The registry window: the list of subject names, one subject field by field, and the
// commands that add, modify and delete subjects. "Esci" hides it; it never closes.
class Anagrafe : public QMainWindow {
    Q_OBJECT

public:
    explicit Anagrafe(kit::Context &context);

    void load();
    // Appends the registry's names to the list; it does not empty the list first.
    void Carica();
    // Runs each time the window becomes active coming from another window of the program
    // or from being hidden; a message box or another program does not count.
    void FormActivate();
    // The date picked in the date picker goes into the date field, in the regional short date,
    // and empties the name list; false, and nothing changed, while the field is not shown.
    bool setPickedDate(QDate date);
    // Ticked or unticked without acting, as the bank check window closes.
    void setBankCheckBoxChecked(bool checked);

signals:
    // "Verifica IBAN " ticked: the IBAN field's text to check.
    void ibanCheckRequested(const QString &iban);
    void datePickerRequested();
    // "Esci": the window is hidden; the main window is to come back.
    void left();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildFields(QWidget *area);
    QBoxLayout *buildListRow(QWidget *area);
    QBoxLayout *buildBankRow(QWidget *area);
    QBoxLayout *buildIbanRow(QWidget *area);
    void buildMenu();
    void chainTabOrder();

    void Azzera();
    void Check1Click(bool checked);
    void Check2Click(bool checked);
    void Combo1Click();
    void MnAggClick();
    void mnuMClick();
    void MnuEClick();
    void mnuPClick();
    void mnuEsciClick();

    model::Registry registry() const;
    model::Fields typedFields() const;
    QString field(int number) const;
    void emptyList();
    void reloadList();
    bool refusedWithoutKey(const QString &nameMessage, const QString &title,
                           platform::Dialogs::Icon nameIcon);
    platform::Dialogs::Answer box(const QString &text, const QString &title,
                                  platform::Dialogs::Icon icon,
                                  platform::Dialogs::Buttons buttons = platform::Dialogs::Buttons::Ok);

    kit::Context &context_;

    QComboBox *Combo1;
    std::array<QLineEdit *, archive::kFieldCount> Text{}; // Text1..Text18 in order
    QLineEdit *Text19;
    QCheckBox *Check1, *Check2;
    DuplicateNotice *duplicateNotice_;
    QTimer *Timer1;
    QMenu *MnCliente;
    QAction *mnuM, *MnuE, *MnAgg, *mnuP, *mnuEsci;
};

} // namespace registry
