#pragma once

#include "Application.h"
#include "ArchiveLock.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace app {

class Forms;

// The main window: starts the host on the archive, opens the other windows, hands the archive
// over, and is the only window that ends the program. It never closes on request.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(Forms &forms);
    ~Form1() override;

    // Start-up: lock, host, archive, preparation, then the window shows itself.
    // Host errors propagate to the caller, which reports them and ends the program.
    void load();

    host::Application *application() const { return app_.get(); }
    host::Workbook *workbook() const { return book_; }

    void UnloadOtherWindows();
    void CloseHostAndExit();
    void HandOverToHost();
    // On an unhandled error: true when the program may end (nothing open, or saved).
    bool saveBeforeEnding();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeControls();
    void addBottomRows(QGridLayout *grid);
    bool claimArchive();
    bool saveArchiveOrReport();
    bool givesUpUnsavedChanges();
    void onCheck1Toggled(bool checked);
    void onCheck2Toggled(bool checked);
    void onCheck3Toggled(bool checked);
    void onCheck5Toggled(bool checked);
    void Timer1Tick();
    void Image1MouseDown();
    void UtilClick();

    Forms &forms_;
    std::unique_ptr<archive::ArchiveLock> lock_;
    std::unique_ptr<host::Application> app_;
    host::Workbook *book_ = nullptr;
    bool started_ = false;
    bool handedOver_ = false; // something showed the archive when the host became visible

    QCheckBox *Check1, *Check2, *Check3, *Check5;
    QPushButton *Command1;
    QLineEdit *Text1;
    QTimer *Timer1;
    QLabel *Label1, *Label5, *Image1;
    QAction *Util, *Esporta;
};

} // namespace app
