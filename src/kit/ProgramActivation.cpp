#include "ProgramActivation.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace kit {

ProgramActivation::ProgramActivation(QWidget &window, IsProgramWindow isProgramWindow,
                                     std::function<void()> activated)
    : QObject(&window), window_(window), isProgramWindow_(std::move(isProgramWindow)),
      activated_(std::move(activated))
{
    window.installEventFilter(this);
}

bool ProgramActivation::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &window_)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        pending_ = true;
        break;
    case QEvent::WindowDeactivate: {
        // Qt has already made the new window the active one.
        const QWidget *next = QApplication::activeWindow();
        pending_ = next && next != &window_ && isProgramWindow_(next);
        break;
    }
    case QEvent::WindowActivate:
        if (pending_)
            activated_();
        break;
    default:
        break;
    }
    return false;
}

} // namespace kit
