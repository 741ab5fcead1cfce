#!/usr/bin/python3
"""The codice fiscale and partita IVA checks against python-stdnum on generated codes.

usage: compare_with_stdnum.py CODE_CHECK; exit 0 when every verdict agrees, 1 otherwise.
The sample is drawn from a fixed seed: valid codes (names, dates, places, omocodia, blanks
between groups) and corrupted ones (a character changed, two swapped, one dropped or added,
impossible dates and offices with a right check character).
"""

import random
import subprocess
import sys
import unicodedata

try:
    from stdnum import luhn
    from stdnum.it import codicefiscale, iva
except ImportError:
    sys.exit("python3-stdnum is missing (scripts/deps.sh test installs it)")

SURNAMES = ["ROSSI", "RUSSO", "FERRARI", "ESPOSITO", "BIANCHI", "ROMANO", "COLOMBO", "RICCI",
            "MARINO", "GRECO", "BRUNO", "GALLO", "CONTI", "DE LUCA", "COSTA", "GIORDANO",
            "D'ANGELO", "NICOLÒ", "FORLÌ", "PAGANÒ", "LÒ", "OE", "FO", "ZAMBELLI", "SCIÙ",
            "DELL'ACQUA", "MANCINI", "LOMBARDI", "BARBIERI", "FONTANA", "SANTORO", "MARIANI"]
NAMES = ["MARIO", "LUCA", "GIUSEPPE", "ANNA", "MARIA", "FRANCESCA", "NICCOLÒ", "ILARIA",
         "IA", "EO", "BEATRICE", "ALESSANDRO", "GIANLUCA", "ZOE", "UGO", "ELISABETTA", "PIER"]
MONTHS = "ABCDEHLMPRST"
DAYS = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
OMOCODIA = "LMNPQRSTUV"
# Digit places of the code, the rightmost first: omocodia replaces digits in that order.
DIGIT_PLACES = [14, 13, 12, 10, 9, 7, 6]
ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
OFFICES = [f"{n:03d}" for n in range(1, 101)] + ["120", "121", "888", "999"]


def letters(text):
    plain = unicodedata.normalize("NFD", text)
    return "".join(c for c in plain if "A" <= c <= "Z")


def split(text):
    consonants = [c for c in text if c not in "AEIOU"]
    vowels = [c for c in text if c in "AEIOU"]
    return consonants, vowels


def surname_part(surname):
    consonants, vowels = split(letters(surname))
    return ("".join(consonants + vowels) + "XXX")[:3]


def name_part(name):
    consonants, vowels = split(letters(name))
    if len(consonants) >= 4:
        return consonants[0] + consonants[2] + consonants[3]
    return ("".join(consonants + vowels) + "XXX")[:3]


def person(rng, day=None, month=None, omocodia=True):
    """A codice fiscale with a right check character; month is 0-11 or a letter (a wrong one)."""
    year = rng.randint(1920, 2019)
    month = rng.randrange(12) if month is None else month
    if day is None:
        last = 28 if month == 1 and year % 4 else DAYS[month]
        day = rng.randint(1, last) + rng.choice([0, 40])
    body = (surname_part(rng.choice(SURNAMES)) + name_part(rng.choice(NAMES))
            + f"{year % 100:02d}" + (MONTHS[month] if isinstance(month, int) else month)
            + f"{day:02d}" + rng.choice("ABCDEFGHILMZ") + f"{rng.randrange(1000):03d}")
    body = list(body)
    if omocodia and rng.random() < 0.3:
        for place in DIGIT_PLACES[:rng.randint(1, 7)]:
            body[place] = OMOCODIA[int(body[place])]
    body = "".join(body)
    return body + codicefiscale.calc_check_digit(body)


def company(rng, serial=None, office=None):
    serial = serial or f"{rng.randint(1, 9_999_999):07d}"
    body = serial + (office or rng.choice(OFFICES))
    return body + luhn.calc_check_digit(body)


def as_typed(rng, code):
    if rng.random() < 0.1:  # pasted in groups
        return " ".join([code[:3], code[3:6], code[6:11], code[11:]])
    if rng.random() < 0.05:
        return code.lower()
    return code


def corrupted(rng, code):
    i = rng.randrange(len(code))
    kind = rng.randrange(4)
    if kind == 0:
        return code[:i] + rng.choice(ALPHABET.replace(code[i], "")) + code[i + 1:]
    if kind == 1 and i + 1 < len(code) and code[i] != code[i + 1]:
        return code[:i] + code[i + 1] + code[i] + code[i + 2:]
    if kind == 2:
        return code[:i] + code[i + 1:]
    return code[:i] + rng.choice(ALPHABET) + code[i:]


def edge_person(rng):
    month = rng.randrange(12)
    kind = rng.randrange(4)
    if kind == 0:  # a day past the month's end, for men or women
        return person(rng, day=rng.randint(DAYS[month] + 1, 32) + rng.choice([0, 40]),
                      month=month, omocodia=False)
    if kind == 1:  # the gaps: 00, 32-40, 72-79
        return person(rng, day=rng.choice([0, 40] + list(range(32, 40)) + list(range(72, 80))),
                      month=month, omocodia=False)
    if kind == 2:  # 29 February of a year that was no leap year, or of one that was
        return person(rng, day=29 + rng.choice([0, 40]), month=1, omocodia=False)
    return person(rng, month=rng.choice("FGIJKNOQUVWXYZ"), day=rng.randint(1, 28), omocodia=False)


def edge_company(rng):
    if rng.random() < 0.5:
        return company(rng, serial="0000000")
    office = rng.choice([o for o in (f"{n:03d}" for n in range(101, 1000))
                         if o not in OFFICES] + ["000"])
    return company(rng, office=office)


def sample():
    rng = random.Random(18)
    cases = []
    for _ in range(20000):
        code = person(rng)
        cases += [("cf", as_typed(rng, code)), ("cf", corrupted(rng, code))]
    for _ in range(4000):
        cases.append(("cf", edge_person(rng)))
    for _ in range(8000):
        code = company(rng)
        for kind in ("cf", "iva"):
            cases += [(kind, code), (kind, corrupted(rng, code))]
    for _ in range(2000):
        code = edge_company(rng)
        cases += [("cf", code), ("iva", code)]
    return cases


def main():
    cases = sample()
    request = "".join(f"{kind}\t{code}\n" for kind, code in cases)
    run = subprocess.run([sys.argv[1]], input=request, capture_output=True, text=True,
                         encoding="utf-8", check=True)
    answers = run.stdout.split("\n")[:-1]
    if len(answers) != len(cases):
        sys.exit(f"{len(cases)} codes sent, {len(answers)} answers back")
    disagreements = []
    counts = {kind: [0, 0] for kind in ("cf", "iva")}  # codes, valid for stdnum
    for (kind, code), answer in zip(cases, answers):
        theirs = (codicefiscale if kind == "cf" else iva).is_valid(code)
        counts[kind][0] += 1
        counts[kind][1] += theirs
        if theirs != (answer == ""):
            disagreements.append(f"{kind} {code!r}: stdnum {'valid' if theirs else 'invalid'}, "
                                 f"ours {answer or 'valid'}")
    valid = counts["cf"][1] + counts["iva"][1]
    print(f"{len(cases)} codes compared: codice fiscale {counts['cf'][0]} ({counts['cf'][1]} valid), "
          f"partita IVA {counts['iva'][0]} ({counts['iva'][1]} valid); "
          f"{len(disagreements)} disagreements")
    for line in disagreements[:20]:
        print("  " + line)
    return 1 if disagreements or valid < len(cases) // 4 else 0


if __name__ == "__main__":
    sys.exit(main())
