#!/bin/sh
# Screenshot of the bank check window after "Verifica" on a subject's IBAN:
# docs/frmbancari.sh BUILD_BIN_DIR
# Needs xvfb, twm, xdotool and imagemagick. Run under: xvfb-run -a -s "-screen 0 1280x1024x24"
set -e
bin=$(cd "$1" && pwd)
docs=$(cd "$(dirname "$0")" && pwd)
. "$docs/shoot.sh"
new_work
"$bin/archive-tool" set "$work/Archivio.xls" A2 1
"$bin/archive-tool" set "$work/Archivio.xls" B2 "ROSSI MARIO SRL"
"$bin/archive-tool" set "$work/Archivio.xls" R2 IT60X0542811101000000123456
start_velmoro "$work"
xdotool windowfocus --sync "$main" key space
registry=$(xdotool search --sync --name "^Velmoro $" | head -1)
sleep 1
# From the list: pick the first name, then seventeen tabs reach "Verifica IBAN ".
xdotool windowfocus --sync "$registry" key shift+Tab Down
sleep 1
xdotool windowfocus --sync "$registry" key --repeat 17 Tab
xdotool key space
bank=$(xdotool search --sync --name "^Verifica IBAN$" | head -1)
xdotool windowmove --sync "$bank" 20 40
sleep 1
# Keyboard order from the first option: IBAN, Verifica, then nine fields to the button.
xdotool windowfocus --sync "$bank" key --repeat 9 Tab
xdotool key space
sleep 1
xdotool key Return
sleep 1
shoot "$bank" frmbancari.png
stop_velmoro
rm -rf "$work"
