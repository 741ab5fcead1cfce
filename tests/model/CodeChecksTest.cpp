#include "model/CodeChecks.h"

#include <gtest/gtest.h>

namespace {

TEST(CodeChecks, SayWhatIsWrongWithTheCodeOfEachFieldAndNothingWhenItIsRightOrEmpty)
{
    const struct {
        int field;
        const char *text;
        const char *problem;
    } cases[] = {
        {6, "", ""},
        {6, " 00184 ", ""},
        {6, "0018", "CAP: 5 cifre richieste"},
        {6, "0018A", "CAP: 5 cifre richieste"},
        {6, "00 18", "CAP: 5 cifre richieste"},

        {8, "", ""},
        {8, "MI", ""},
        {8, " RM ", ""},
        {8, "AG", ""},
        {8, "VV", ""},
        {8, "SU", ""},
        {8, "OT", ""},
        {8, "CI", ""},
        {8, "EE", ""},
        {8, "XX", "Provincia: sigla non riconosciuta"},
        {8, "FO", "Provincia: sigla non riconosciuta"},
        {8, "M", "Provincia: sigla non riconosciuta"},

        {13, "  ", ""},
        {13, "RCCMNL83S18D969H", ""},
        {13, "CNTCHR83T41D969D", ""},
        {13, "RCCMNLUPSLMDUNVQ", ""},
        {13, "RCCMNL84B29D969Z", ""},
        {13, "RCC MNL 83S18 D969H", ""},
        {13, "rccmnl83s18d969h", ""},
        {13, "RCCMNL83S18D969K", "Codice fiscale: il carattere di controllo dovrebbe essere H"},
        {13, "RCCMNL83S18D969", "Codice fiscale: 16 caratteri richiesti (11 cifre per le società)"},
        {13, "RCC MNL 83S18 D96", "Codice fiscale: 16 caratteri richiesti (11 cifre per le società) (spazi esclusi)"},
        {13, "1CCMNL83S18D969H", "Codice fiscale: il 1° carattere dovrebbe essere una lettera"},
        {13, "RCCMNL83S18D96AH", "Codice fiscale: il 15° carattere dovrebbe essere una cifra"},
        {13, "RCCMNLA3S18D969H", "Codice fiscale: il 7° carattere dovrebbe essere una cifra"},
        {13, "RCCMNL83S18D969\xc3\x88", "Codice fiscale: il 16° carattere dovrebbe essere una lettera"},
        {13, "RCCMNL83F18D969I", "Codice fiscale: il 9° carattere non è la lettera di un mese"},
        {13, "RCCMNL83S32D969V", "Codice fiscale: giorno di nascita (caratteri 10-11) inesistente"},
        {13, "RCCMNL83B29D969Y", "Codice fiscale: giorno di nascita (caratteri 10-11) inesistente"},
        // python-stdnum takes days 81-99 modulo 40; no office gives them out.
        {13, "RCCMNL83S85D969I", "Codice fiscale: giorno di nascita (caratteri 10-11) inesistente"},
        {13, "00743110157", ""},
        {13, "00743110158", "Codice fiscale: la cifra di controllo dovrebbe essere 7"},
        {13, "0074311015A", "Codice fiscale: 16 caratteri richiesti (11 cifre per le società)"},

        {14, "00743110157", ""},
        {14, " 0074 3110 157 ", ""},
        {14, "0074311015", "Partita IVA: 11 cifre richieste"},
        {14, "0074311015A", "Partita IVA: 11 cifre richieste"},
        {14, "0074 3110 15", "Partita IVA: 11 cifre richieste (spazi esclusi)"},
        {14, "00743110158", "Partita IVA: la cifra di controllo dovrebbe essere 7"},
        {14, "00000000018", "Partita IVA: le prime 7 cifre non possono essere tutte zero"},
        {14, "12345671015", "Partita IVA: codice dell'ufficio (cifre 8-10) inesistente"},
        {14, "12345678887", ""},

        {18, "", ""},
        {18, "IT60X0542811101000000123456", ""},
        {18, "IT60 X054 2811 1010 0000 0123 456", ""},
        {18, "it60x0542811101000000123456", ""},
        {18, "DE89370400440532013000", ""},
        {18, "NO9386011117947", ""},
        {18, "IT93Q0306909606123456789012", ""},
        {18, "XX00111111111111111111111111111111", "IBAN: le cifre di controllo non corrispondono al codice"},
        {18, "XX001111111111111111111111111111111", "IBAN: da 15 a 34 caratteri richiesti"},
        {18, "IT60X0542811101000000123457", "IBAN: le cifre di controllo non corrispondono al codice"},
        {18, "IT64Y0542811101000000123456", "IBAN: il CIN non corrisponde al codice"},
        {18, "IT60X054281110100000012345", "IBAN: 27 caratteri richiesti per un IBAN italiano"},
        {18, "IT60 X054 2811 1010 0000 012", "IBAN: 27 caratteri richiesti per un IBAN italiano (spazi esclusi)"},
        {18, "DE8937040044", "IBAN: da 15 a 34 caratteri richiesti"},
        {18, "IT60-X054-2811-1010-0000-0123-456", "IBAN: solo lettere e cifre ammesse"},
        {18, "1T60X0542811101000000123456", "IBAN: deve iniziare con la sigla del paese e 2 cifre (es. IT60)"},
        {18, "ITX0X0542811101000000123456", "IBAN: deve iniziare con la sigla del paese e 2 cifre (es. IT60)"},

        {2, "RCCMNL83S18D969K", ""},
        {12, "posta", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + c.text);
        EXPECT_EQ(model::checkField(c.field, QString::fromUtf8(c.text)).toStdString(), c.problem);
    }
}

} // namespace
