#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace app {

// The instructions window: the terms of use first, the description after "Istruzioni".
// Closing it unloads it; it then says so, for the main window to come back.
class Form2 : public QWidget {
    Q_OBJECT

public:
    Form2();
    void load();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Command3Click();

    QLabel *Label1, *Image1;
    QPlainTextEdit *Text1, *Text2;
    QPushButton *Command3;
};

} // namespace app
