#!/bin/sh
# archive-tool end to end: make, dump, set, refusals and exit codes.
TOOL="$1"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILED=0
fail() { echo "FAIL: $*"; FAILED=1; }
TAB=$(printf '\t')

expect_exit() { # expected-code description command...
    want=$1; what=$2; shift 2
    "$@" >"$WORK/out" 2>"$WORK/err"
    got=$?
    [ "$got" -eq "$want" ] || fail "$what: exit $got, expected $want ($(cat "$WORK/err"))"
}
expect_line() { # line description
    grep -qxF "$1" "$WORK/out" || fail "$2: no line '$1' in: $(cat "$WORK/out")"
}

A="$WORK/Archivio.xls"
expect_exit 0 "make" "$TOOL" make "$A"
[ -f "$A" ] || fail "make wrote no file"
ls -a "$WORK" | grep -q '\.new$' && fail "make left a side file behind"

cp "$A" "$WORK/before"
expect_exit 2 "make over an existing file" "$TOOL" make "$A"
grep -q "esiste già" "$WORK/err" || fail "no refusal message: $(cat "$WORK/err")"
cmp -s "$A" "$WORK/before" || fail "make changed an existing file"

expect_exit 0 "dump of a fresh archive" "$TOOL" dump "$A"
[ "$(wc -l <"$WORK/out")" -eq 18 ] || fail "fresh archive: expected 18 header cells, got $(cat "$WORK/out")"
expect_line "Velmoro${TAB}A1${TAB}text${TAB}ID" "header A1"
expect_line "Velmoro${TAB}G1${TAB}text${TAB}Località" "accented header"
expect_line "Velmoro${TAB}R1${TAB}text${TAB}IBAN" "header R1"

for cell_value in "A2 42" "C2 1234,5" "F2 00184" "I2 0612345" "J2 =1+1"; do
    expect_exit 0 "set $cell_value" "$TOOL" set "$A" $cell_value
done
expect_exit 0 "set a text with tab and backslash" "$TOOL" set "$A" b2 "a${TAB}b\\c" --sheet velmoro
expect_exit 0 "set the counter" "$TOOL" set "$A" IV1 7 --password TRVX5093MQP
expect_exit 0 "dump after set" "$TOOL" dump "$A" --sheet Velmoro
expect_line "Velmoro${TAB}A2${TAB}number${TAB}42" "number"
expect_line "Velmoro${TAB}C2${TAB}number${TAB}1234,5" "Italian decimal"
expect_line "Velmoro${TAB}F2${TAB}text${TAB}00184" "leading zeros"
expect_line "Velmoro${TAB}I2${TAB}text${TAB}0612345" "text column"
expect_line "Velmoro${TAB}J2${TAB}text${TAB}=1+1" "no formula"
expect_line "Velmoro${TAB}B2${TAB}text${TAB}a\\tb\\\\c" "escaping"
expect_line "Velmoro${TAB}IV1${TAB}number${TAB}7" "counter"
head -n 19 "$WORK/out" | tail -n 1 | grep -q "^Velmoro${TAB}IV1" || fail "row 1 not in column order"

expect_exit 0 "set empties a cell" "$TOOL" set "$A" A2 ""
expect_exit 0 "dump" "$TOOL" dump "$A"
grep -q "${TAB}A2${TAB}" "$WORK/out" && fail "an empty text left A2 filled"

cp "$A" "$WORK/before"
expect_exit 2 "wrong password" "$TOOL" dump "$A" --password WRONG
grep -q "password" "$WORK/err" || fail "no password message: $(cat "$WORK/err")"
expect_exit 2 "missing file" "$TOOL" dump "$WORK/none.xls"
grep -q "none.xls" "$WORK/err" || fail "missing file not named: $(cat "$WORK/err")"
expect_exit 2 "bad address" "$TOOL" set "$A" A0 x
expect_exit 2 "range address" "$TOOL" set "$A" A1:B2 x
expect_exit 2 "missing sheet" "$TOOL" set "$A" A1 x --sheet Altro
grep -q "errore 9" "$WORK/err" || fail "missing sheet without error 9: $(cat "$WORK/err")"
expect_exit 2 "set with a wrong password" "$TOOL" set "$A" A1 x --password WRONG
cmp -s "$A" "$WORK/before" || fail "a refused set changed the file"
for args in "frob $A" "set $A A1" "dump $A --verbose"; do
    expect_exit 2 "bad command line: $args" "$TOOL" $args
done
expect_exit 0 "help" "$TOOL" --help
grep -q "italian" "$WORK/out" || fail "help does not mention the fixed Italian settings"

printf 'ID;Nome\n' >"$WORK/text.xls"
expect_exit 2 "text file named .xls" "$TOOL" dump "$WORK/text.xls"

exit $FAILED
