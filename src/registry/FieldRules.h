#pragma once

#include <QString>

class QLineEdit;

namespace registry {

// Field `number` (1..18) of the registry window: capitals on every change of its text with
// the caret kept and undo and redo working, and the length bound for typing, pasting and
// texts set by the program.
void applyFieldRules(QLineEdit &field, int number);

// Capitals letter by letter, so the text keeps its length (and the caret its place).
QString upperKeepingLength(const QString &text);

} // namespace registry
