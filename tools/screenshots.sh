#!/bin/sh
# Writes a PNG of every built window into the folder given as argument, without a display.
set -eu
[ $# -eq 1 ] || { echo "usage: tools/screenshots.sh OUTPUT_DIR" >&2; exit 2; }
cd "$(dirname "$0")/.."
cmake --build build --target trx-screenshots >/dev/null
QT_QPA_PLATFORM=offscreen ./build/app/trx-screenshots "$1"
