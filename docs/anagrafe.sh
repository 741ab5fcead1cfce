#!/bin/sh
# Screenshot of the registry window with a subject shown: docs/anagrafe.sh BUILD_BIN_DIR
# Needs xvfb, twm, xdotool and imagemagick. Run under: xvfb-run -a -s "-screen 0 1280x1024x24"
set -e
bin=$(cd "$1" && pwd)
docs=$(cd "$(dirname "$0")" && pwd)
. "$docs/shoot.sh"
new_work
row() {
    n=$1
    shift
    for column in A B C D E F G H I J K L M N O P Q R; do
        [ $# -gt 0 ] || return 0
        "$bin/archive-tool" set "$work/Archivio.xls" "$column$n" "$1"
        shift
    done
}
row 2 1 "ROSSI MARIO SRL" CLI001 05/12/2026 "VIA GARIBALDI 12" 00184 ROMA RM 0612345678 0612345679 \
    3331234567 info@rossimario.it RSSMRA80A01H501U 01234567890 "MARIO ROSSI" "BANCA DI ROMA" \
    "ROSSI MARIO SRL" IT60X0542811101000000123456
row 3 2 "BIANCHI ANNA" CLI002
"$bin/archive-tool" set "$work/Archivio.xls" IV1 2
start_velmoro "$work"
# Check1 has the focus: space shows the registry window, which loads the list and focuses
# Text2; back-tab reaches the list, Down picks its first name.
xdotool windowfocus --sync "$main" key space
registry=$(xdotool search --sync --name "^Velmoro $" | head -1)
xdotool windowmove --sync "$registry" 20 40
sleep 1
xdotool windowfocus --sync "$registry" key shift+Tab Down
sleep 1.5
shoot "$registry" anagrafe.png
stop_velmoro
rm -rf "$work"
