#!/usr/bin/env bash
# Installs the Debian packages a command needs, only those missing. Usage: deps.sh build|test|run
set -euo pipefail

build=(cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libgsf-1-dev nettle-dev
       googletest libgtest-dev libgmock-dev fonts-crosextra-carlito fonts-liberation2 libreoffice-dev)
test_extra=(clang libclang-rt-14-dev python3 python3-uno python3-msoffcrypto-tool python3-xlrd
            python3-xlwt python3-olefile python3-stdnum xvfb xauth xdg-utils desktop-file-utils
            cups printer-driver-cups-pdf poppler-utils)
# The hand-over shows the archive in LibreOffice Calc, which needs a window plugin; the
# desktop's opener is the way when LibreOffice cannot.
run_extra=(libreoffice-calc libreoffice-gtk3 xdg-utils)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

want=("${build[@]}")
case "${1:-build}" in
  test)
    want+=("${test_extra[@]}")
    # Any LibreOffice Calc will do for the interoperability tests; the headless build is
    # smallest. It cannot stand beside libreoffice-calc, which the run command installs.
    installed libreoffice-calc || want+=(libreoffice-calc-nogui)
    ;;
  run) want+=("${run_extra[@]}") ;;
esac

missing=()
for p in "${want[@]}"; do
  installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installazione dei pacchetti mancanti: ${missing[*]}"
$sudo apt-get update -qq
# libreoffice-calc replaces libreoffice-calc-nogui where the tests installed it.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
