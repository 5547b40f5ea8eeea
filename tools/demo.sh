#!/bin/sh
# Installs the dependencies, builds the program and starts it on the bundled demo
# installation, staged afresh in build/demo. Arguments are passed on to the program
# (for example /EXTERNAL=SILENT).
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target 415_MainPicture_Config
echo "The dialog is not built yet; the program's core is built in build/."
