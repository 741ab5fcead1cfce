#pragma once

#include "bank/Lengths.h"

#include <QString>
#include <array>

// The layout of the registry sheet: one subject per row from row 2, one field per column A..R.
namespace archive {

inline const QString kSheetName = QStringLiteral("Velmoro");
inline const QString kPassword = QStringLiteral("TRVX5093MQP");
inline const QString kFileName = QStringLiteral("Archivio.xls");

constexpr int kFieldCount = 18; // columns A..R; text box N holds column N
constexpr int kIdColumn = 1, kNameColumn = 2, kDateColumn = 4;
// The columns holding Italian codes.
constexpr int kCapColumn = 6, kProvinceColumn = 8, kCodiceFiscaleColumn = 13, kPartitaIvaColumn = 14,
              kIbanColumn = 18;
// Row numbers of the registry are 16-bit signed.
constexpr int kLastRow = 32767;

inline const std::array<QString, kFieldCount> kHeaders = {
    QStringLiteral("ID"), QStringLiteral("Ragione Sociale/Cognome Nome"), QStringLiteral("Codice"),
    QStringLiteral("Data"), QStringLiteral("Indirizzo"), QStringLiteral("CAP"),
    QStringLiteral("Località"), QStringLiteral("PR"), QStringLiteral("Telefono"),
    QStringLiteral("Fax"), QStringLiteral("Cellulare"), QStringLiteral("Email"),
    QStringLiteral("Codice Fiscale"), QStringLiteral("Partita IVA"),
    QStringLiteral("Referente/Rappresentante"), QStringLiteral("Banca"),
    QStringLiteral("Intest/Conto"), QStringLiteral("IBAN")};

// What a field keeps as typed. `text`: its column is text-formatted, so leading zeros and long
// digit strings stay (telephone, fax, mobile, VAT number, IBAN). `keepsCase`: it is not put in
// capitals (telephone, fax, mobile, e-mail, VAT number). `maxLength`: what the column holds, 0
// for no bound of its own.
struct Field {
    bool text, keepsCase;
    int maxLength;
};
constexpr std::array<Field, kFieldCount> kFields = {{
    {false, false, 0},  {false, false, 0}, {false, false, 0}, {false, false, 10}, {false, false, 0},
    {false, false, 5},  {false, false, 0}, {false, false, 2}, {true, true, 0},    {true, true, 0},
    {true, true, 0},    {false, true, 0},  {false, false, 16}, {true, true, 11},  {false, false, 0},
    {false, false, 0},  {false, false, 0}, {true, false, bank::kIbanLength},
}};

// Widths of a fresh archive's columns, in digits of the sheet's font, so that a printed page
// shows what each column usually holds: fixed codes whole (dd/mm/yyyy, CAP, province,
// codice fiscale, partita IVA, a 27-character IBAN), names, addresses and e-mails of everyday
// length. An archive's own widths are never changed.
constexpr std::array<double, kFieldCount> kColumnWidths = {
    6,  // ID
    36, // Ragione Sociale/Cognome Nome
    10, // Codice
    10, // Data
    33, // Indirizzo
    6,  // CAP
    28, // Località
    4,  // PR
    13, // Telefono
    13, // Fax
    13, // Cellulare
    33, // Email
    21, // Codice Fiscale
    12, // Partita IVA
    24, // Referente/Rappresentante
    30, // Banca
    36, // Intest/Conto
    29, // IBAN
};

inline const QString kCounterCell = QStringLiteral("IV1");     // last identifier given out
// Beyond this a counter + 1 would no longer be a whole number written in full (15 digits).
constexpr double kLargestCounter = 1e15;
inline const QString kScrollArea = QStringLiteral("A2:S65536"); // keeps header and counter away

} // namespace archive
