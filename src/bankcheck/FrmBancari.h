#pragma once

#include "platform/Dialogs.h"

#include <QMainWindow>

class CheckBancari;
class QAction;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kit { struct Context; }

namespace bankcheck {

// The bank check window: splits an IBAN into its parts and says whether its check digits
// (and the CIN letter in it) are right. Opened from the registry window's "Verifica IBAN ".
class FrmBancari : public QMainWindow {
    Q_OBJECT

public:
    explicit FrmBancari(kit::Context &context);

    // The IBAN the window takes on loading, the registry window's.
    void setIban(const QString &iban);
    void load();
    // Leaves only the IBAN check on offer; runs each time the window becomes active.
    void FormActivate();

signals:
    void closed();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildOptions(QWidget *area);
    void buildFields(QWidget *area);
    void chainTabOrder();

    void SeparaCodice();
    void cmdGoClick();
    bool check();
    void checkIban(CheckBancari &engine, const QString &cin);
    void checkCin(const QString &cin);
    void PulisciClick();
    void say(const QString &text, platform::Dialogs::Icon icon = platform::Dialogs::Icon::None);

    kit::Context &context_;
    QString iban_;

    QGroupBox *Frame1, *Frame2;
    QRadioButton *optBBAN, *optIBAN, *optCalcolo, *optVerifica;
    QLineEdit *txtCodice, *txtAbi, *txtCab, *txtCC, *txtCin, *txtStato, *txtCheck;
    QPushButton *cmdGo;
    QAction *Pulisci;
};

} // namespace bankcheck
