#include "DefaultButton.h"

#include <QKeyEvent>
#include <QPushButton>

namespace app {

namespace {

// Sees the Enter keys that reach the window: those that no control of it took.
class EnterPresses : public QObject {
public:
    EnterPresses(QWidget &window, QPushButton &button) : QObject(&window), button_(button)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = (key->key() == Qt::Key_Return && key->modifiers() == Qt::NoModifier) ||
                           (key->key() == Qt::Key_Enter && (key->modifiers() & ~Qt::KeypadModifier) == 0);
        if (!enter || !button_.isVisible() || !button_.isEnabled())
            return false;
        button_.click();
        return true;
    }

private:
    QPushButton &button_;
};

} // namespace

void setDefaultButton(QWidget &window, QPushButton &button)
{
    button.setDefault(true);
    new EnterPresses(window, button);
}

} // namespace app
