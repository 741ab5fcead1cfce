#!/usr/bin/env bash
# scripts/install.sh into a throw-away home: install, the menu entry and icons, a second
# install that keeps the archive, removal that keeps the archive and its backups; then the
# same into an XDG data folder whose path needs quoting.   Usage: install_test.sh INSTALL BUILD_DIR
set -uo pipefail
install=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }
run() { # expected-code command...
  local want=$1; shift
  "$@" >"$work/out" 2>&1
  local got=$?
  [ "$got" -eq "$want" ] || fail "$*: exit $got, expected $want: $(cat "$work/out")"
}
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }
entry_value() { sed -n "s/^$2=//p" "$1"; }

command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate missing (desktop-file-utils)"; exit 1; }

# One home, the default data folder.
export HOME=$work/casa
unset XDG_DATA_HOME
mkdir -p "$HOME"
share=$HOME/.local/share
program=$share/velmoro
run 0 "$install" --build-dir "$build"
for file in velmoro archive-tool; do
  [ -x "$program/$file" ] || fail "$file not installed"
done
[ -x "$build/bin/velmoro-handover" ] && { [ -x "$program/velmoro-handover" ] || fail "velmoro-handover not installed"; }
[ "$(readlink "$HOME/.local/bin/velmoro")" = "$program/velmoro" ] || fail "launcher: $(ls -l "$HOME/.local/bin" 2>&1)"
entry=$share/applications/velmoro.desktop
desktop-file-validate "$entry" >"$work/valid" 2>&1 && [ ! -s "$work/valid" ] || fail "entry: $(cat "$work/valid")"
[ "$(entry_value "$entry" Exec)" = "\"$program/velmoro\"" ] || fail "Exec: $(entry_value "$entry" Exec)"
[ "$(entry_value "$entry" Categories)" = "Office;Finance;" ] || fail "Categories: $(entry_value "$entry" Categories)"
[ "$(entry_value "$entry" Icon)" = velmoro ] || fail "Icon: $(entry_value "$entry" Icon)"
for size in 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x$size/apps/velmoro.png
  [ "$(png_size "$icon" 2>/dev/null)" = "${size}x$size" ] || fail "icon $size: $(png_size "$icon" 2>&1)"
done

# The command starts the installed program on the archive beside it, which it then locks.
QT_QPA_PLATFORM=offscreen "$HOME/.local/bin/velmoro" >"$work/program" 2>&1 &
started=$!
for _ in $(seq 300); do # a loaded machine starts it slowly
  compgen -G "$program/.~velmoro*" >/dev/null && break
  sleep 0.2
done
compgen -G "$program/.~velmoro*" >/dev/null || fail "the command did not start Velmoro on its archive: $(cat "$work/program")"
kill "$started"
wait "$started" 2>/dev/null

# The installed tool works on the installed archive; a second install keeps what is in it.
archive=$program/Archivio.xls
run 0 "$program/archive-tool" set "$archive" B2 "MARCATORE DI PROVA"
run 0 "$install" --build-dir "$build"
grep -q "non toccato" "$work/out" || fail "second install does not say the archive was kept: $(cat "$work/out")"
run 0 "$program/archive-tool" dump "$archive"
grep -q "MARCATORE DI PROVA" "$work/out" || fail "second install lost the archive's data"

mkdir -p "$program/Backup"
echo copia > "$program/Backup/Archivio-20250101-120000.xls"
run 0 "$install" --remove
for gone in "$program/velmoro" "$program/archive-tool" "$program/velmoro-handover" "$HOME/.local/bin/velmoro" "$entry" \
            "$share/icons/hicolor/48x48/apps/velmoro.png"; do
  [ ! -e "$gone" ] && [ ! -L "$gone" ] || fail "still there after --remove: $gone"
done
[ -s "$archive" ] && [ -s "$program/Backup/Archivio-20250101-120000.xls" ] || fail "--remove took the archive or its backups"
grep -q "$program" "$work/out" || fail "--remove does not say where the archive stays: $(cat "$work/out")"

# A velmoro command of someone else's is left alone by both.
echo '#!/bin/sh' > "$HOME/.local/bin/velmoro"
run 0 "$install" --build-dir "$build"
run 0 "$install" --remove
grep -qx '#!/bin/sh' "$HOME/.local/bin/velmoro" || fail "a foreign velmoro command was replaced or removed"

# A data folder with blanks and a dollar: the entry stays valid and names the program.
export XDG_DATA_HOME="$work/dati \$utente"
run 0 "$install" --build-dir "$build"
entry=$XDG_DATA_HOME/applications/velmoro.desktop
desktop-file-validate "$entry" >"$work/valid" 2>&1 && [ ! -s "$work/valid" ] || fail "quoted entry: $(cat "$work/valid")"
[ "$(entry_value "$entry" Exec)" = "\"$work/dati \\\\\$utente/velmoro/velmoro\"" ] || fail "quoted Exec: $(entry_value "$entry" Exec)"
[ -s "$XDG_DATA_HOME/velmoro/Archivio.xls" ] || fail "no archive in XDG_DATA_HOME"
run 0 "$install" --remove
[ ! -e "$entry" ] && [ ! -e "$XDG_DATA_HOME/velmoro/velmoro" ] || fail "--remove left the program in XDG_DATA_HOME"

run 2 "$install" --frob
run 2 "$install" --remove --build-dir "$build"
run 1 "$install" --build-dir "$work"
grep -q "Manca" "$work/out" || fail "an empty build folder is not named: $(cat "$work/out")"
exit $failed
