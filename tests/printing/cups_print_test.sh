#!/usr/bin/env bash
# A real print: starts cupsd when none runs, adds a cups-pdf queue, prints a three-page registry
# through the printer window and the job (CHECK_PROGRAM), and reads the PDFs back. Removes the
# queue, and stops the daemon it started.   Usage: cups_print_test.sh CHECK_PROGRAM
set -euo pipefail
queue=VelmoroTest$$
out="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
work=$(mktemp -d)
started=""
cleanup() {
  lpadmin -x "$queue" 2>/dev/null || true
  [ -z "$started" ] || { kill "$started"; wait "$started" || true; }
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "cups_print_test: $*" >&2; exit 1; }
running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q "scheduler is running"; } # lpstat -r always succeeds

if ! running; then
  [ -x /usr/sbin/cupsd ] || fail "no cupsd (packages cups, printer-driver-cups-pdf, poppler-utils)"
  /usr/sbin/cupsd -f &
  started=$!
  for _ in $(seq 50); do running && break; sleep 0.2; done
fi
# The default PostScript step turns fonts into outlines pdftotext cannot read; pdftocairo keeps them.
lpadmin -p "$queue" -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o pdftops-renderer-default=pdftocairo \
  -E 2>/dev/null || fail "no cups-pdf queue"
mkdir -p "$out"
ls "$out" > "$work/before"
VELMORO_PRINT_QUEUE=$queue QT_QPA_PLATFORM=offscreen timeout 120 "$1"
for _ in $(seq 120); do # each page is a job of its own
  ls "$out" | grep -vxF -f "$work/before" | grep '\.pdf$' | sort -V > "$work/new" || true
  [ "$(wc -l < "$work/new")" -ge 3 ] && [ -z "$(lpstat -o "$queue")" ] && break
  sleep 0.5
done
[ "$(wc -l < "$work/new")" -eq 3 ] || fail "expected 3 PDFs in $out: $(tr '\n' ' ' < "$work/new")"

# Each page has the header and its own subjects in order. pdftotext gives the header's words
# single blanks apart, so its three blanks are measured: 8.3 points of Arial 10.
first=(1 56 112) last=(55 111 120) page=0
while read -r pdf; do
  pdftotext -layout "$out/$pdf" "$work/text"
  grep -qE "Stampa +Registrazioni +------ +del +[0-9]{2}/[0-9]{2}/[0-9]{4}" "$work/text" || fail "$pdf: no header"
  gap=$(pdftotext -bbox "$out/$pdf" - |
        awk -F'"' '/>Stampa</ { end = $6 } />Registrazioni</ && !gap { gap = $2 - end } END { print gap }')
  awk -v g="$gap" 'BEGIN { exit !(g > 7 && g < 10) }' || fail "$pdf: header words $gap points apart"
  grep -oE 'Ditta [0-9]+' "$work/text" | awk '{ print $2 }' > "$work/subjects" || true
  seq "${first[$page]}" "${last[$page]}" | diff -q - "$work/subjects" >/dev/null ||
    fail "$pdf: subjects $(tr '\n' ' ' < "$work/subjects")"
  rm -f "$out/$pdf"
  page=$((page + 1))
done < "$work/new"
echo "cups_print_test: 3 pages on $queue, with the header and their subjects in order"
