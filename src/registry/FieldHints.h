#pragma once

class QLineEdit;

namespace registry {

// Registry field `number` (1..18), when it holds an Italian code (CAP, province, codice
// fiscale, partita IVA, IBAN), says beside itself what is wrong with its text on every change:
// a pale red background, and the reason as its tooltip and accessible description. Right or
// empty, it looks as before. The text is never refused. Other fields are left alone.
void showCodeHints(QLineEdit &field, int number);

} // namespace registry
