#!/bin/sh
# Installs what building and testing the program needs, from Debian 12's own packages, and
# any further packages named as arguments.
set -eu
packages="cmake g++ ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
libgtest-dev libxcb1-dev fonts-dejavu-core xvfb xauth xdotool $*"
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $package"
done
if [ -n "$missing" ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    # shellcheck disable=SC2086
    apt-get install -y -q --no-install-recommends $missing
fi
