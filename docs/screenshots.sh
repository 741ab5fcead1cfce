#!/bin/sh
# Screenshots of the main and instructions windows: docs/screenshots.sh BUILD_BIN_DIR
# Needs xvfb, twm, xdotool and imagemagick. Run under: xvfb-run -a -s "-screen 0 800x600x24"
set -e
bin=$(cd "$1" && pwd)
docs=$(cd "$(dirname "$0")" && pwd)
# twm would wait for the mouse to place each window.
rc=$(mktemp)
printf 'RandomPlacement\nUsePPosition "on"\nNoGrabServer\n' > "$rc"
twm -f "$rc" >/dev/null 2>&1 &
wm=$!
sleep 1
"$bin/velmoro" &
program=$!
sleep 2
window=$(xdotool search --sync --name "Gestione Velmoro" | head -1)
xdotool windowmove --sync "$window" 20 40
sleep 1
import -window root -crop 560x310+0+0 "$docs/form1.png"
# Check5 is the fourth check box in the tab order.
xdotool windowfocus --sync "$window" key Tab Tab Tab space
sleep 1.5
window2=$(xdotool search --sync --name "Gestione Velmoro" | tail -1)
xdotool windowmove --sync "$window2" 20 40
sleep 1
import -window root -crop 680x350+0+0 "$docs/form2.png"
kill "$program" "$wm"
rm -f "$rc"
