#include "FieldRules.h"

#include "archive/Columns.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace registry {

namespace {

// Capitals go in as the user types, composes or pastes, so the field's own undo and redo
// record them. Anything else (a text set by the program, a drop, the context menu's paste)
// is replaced by its capitals once it is in, which restarts the field's undo history.
class Capitals : public QObject {
public:
    explicit Capitals(QLineEdit &field) : QObject(&field), field_(field)
    {
        field.installEventFilter(this);
        connect(&field, &QLineEdit::textChanged, this, &Capitals::replaceKeepingCaret);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            return typed(watched, *static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::InputMethod)
            return composed(watched, *static_cast<QInputMethodEvent *>(event));
        return false;
    }

private:
    bool typed(QObject *watched, QKeyEvent &key)
    {
        if (key.matches(QKeySequence::Paste)) {
            if (!field_.isReadOnly())
                field_.insert(upperKeepingLength(QGuiApplication::clipboard()->text()));
            return true;
        }
        const QString upper = upperKeepingLength(key.text());
        if (upper == key.text())
            return false;
        QKeyEvent capital(key.type(), key.key(), key.modifiers(), key.nativeScanCode(), key.nativeVirtualKey(),
                          key.nativeModifiers(), upper, key.isAutoRepeat(), key.count());
        QCoreApplication::sendEvent(watched, &capital);
        key.setAccepted(capital.isAccepted());
        return true;
    }
    bool composed(QObject *watched, QInputMethodEvent &input)
    {
        const QString upper = upperKeepingLength(input.commitString());
        if (upper == input.commitString())
            return false;
        QInputMethodEvent capital(input.preeditString(), input.attributes());
        capital.setCommitString(upper, input.replacementStart(), input.replacementLength());
        QCoreApplication::sendEvent(watched, &capital);
        return true;
    }
    void replaceKeepingCaret()
    {
        const QString upper = upperKeepingLength(field_.text());
        if (upper == field_.text())
            return;
        const int caret = field_.hasSelectedText() ? field_.selectionStart() : field_.cursorPosition();
        field_.setText(upper);
        field_.setCursorPosition(caret);
    }

    QLineEdit &field_;
};

} // namespace

QString upperKeepingLength(const QString &text)
{
    QString upper = text;
    for (QChar &letter : upper) {
        const char32_t capital = QChar::toUpper(letter.unicode());
        if (capital <= 0xFFFF)
            letter = QChar(char16_t(capital));
    }
    return upper;
}

void applyFieldRules(QLineEdit &field, int number)
{
    const archive::Field &rule = archive::kFields[std::size_t(number - 1)];
    if (rule.maxLength > 0)
        field.setMaxLength(rule.maxLength);
    if (!rule.keepsCase)
        new Capitals(field);
}

} // namespace registry
