#!/bin/sh
# The first printed page of a fresh archive holding a few office subjects, as the print job
# prints it at 110 % in landscape: docs/printed-page.sh BUILD_DIR [NAME]
# (docs/NAME.png, printed-page by default; the build folder's printed_page_image draws it).
set -e
docs=$(cd "$(dirname "$0")" && pwd)
"$1/bin/printed_page_image" "$docs/${2:-printed-page}.png" 110 orizzontale
