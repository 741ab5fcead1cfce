#pragma once

#include "spreadsheet/Worksheet.h"

#include <QDate>
#include <array>

// Subjects as an Italian office keeps them (names, codes and coordinates made up, their check
// characters right), for the printed pages of a fresh archive.
namespace office_subjects {

using Subject = std::array<const char *, 18>; // columns A..R
inline const Subject kSubjects[] = {
    {"1", "FERRAMENTA BIANCHI & FIGLI S.R.L.", "CLI0001", "12/03/2024", "VIA GIUSEPPE GARIBALDI, 128/B", "42121",
     "REGGIO NELL'EMILIA", "RE", "0522 431870", "0522 431871", "347 5512098", "amministrazione@ferramentabianchi.it",
     "01234560355", "01234560355", "GIULIA FERRARI", "CREDITO EMILIANO", "FERRAMENTA BIANCHI & FIGLI S.R.L.",
     "IT76K0306912345000012345678"},
    {"2", "ROSSI MARIO", "CLI0002", "05/06/2024", "CORSO VITTORIO EMANUELE II, 45", "20122", "MILANO", "MI",
     "02 76015432", "", "339 1234567", "mario.rossi@gmail.com", "RSSMRA80A01H501U", "", "", "INTESA SANPAOLO",
     "ROSSI MARIO", "IT91Z0503411701000000004321"},
    {"3", "STUDIO ASSOCIATO VERDI E DE LUCA", "FOR0003", "18/09/2024", "PIAZZA DELLA REPUBBLICA 3", "40017",
     "SAN GIOVANNI IN PERSICETO", "BO", "051 821944", "051 821945", "335 7788990", "segreteria@studioverdideluca.it",
     "07445210151", "07445210151", "LUCA VERDI", "BANCA POPOLARE DI SONDRIO", "STUDIO ASSOCIATO VERDI E DE LUCA",
     "IT47D0200866441000101234567"},
    {"4", "AUTOTRASPORTI ESPOSITO S.N.C.", "FOR0004", "02/12/2024", "VIA ARGINE 310", "80147", "NAPOLI", "NA",
     "081 5598812", "081 5598813", "328 4455667", "esposito.trasporti@pec.it", "02853740633", "02853740633",
     "GIUSEPPE ESPOSITO", "BANCO BPM", "AUTOTRASPORTI ESPOSITO S.N.C.", "IT36V0538712800000000987654"},
    {"5", "DE LUCA ANNA MARIA", "CLI0005", "20/01/2025", "VIALE DELLA LIBERAZIONE 12", "10144", "TORINO", "TO",
     "011 4732110", "", "366 9081726", "anna.deluca@libero.it", "DLCNMR82D45F839I", "", "", "UNICREDIT",
     "DE LUCA ANNA MARIA", "IT55U0303212300010000005678"},
};

// Writes them from row 2 as the registry window does: the date as a date, the rest as texts.
inline void add(host::Worksheet &sheet)
{
    int row = 2;
    for (const Subject &subject : kSubjects) {
        for (int column = 1; column <= int(subject.size()); ++column) {
            const QString text = QString::fromUtf8(subject[std::size_t(column - 1)]);
            if (column == 4)
                sheet.cells(row, column).setValue(QDate::fromString(text, QStringLiteral("dd/MM/yyyy")));
            else
                sheet.cells(row, column).setValue(text);
        }
        ++row;
    }
}

} // namespace office_subjects
