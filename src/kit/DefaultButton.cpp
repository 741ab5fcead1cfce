#include "DefaultButton.h"

#include <QKeyEvent>
#include <QPushButton>

namespace kit {

namespace {

// Return, or Enter on the keypad, with no other modifier, as a dialog takes them.
bool isEnter(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers others = key.modifiers() & ~Qt::KeypadModifier;
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && others == Qt::NoModifier;
}

// Sees the keys that reach the window, those that no control of it took, and leaves them
// to the window once Enter has pressed the button.
class EnterPresses : public QObject {
public:
    EnterPresses(QWidget &window, QPushButton &button) : QObject(&window), button_(button)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && isEnter(*static_cast<QKeyEvent *>(event)))
            button_.click();
        return false;
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

} // namespace kit
