#include "ProgramActivation.h"

#include "Forms.h"

#include <QApplication>
#include <QEvent>

namespace app {

ProgramActivation::ProgramActivation(QWidget &window, const Forms &forms, std::function<void()> activated)
    : QObject(&window), window_(window), forms_(forms), activated_(std::move(activated))
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
        QWidget *next = QApplication::activeWindow();
        pending_ = next && next != &window_ && forms_.loaded().contains(next);
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

} // namespace app
