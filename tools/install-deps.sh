#!/bin/sh
# Installs from Debian 12's own packages what building and running the program needs; with
# --tests first, also what the test suite needs (GoogleTest, a virtual X display and a key
# presser for the interactive runs, the X library the start-up benchmark watches windows
# with, a font, strace for the runs with a failing system call); and any further packages
# named as arguments.
set -eu
packages="cmake g++ ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev"
if [ "${1:-}" = --tests ]; then
    shift
    packages="$packages libgtest-dev libxcb1-dev fonts-dejavu-core xvfb xauth xdotool strace"
fi
packages="$packages $*"
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
