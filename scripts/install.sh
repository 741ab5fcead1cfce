#!/usr/bin/env bash
# Installs Velmoro for the current user, so that it starts from the desktop's menu:
#   the program, its helpers and its archive  ${XDG_DATA_HOME:-~/.local/share}/velmoro/
#   a command to start it                     ~/.local/bin/velmoro
#   the menu entry and its icon               .../applications/velmoro.desktop,
#                                             .../icons/hicolor/SIZExSIZE/apps/velmoro.png
# A fresh Archivio.xls is made only when none is there: an archive is never overwritten.
#
#   scripts/install.sh                     builds as scripts/run.sh does (Release, in build/), then installs
#   scripts/install.sh --build-dir DIR     installs what DIR (a build folder) already holds
#   scripts/install.sh --remove            takes the program out; the archive and Backup/ stay
set -euo pipefail

usage() {
  echo "Uso: scripts/install.sh [--build-dir CARTELLA | --remove]" >&2
  exit 2
}

build_dir="" remove=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) [ $# -ge 2 ] || usage; build_dir=$2; shift 2 ;;
    --remove) remove=1; shift ;;
    *) usage ;;
  esac
done
[ -z "$remove" ] || [ -z "$build_dir" ] || usage

# XDG asks to ignore a relative path in its variables.
data=${XDG_DATA_HOME:-}
case "$data" in /*) ;; *) data=$HOME/.local/share ;; esac
home_dir=$data/velmoro
launcher=$HOME/.local/bin/velmoro
entry=$data/applications/velmoro.desktop
icons=$data/icons/hicolor
sizes=(48 64 128 256)
programs=(velmoro velmoro-handover archive-tool)

our_launcher() { [ -L "$launcher" ] && [ "$(readlink "$launcher")" = "$home_dir/velmoro" ]; }

if [ -n "$remove" ]; then
  for program in "${programs[@]}"; do
    rm -f "$home_dir/$program"
  done
  ! our_launcher || rm -f "$launcher"
  rm -f "$entry"
  for size in "${sizes[@]}"; do
    rm -f "$icons/${size}x$size/apps/velmoro.png"
  done
  rmdir "$home_dir" 2>/dev/null || true # only when nothing is left in it
  echo "Velmoro è stato rimosso."
  if [ -e "$home_dir/Archivio.xls" ]; then
    echo "L'archivio e le sue copie restano in $home_dir"
  fi
  exit 0
fi

if [ -z "$build_dir" ]; then
  cd "$(dirname "$0")/.."
  scripts/deps.sh run
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build -j2 --target velmoro-program archive-tool velmoro-icon
  build_dir=build
fi
bin=$(cd "$build_dir" && pwd)/bin
for needed in velmoro archive-tool velmoro-new-archive velmoro-icon; do
  if [ ! -x "$bin/$needed" ]; then
    echo "Manca $bin/$needed: compilare prima Velmoro (scripts/install.sh senza --build-dir lo fa)." >&2
    exit 1
  fi
done

# Each file is copied beside its place and then renamed over it, so that a Velmoro that is
# running keeps its own program file whole.
put() { # source target
  mkdir -p "$(dirname "$2")"
  cp "$1" "$2.new"
  mv -f "$2.new" "$2"
}

for program in "${programs[@]}"; do
  if [ -x "$bin/$program" ]; then
    put "$bin/$program" "$home_dir/$program"
  else
    rm -f "$home_dir/$program" # not built here (velmoro-handover needs the LibreOffice SDK)
  fi
done

if [ -e "$home_dir/Archivio.xls" ]; then
  archive_note="l'archivio che c'era, non toccato"
else
  "$bin/velmoro-new-archive" "$home_dir/Archivio.xls"
  archive_note="un archivio nuovo"
fi

for size in "${sizes[@]}"; do
  mkdir -p "$icons/${size}x$size/apps"
  "$bin/velmoro-icon" "$size" "$icons/${size}x$size/apps/velmoro.png.new" 2>/dev/null
  mv -f "$icons/${size}x$size/apps/velmoro.png.new" "$icons/${size}x$size/apps/velmoro.png"
done

# Exec takes the program's path in quotes, with \ " ` $ escaped and % doubled; a value
# writes each backslash as \\.
path_value=$(printf '%s' "$home_dir/velmoro" | sed 's/\\/\\\\/g')
exec_path=$(printf '%s' "$home_dir/velmoro" | sed 's/\\/\\\\\\\\/g; s/["`$]/\\\\&/g; s/%/%%/g')
mkdir -p "$(dirname "$entry")"
cat > "$entry.new" <<EOF
[Desktop Entry]
Type=Application
Name=Velmoro
GenericName=Anagrafica clienti e fornitori
Comment=Anagrafica di clienti e fornitori, controllo dell'IBAN e stampa del registro
Keywords=anagrafica;clienti;fornitori;IBAN;registro;
Exec="$exec_path"
TryExec=$path_value
Icon=velmoro
Terminal=false
Categories=Office;Finance;
StartupNotify=true
StartupWMClass=velmoro
EOF
mv -f "$entry.new" "$entry"

if [ -e "$launcher" ] && ! our_launcher; then
  echo "Attenzione: $launcher esiste già e non è di questa installazione; non è stato toccato." >&2
else
  mkdir -p "$(dirname "$launcher")"
  ln -sfn "$home_dir/velmoro" "$launcher"
fi

echo "Velmoro è installato in $home_dir, con $archive_note."
echo "Si avvia dal menu delle applicazioni (Ufficio) o con il comando velmoro."
case ":$PATH:" in
  *":$HOME/.local/bin:"*) ;;
  *) echo "Nota: $HOME/.local/bin non è nel PATH; il comando velmoro sarà disponibile al prossimo accesso o con $launcher." ;;
esac
