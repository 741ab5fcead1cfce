#pragma once

#include <QString>

namespace model {

// Checks of the Italian codes a registry field holds, for a hint beside the field; none of them
// refuses anything. Each takes the field's text as the registry window keeps it and returns an
// empty text when the field is empty or right, else a short Italian text saying what is wrong.
// Blanks around a text do not count; blanks inside the codice fiscale, the partita IVA and the
// IBAN do not count either, as those codes are often written in groups.
QString checkCodiceFiscale(const QString &text);
QString checkPartitaIva(const QString &text);
QString checkIban(const QString &text);
QString checkCap(const QString &text);
QString checkProvincia(const QString &text);

// The check of registry field `number` (1..18): CAP 6, province 8, codice fiscale 13, partita
// IVA 14, IBAN 18. The other fields have none.
QString checkField(int number, const QString &text);

} // namespace model
