#!/bin/sh
# Screenshots of search as you type, the field hints and the print preview:
# docs/features.sh BUILD_BIN_DIR
# Needs xvfb, twm, xdotool and imagemagick. Run under: xvfb-run -a -s "-screen 0 1280x1024x24"
set -e
bin=$(cd "$1" && pwd)
docs=$(cd "$(dirname "$0")" && pwd)
. "$docs/shoot.sh"

# Row $1 of the archive in $work, columns A.. from the other arguments.
row() {
    n=$1
    shift
    for column in A B C D E F G H I J K L M N O P Q R; do
        [ $# -gt 0 ] || return 0
        [ -z "$1" ] || "$bin/archive-tool" set "$work/Archivio.xls" "$column$n" "$1" >/dev/null
        shift
    done
}

subjects() {
    n=2
    for name in "ROSSI MARIO" "FORLÌ SERVIZI SRL" "BIANCHI ANNA" "AUTOFFICINA FORLIVESE SNC" "D'ANGELO LUCA" \
        "TRATTORIA DA FORLINI" "VERDI GIUSEPPE" "FERRAMENTA CANTÙ SPA" "ESPOSITO MARIA" "PANIFICIO SALÒ" \
        "COLOMBO ANDREA" "STUDIO TECNICO FORLÌ" "RICCI CHIARA" "GRECO PAOLO" "BRUNO SARA" "GALLO MATTEO" \
        "CONTI LUCIA" "DE LUCA TOMMASO" "MANCINI ROSA" "COSTA ELIA" "GIORDANO ILARIA" "RIZZO UGO" \
        "LOMBARDI ZOE" "MORETTI NOÈ" "BARBIERI GIULIA" "FONTANA LORENZO" "SANTORO ANTONIO" "MARIANI SALVATORE"; do
        row $n $((n - 1)) "$name" "CLI$((n + 100))" "" "VIA GARIBALDI $n" 47121 "FORLÌ" FC "0543 12$n"
        n=$((n + 1))
    done
    "$bin/archive-tool" set "$work/Archivio.xls" IV1 $((n - 2)) >/dev/null
}

open_registry() {
    xdotool windowfocus --sync "$main" key space
    registry=$(xdotool search --sync --name "^Velmoro $" | head -1)
    xdotool windowmove --sync "$registry" 20 40
    sleep 1
}

# Search as you type: "forli" in the list.
new_work
subjects
start_velmoro "$work"
open_registry
xdotool windowfocus --sync "$registry" key shift+Tab
xdotool type --delay 120 forli
sleep 1.5
shoot "$registry" search.png
stop_velmoro

# Field hints: a wrong CAP, province and codice fiscale, the tooltip of the last.
start_velmoro "$work"
open_registry
xdotool windowfocus --sync "$registry" type "NUOVO CLIENTE SRL"
xdotool key Tab Tab
xdotool type "VIA ROMA 1"
xdotool key Tab
xdotool type 0018
xdotool key Tab
xdotool type ROMA
xdotool key Tab
xdotool type RX
xdotool key Tab Tab Tab Tab Tab
xdotool type RCCMNL83S18D969K
xdotool key Tab
xdotool type 00743110157
xdotool mousemove --window "$registry" 100 296
sleep 0.5
xdotool mousemove --window "$registry" 110 300
sleep 2.5
shoot "$registry" hints.png
stop_velmoro

# The preview of a landscape page at 110 %, the printer named by hand.
start_velmoro "$work"
xdotool windowfocus --sync "$main" key Tab space
printer=$(xdotool search --sync --name "^Seleziona Stampante$" | head -1)
xdotool windowfocus --sync "$printer" key ctrl+a
xdotool type PDF
xdotool key Tab Tab space
sleep 1
xdotool key Return
sleep 1
xdotool key Tab space
preview=$(xdotool search --sync --name "^Anteprima di stampa" | head -1)
sleep 1
shoot "$preview" preview.png
stop_velmoro
rm -rf "$work"
