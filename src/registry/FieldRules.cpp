#include "FieldRules.h"

#include <QLineEdit>

namespace registry {

namespace {

struct Rule {
    bool upper;
    int maxLength; // 0: only the line edit's own bound
};

// Telephone, fax, mobile, e-mail and VAT number keep their case.
constexpr Rule kRules[18] = {
    {true, 0},  {true, 0},  {true, 0},   {true, 10}, {true, 0},  {true, 5},
    {true, 0},  {true, 2},  {false, 0},  {false, 0}, {false, 0}, {false, 0},
    {true, 16}, {false, 11}, {true, 0},  {true, 0},  {true, 0},  {true, 27},
};

void upperCaseKeepingCaret(QLineEdit &field)
{
    const QString upper = upperKeepingLength(field.text());
    if (upper == field.text())
        return;
    const int caret = field.hasSelectedText() ? field.selectionStart() : field.cursorPosition();
    field.setText(upper);
    field.setCursorPosition(caret);
}

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
    const Rule &rule = kRules[number - 1];
    if (rule.maxLength > 0)
        field.setMaxLength(rule.maxLength);
    if (rule.upper)
        QObject::connect(&field, &QLineEdit::textChanged, &field, [&field] { upperCaseKeepingCaret(field); });
}

} // namespace registry
