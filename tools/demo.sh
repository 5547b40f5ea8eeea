#!/bin/sh
# Installs what building and running the program needs, builds it (without the tests) and
# starts it on the bundled demo installation in build/demo. The installation is staged from
# demo/ on the first run only, so what a user changes there (the options stored, the language
# chosen) stays for the next run; --fresh as the first argument stages it anew. The program
# itself is the one just built on every run. Other arguments go to the program, for example
# /EXTERNAL=JX5CFG (integrated: reads the host's copy in build/demo/Backup and logs to
# build/demo/CFG.LOG) or /EXTERNAL=SILENT. Without a display the demo runs silently and shows
# what it stored.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DMAINPICTURE_BENCH=OFF
cmake --build build --target 415_MainPicture_Config

demo="$PWD/build/demo"
if [ "${1:-}" = --fresh ]; then
    shift
    rm -rf "$demo"
fi
if [ ! -d "$demo" ]; then
    cp -r demo "$demo"
    printf '[Common]\r\nSaveAndRestore=%s\r\nNameM1=Demo machine 415\r\nNameM2=-\r\n' \
        "$demo/Backup" >"$demo/parameter/jx5configuration.ini"
fi
cp build/415_MainPicture_Config "$demo/415_MainPicture/"
export MAINPICTURE_SERVICE_LOG="$demo/OstrelServicePack.log"

arguments="$*"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running the demo silently (the dialog is pictured in docs/dialog.png)."
    arguments="/EXTERNAL=SILENT"
fi
# The configuration host names the error log of an integrated run in its own form: the drive
# stands for the root folder and "\" for "/".
if printf '%s' "$arguments" | grep -qi 'JX5CFG' && ! printf '%s' "$arguments" | grep -qi 'LOGFILE'; then
    arguments="$arguments /LOGFILE=C:$(printf '%s' "$demo/CFG.LOG" | tr / '\\')"
fi
case "$arguments" in
*[Ss][Ii][Ll][Ee][Nn][Tt]*) ;;
*)
    cat <<TEXT
The dialog is open: $demo/415_MainPicture/415_MainPicture_Config $arguments
  - Tick or clear the five check boxes.
  - The green tick stores them into build/demo/parameter/Program.ini and ends the program.
  - The red cross (or closing the window) asks first: Yes ends without storing, No goes back.
  - The question mark switches the help mode: a click on a box, the tick or the cross then
    explains it instead of acting; the question mark again ends the help mode.
  - English texts: set Language=1033 in build/demo/415_MainPicture/415_MainPicture_Config.ini
    and start the demo again; it keeps build/demo as it is (tools/demo.sh --fresh starts over).
TEXT
    ;;
esac
status=0
# shellcheck disable=SC2086
"$demo/415_MainPicture/415_MainPicture_Config" $arguments || status=$?
echo "exit status $status; the demo installation after the run:"
for file in parameter/Program.ini 415_MainPicture/415_MainPicture.cfg JX5cfglog.txt CFG.LOG \
    OstrelServicePack.log; do
    [ -f "$demo/$file" ] && { echo "--- $file"; tr -d '\r' <"$demo/$file"; }
done
exit "$status"
