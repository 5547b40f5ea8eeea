#!/bin/sh
# Installs the dependencies, builds everything and runs the whole test suite. No display is
# needed: the tests use Qt's offscreen platform.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DMAINPICTURE_BENCH=ON
cmake --build build
ctest --test-dir build --output-on-failure -j"$(nproc)"
