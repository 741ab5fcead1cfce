#!/bin/sh
# archive-tool end to end: make, dump, set, refusals and exit codes.
TOOL="$1"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILED=0
fail() { echo "FAIL: $*"; FAILED=1; }
T=$(printf '\t')
run() { # expected-code command...
    want=$1; shift
    "$TOOL" "$@" >"$WORK/out" 2>"$WORK/err"
    got=$?
    [ "$got" -eq "$want" ] || fail "$*: exit $got, expected $want ($(cat "$WORK/err"))"
}

A="$WORK/Archivio.xls"
run 0 make "$A"
cp "$A" "$WORK/before"
run 2 make "$A"
grep -q "esiste già" "$WORK/err" || fail "no refusal message: $(cat "$WORK/err")"
cmp -s "$A" "$WORK/before" && [ "$(ls -A "$WORK" | wc -l)" -eq 4 ] || fail "make touched the folder: $(ls -A "$WORK")"
run 0 dump "$A"
[ "$(wc -l <"$WORK/out")" -eq 18 ] && grep -qxF "Velmoro${T}G1${T}text${T}Località" "$WORK/out" ||
    fail "fresh archive: expected the 18 headers, got $(cat "$WORK/out")"

for cell_value in "A2 42" "C2 1234,5" "F2 00184" "I2 0612345" "J2 =1+1" "K2 7"; do
    run 0 set "$A" $cell_value
done
run 0 set "$A" b2 "a${T}b\\c" --sheet velmoro
run 0 set "$A" IV1 7 --password TRVX5093MQP
run 0 set "$A" K2 ""
run 0 dump "$A" --sheet Velmoro
# Numbers stay numbers, text columns and leading zeros stay text, no formula, escapes shown.
expected=$(printf '%s\n' 'IV1 number 7' 'A2 number 42' 'B2 text a\tb\\c' 'C2 number 1234,5' 'F2 text 00184' \
           'I2 text 0612345' 'J2 text =1+1' | paste -sd'|')
got=$(sed -n '19,$p' "$WORK/out" | sed "s/^Velmoro${T}//; s/${T}/ /g" | paste -sd'|')
[ "$got" = "$expected" ] || fail "cells after set: $got"

cp "$A" "$WORK/before"
run 2 dump "$A" --password WRONG
grep -q "password" "$WORK/err" || fail "no password message: $(cat "$WORK/err")"
run 2 dump "$WORK/none.xls"
grep -q "none.xls" "$WORK/err" || fail "missing file not named: $(cat "$WORK/err")"
run 2 set "$A" A1 x --sheet Altro
grep -q "errore 9" "$WORK/err" || fail "missing sheet without error 9: $(cat "$WORK/err")"
for args in "set $A A0 x" "set $A A1:B2 x" "set $A A1 x --password WRONG" "frob $A" "set $A A1" "dump $A --verbose"; do
    run 2 $args
done
cmp -s "$A" "$WORK/before" || fail "a refused command changed the file"
exit $FAILED
