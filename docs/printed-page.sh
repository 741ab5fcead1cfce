#!/bin/sh
# The first page the print job prints for a fresh archive holding a few office subjects, in
# landscape: at the zoom it offers (110 %, docs/printed-page.png) and at 62 %, where the
# columns from ID to Partita IVA fit the page's width (docs/printed-page-62.png).
# docs/printed-page-before.png is the 110 % page drawn the same way before fresh archives
# had column widths of their own.   Usage: docs/printed-page.sh BUILD_DIR
set -e
docs=$(cd "$(dirname "$0")" && pwd)
"$1/bin/printed_page_image" "$docs/printed-page.png" 110 orizzontale
"$1/bin/printed_page_image" "$docs/printed-page-62.png" 62 orizzontale
