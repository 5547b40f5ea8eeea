#!/bin/sh
# Installs the dependencies, builds the program and starts it on the bundled demo
# installation, staged afresh in build/demo. Arguments go to the program, for example
# /EXTERNAL=JX5CFG (integrated, reads the host's copy in build/demo/Backup) or
# /EXTERNAL=SILENT. Without a display the demo runs silently and shows what it stored.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target 415_MainPicture_Config

demo="$PWD/build/demo"
rm -rf "$demo"
cp -r demo "$demo"
cp build/415_MainPicture_Config "$demo/415_MainPicture/"
printf '[Common]\r\nSaveAndRestore=%s\r\nNameM1=Demo machine 415\r\nNameM2=-\r\n' \
    "$demo/Backup" >"$demo/parameter/jx5configuration.ini"
export MAINPICTURE_SERVICE_LOG="$demo/OstrelServicePack.log"

arguments="$*"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running the demo silently (the dialog is pictured in docs/dialog.png)."
    arguments="/EXTERNAL=SILENT"
fi
status=0
# shellcheck disable=SC2086
"$demo/415_MainPicture/415_MainPicture_Config" $arguments || status=$?
echo "exit status $status; the demo installation after the run:"
for file in parameter/Program.ini 415_MainPicture/415_MainPicture.cfg JX5cfglog.txt \
    OstrelServicePack.log; do
    [ -f "$demo/$file" ] && { echo "--- $file"; tr -d '\r' <"$demo/$file"; }
done
exit "$status"
