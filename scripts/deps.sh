#!/usr/bin/env bash
# Installs the Debian packages a command needs, only those missing. Usage: deps.sh build|test|run
set -euo pipefail

build=(cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libgsf-1-dev nettle-dev
       googletest libgtest-dev libgmock-dev fonts-crosextra-carlito fonts-liberation2 libreoffice-dev)
test_extra=(clang libclang-rt-14-dev python3 python3-uno python3-msoffcrypto-tool python3-xlrd
            python3-xlwt python3-olefile python3-stdnum xvfb xauth
            cups printer-driver-cups-pdf poppler-utils)

want=("${build[@]}")
if [ "${1:-build}" = test ]; then
  want+=("${test_extra[@]}")
  # Any LibreOffice Calc will do for the interoperability tests; the headless build is smallest.
  if ! dpkg-query -W -f='${Status}' libreoffice-calc 2>/dev/null | grep -q 'ok installed'; then
    want+=(libreoffice-calc-nogui)
  fi
fi

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installazione dei pacchetti mancanti: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
