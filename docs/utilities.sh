#!/bin/sh
# Screenshots of the progressive-ID window and the date picker: docs/utilities.sh BUILD_BIN_DIR
# Needs xvfb, twm, xdotool and imagemagick. Run under: xvfb-run -a -s "-screen 0 1280x1024x24"
set -e
bin=$(cd "$1" && pwd)
docs=$(cd "$(dirname "$0")" && pwd)
. "$docs/shoot.sh"
new_work
"$bin/archive-tool" set "$work/Archivio.xls" A2 1
"$bin/archive-tool" set "$work/Archivio.xls" B2 "ROSSI MARIO SRL"
"$bin/archive-tool" set "$work/Archivio.xls" IV1 1
start_velmoro "$work"
# Alt+U is the menu entry; Check1 has the focus there: space opens the field, typed in yellow.
xdotool windowfocus --sync "$main" key alt+u
utilities=$(xdotool search --sync --name "^Utilità$" | head -1)
sleep 1
xdotool windowfocus --sync "$utilities" key space type 41
shoot "$utilities" progressivi.png
# "Aggiorna ID Velmoro" stores 41 and closes; the registry window's Check2 is 19 tabs from Text2.
xdotool windowfocus --sync "$utilities" key Tab space
sleep 1
xdotool windowfocus --sync "$main" key space
registry=$(xdotool search --sync --name "^Velmoro $" | head -1)
sleep 1
xdotool windowfocus --sync "$registry" key --repeat 19 Tab key space
picker=$(xdotool search --sync --name "^Calendario$" | head -1)
shoot "$picker" calendario.png
stop_velmoro
rm -rf "$work"
