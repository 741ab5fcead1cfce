#!/bin/sh
# Screenshots of the main and instructions windows: docs/screenshots.sh BUILD_BIN_DIR
# Needs xvfb, twm, xdotool and imagemagick. Run under: xvfb-run -a -s "-screen 0 800x600x24"
set -e
bin=$(cd "$1" && pwd)
docs=$(cd "$(dirname "$0")" && pwd)
. "$docs/shoot.sh"
start_velmoro "$bin"
window=$main
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
stop_velmoro
