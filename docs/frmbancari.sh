#!/bin/sh
# Screenshot of the bank check window after "Verifica" on a subject's IBAN:
# docs/frmbancari.sh BUILD_BIN_DIR
# Needs xvfb, twm, xdotool and imagemagick. Run under: xvfb-run -a -s "-screen 0 1280x1024x24"
set -e
bin=$(cd "$1" && pwd)
docs=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cp "$bin/velmoro" "$work/"
"$bin/archive-tool" make "$work/Archivio.xls"
"$bin/archive-tool" set "$work/Archivio.xls" A2 1
"$bin/archive-tool" set "$work/Archivio.xls" B2 "ROSSI MARIO SRL"
"$bin/archive-tool" set "$work/Archivio.xls" R2 IT60X0542811101000000123456
rc=$(mktemp)
printf 'RandomPlacement\nUsePPosition "on"\nNoGrabServer\n' > "$rc"
twm -f "$rc" >/dev/null 2>&1 &
wm=$!
sleep 1
"$work/velmoro" &
program=$!
main=$(xdotool search --sync --name "Gestione Velmoro" | head -1)
sleep 1
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
geometry=$(xdotool getwindowgeometry --shell "$bank" | tr '\n' ' ')
eval "$geometry"
import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" "$docs/frmbancari.png"
kill "$program" "$wm" 2>/dev/null || true
rm -rf "$work" "$rc"
