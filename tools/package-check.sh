#!/bin/sh
# Lays out an installation with `cmake --install` and builds the .deb with CPack from an
# existing build folder (default: build), and checks that the executable lands in the folder
# named after its component. Exits non-zero when it does not.
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/hmi" >/dev/null
test -x "$stage/hmi/415_MainPicture/415_MainPicture_Config"
(cd "$build" && cpack -G DEB -B "$stage/package" >/dev/null)
deb="$(ls "$stage"/package/*.deb)"
dpkg-deb -c "$deb" | grep -q "./opt/hmi/415_MainPicture/415_MainPicture_Config$"
echo "package check passed: $(basename "$deb")"
