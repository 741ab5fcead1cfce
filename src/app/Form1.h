#pragma once

#include <QMainWindow>
#include <functional>

class QAction;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace kit { struct Context; }

namespace app {

// The main window: starts the program on the archive, asks for the other windows, hands the
// archive over, and is the only window that ends the program. It never closes on request.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    // `unloadOtherWindows` closes every other loaded window with its own closing steps.
    Form1(kit::Context &context, std::function<void()> unloadOtherWindows);

    // Start-up: the archive opened and prepared, then the window shows itself. Host errors
    // propagate to the caller, which reports them and ends the program.
    void load();
    // Ticked or unticked without acting, as another window leaves.
    void setRegistryBoxChecked(bool checked);
    void setPrintBoxChecked(bool checked);

    void CloseHostAndExit();
    void HandOverToHost();

signals:
    void registryRequested();
    void printRequested();
    void utilitiesRequested();
    void instructionsRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeControls();
    void addBottomRows(QGridLayout *grid);
    bool givesUpUnsavedChanges();
    void onCheck1Toggled(bool checked);
    void onCheck2Toggled(bool checked);
    void onCheck3Toggled(bool checked);
    void onCheck5Toggled(bool checked);
    void EsportaClick();
    void Image1MouseDown();

    kit::Context &context_;
    std::function<void()> UnloadOtherWindows;

    QCheckBox *Check1, *Check2, *Check3, *Check5;
    QPushButton *Command1;
    QLineEdit *Text1;
    QTimer *Timer1;
    QLabel *Label1, *Label5, *Image1;
    QAction *Util, *Esporta;
};

} // namespace app
