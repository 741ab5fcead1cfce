#!/usr/bin/env bash
# A real print: starts cupsd when none runs, adds a cups-pdf queue, prints a three-page registry
# through the printer window and the job, and reads the PDFs back with pdftotext. Removes the
# queue, and stops the daemon when it started it.
# Usage: cups_print_test.sh PRINT_CHECK_EXECUTABLE
set -euo pipefail
check=$1
queue=VelmoroTest$$
out="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
started=""
work=$(mktemp -d)

cleanup() {
  lpadmin -x "$queue" 2>/dev/null || true
  if [ -n "$started" ]; then
    kill "$started" 2>/dev/null || true
    wait "$started" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "cups_print_test: $*" >&2; exit 1; }
# lpstat -r succeeds either way; only its words tell.
running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q "scheduler is running"; }

for tool in cupsd lpadmin lpstat pdftotext; do
  command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || fail "$tool missing (packages cups, printer-driver-cups-pdf, poppler-utils)"
done
if ! running; then
  /usr/sbin/cupsd -f &
  started=$!
  for _ in $(seq 50); do running && break; sleep 0.2; done
  running || fail "cupsd did not start"
fi
# The default PostScript step turns fonts into outlines pdftotext cannot read; pdftocairo keeps them.
lpadmin -p "$queue" -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o pdftops-renderer-default=pdftocairo -E \
  2>/dev/null || fail "no cups-pdf queue"
mkdir -p "$out"
ls "$out" > "$work/before"

VELMORO_PRINT_QUEUE=$queue QT_QPA_PLATFORM=offscreen timeout 120 "$check"

# Each page is a job of its own: wait for the three PDFs.
for _ in $(seq 120); do
  ls "$out" | grep -vxF -f "$work/before" | grep '\.pdf$' > "$work/new" || true
  [ "$(wc -l < "$work/new")" -ge 3 ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && break
  sleep 0.5
done
[ "$(wc -l < "$work/new")" -eq 3 ] || fail "expected 3 PDFs in $out, found: $(tr '\n' ' ' < "$work/new")"

# Pages in job order, each with the header and its own subjects in order. pdftotext gives the
# header's words with single blanks, so the three blanks are measured: 8.3 points of Arial 10.
expected_first=(1 56 112)
expected_last=(55 111 120)
page=0
while read -r pdf; do
  text="$work/page$page.txt"
  pdftotext -layout "$out/$pdf" "$text"
  grep -qE "Stampa +Registrazioni +------ +del +[0-9]{2}/[0-9]{2}/[0-9]{4}" "$text" \
    || fail "page $((page + 1)): no header in $pdf"
  gap=$(pdftotext -bbox "$out/$pdf" - |
        awk -F'"' '/>Stampa</ { end = $6 } />Registrazioni</ && !gap { gap = $2 - end } END { print gap }')
  awk -v g="$gap" 'BEGIN { exit !(g > 7 && g < 10) }' || fail "page $((page + 1)): header gap of $gap points"
  grep -oE 'Ditta [0-9]+' "$text" | awk '{ print $2 }' > "$work/subjects"
  seq "${expected_first[$page]}" "${expected_last[$page]}" | diff -q - "$work/subjects" >/dev/null \
    || fail "page $((page + 1)): subjects $(head -1 "$work/subjects")..$(tail -1 "$work/subjects") in $pdf"
  rm -f "$out/$pdf"
  page=$((page + 1))
done < <(sort -V "$work/new")
echo "cups_print_test: 3 pages printed on $queue, header and subjects in order"
