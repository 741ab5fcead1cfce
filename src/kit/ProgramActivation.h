#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace kit {

// Calls back each time a window becomes the active one on being shown or coming back from
// another window of the program; a message box or another program in between does not count.
class ProgramActivation : public QObject {
    Q_OBJECT

public:
    using IsProgramWindow = std::function<bool(const QWidget *)>;

    ProgramActivation(QWidget &window, IsProgramWindow isProgramWindow, std::function<void()> activated);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &window_;
    IsProgramWindow isProgramWindow_;
    std::function<void()> activated_;
    bool pending_ = false;
};

} // namespace kit
