#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kit { struct Context; }

namespace utilities {

// The progressive-ID window: shows the counter that numbers new subjects and sets it anew.
// Closing unloads it, says so for the main window to come back, and saves the archive.
class Progressivi : public QWidget {
    Q_OBJECT

public:
    explicit Progressivi(kit::Context &context);

    void load();
    // Each time the window becomes active coming from another window of the program.
    void FormActivate();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Check1Click(bool checked);
    void Command1Click();
    bool storeCounter();
    void box(const QString &text, bool warning);

    kit::Context &context_;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Image1;
    QCheckBox *Check1;
    QLineEdit *Text1;
    QPushButton *Command1;
};

} // namespace utilities
