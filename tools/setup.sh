#!/bin/sh
# Installs what the project needs from Debian's packages (as root, only what is missing), builds it,
# and then starts the program ("start") or runs every test ("test").
# usage: tools/setup.sh [start|test]
set -eu
what=${1:-}
cd "$(dirname "$0")/.."
packages="g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev firebird-dev libfbclient2 firebird3.0-server-core
  firebird3.0-utils firebird3.0-server libxlsxwriter-dev zlib1g-dev poppler-utils fonts-dejavu-core xvfb tzdata
  python3-openpyxl libreoffice-calc-nogui qt6-translations-l10n dpkg-dev file"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  # shellcheck disable=SC2086
  apt-get install -y --no-install-recommends $missing
fi
cmake -S . -B build -G Ninja
cmake --build build
case "$what" in
  start) exec ./build/app/trx ;;
  test) exec ctest --test-dir build --output-on-failure ;;
  "") ;;
  *) echo "usage: tools/setup.sh [start|test]" >&2; exit 2 ;;
esac
