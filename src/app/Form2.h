#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace app {

class Forms;

// The instructions window: the terms of use first, the description after "Istruzioni".
// Closing it unloads it and brings the main window back.
class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(Forms &forms);
    void load();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Command3Click();

    Forms &forms_;
    QLabel *Label1, *Image1;
    QPlainTextEdit *Text1, *Text2;
    QPushButton *Command3;
};

} // namespace app
