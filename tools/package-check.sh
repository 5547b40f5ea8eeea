#!/bin/sh
# Builds the Debian package (tools/package.sh) and checks it: lintian --pedantic finds no
# error and no warning; a staged `cmake --install` lays out the program, the desktop entry,
# icon, AppStream metadata, manual page and language-file template, and the entry and the
# metadata validate; the Release executable answers --help and --version without a display;
# the language file is placed beside the executable only when none is there. As root, and when
# nothing else occupies /opt/hmi/415_MainPicture, the package is also installed and purged with
# dpkg around a real installation tree. Exits non-zero at the first failure.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh dpkg-dev lintian desktop-file-utils appstream
deb="$(tools/package.sh | tail -n 1)"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
fail() {
    echo "package check FAILED: $*" >&2
    exit 1
}
package=415-mainpicture-config
app_id=org.mainpicture.mainpicture_config
program=opt/hmi/415_MainPicture/415_MainPicture_Config
language_file=opt/hmi/415_MainPicture/415_MainPicture_Config.ini
template=usr/share/$package/415_MainPicture_Config.ini

echo "== lintian --pedantic $(basename "$deb")"
lintian --pedantic --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"

echo "== staged installation"
DESTDIR="$stage/root" cmake --install build-package >/dev/null
for file in "$program" "$template" usr/share/applications/$app_id.desktop \
    usr/share/icons/hicolor/scalable/apps/$app_id.svg usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/man/man1/415_MainPicture_Config.1.gz usr/share/doc/$package/copyright \
    usr/share/doc/$package/changelog.gz; do
    [ -f "$stage/root/$file" ] || fail "missing /$file"
done
[ "$(readlink "$stage/root/usr/bin/415_MainPicture_Config")" = "/$program" ] ||
    fail "no link /usr/bin/415_MainPicture_Config to /$program"
[ ! -e "$stage/root/$language_file" ] || fail "a staged installation placed the language file"
grep -qx "Exec=/$program" "$stage/root/usr/share/applications/$app_id.desktop" ||
    fail "the desktop entry does not start /$program"
dpkg-deb -c "$deb" >"$stage/contents"
grep -q " ./$program$" "$stage/contents" || fail "the package lacks /$program"
desktop-file-validate "$stage/root/usr/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$stage/root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"

echo "== --help and --version without a display"
answer() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$stage/root/$program" "$@"; }
answer --help | grep -q "^Usage: 415_MainPicture_Config " || fail "--help"
[ "$(answer --version)" = "415_MainPicture_Config 2.00" ] || fail "--version"

echo "== cmake --install places the language file only when none is there"
place() { cmake --install build-package --prefix "$stage/live" --component language_file >/dev/null; }
placed="$stage/live/415_MainPicture/415_MainPicture_Config.ini"
changed="$(printf '[Language]\r\nLanguage=1033\r\n')"
mkdir -p "$stage/live/415_MainPicture"
place
cmp "$placed" demo/415_MainPicture/415_MainPicture_Config.ini ||
    fail "the placed language file is not the template"
printf '%s' "$changed" >"$placed"
place
[ "$(cat "$placed")" = "$changed" ] || fail "cmake --install overwrote a changed language file"

if [ "$(id -u)" != 0 ] || [ -e /opt/hmi/415_MainPicture ] ||
    dpkg-query -W "$package" >/dev/null 2>&1; then
    echo "== dpkg: skipped (needs root, and /opt/hmi/415_MainPicture and the package absent)"
    echo "package check passed: $(basename "$deb")"
    exit 0
fi
echo "== dpkg: install and purge around an installation tree"
opt_hmi_was_there=no
[ -e /opt/hmi ] && opt_hmi_was_there=yes
cleanup() {
    dpkg --purge "$package" >/dev/null 2>&1 || true
    rm -rf /opt/hmi/415_MainPicture
    [ "$opt_hmi_was_there" = yes ] || rm -rf /opt/hmi
    rm -rf "$stage"
}
trap cleanup EXIT
# dpkg says which folders it could not remove; that is expected here, and shown on failure only.
quietly() { "$@" >"$stage/dpkg.log" 2>&1 || { cat "$stage/dpkg.log"; fail "$*"; }; }
user_text="$(printf '[Language]\r\nLanguage=1033\r\n[1033]\r\nCaption_CheckFaden_=thread-free\r\n')"
# 1. No language file: the package places the template, and purging removes it and the folder.
quietly dpkg -i "$deb"
cmp "/$language_file" "/$template" || fail "dpkg: the template was not placed"
quietly dpkg --purge "$package"
[ ! -e "/$language_file" ] || fail "dpkg: purge left the language file it placed"
[ ! -e /opt/hmi/415_MainPicture ] || fail "dpkg: purge left the empty program folder"
# 2. A language file of the user's own: installing, reinstalling and purging leave it as it was.
mkdir -p /opt/hmi/415_MainPicture
printf '%s' "$user_text" >"/$language_file"
quietly dpkg -i "$deb"
quietly dpkg -i "$deb"
[ "$(cat "/$language_file")" = "$user_text" ] || fail "dpkg: the user's language file was replaced"
quietly dpkg --purge "$package"
[ "$(cat "/$language_file")" = "$user_text" ] || fail "dpkg: purge removed the user's language file"
rm -rf /opt/hmi/415_MainPicture
# 3. The link on the PATH leads into the installation tree; the installed program works inside
# it and leaves the placed file as it is; a changed one survives a reinstallation, and purging
# removes what the package placed.
quietly dpkg -i "$deb"
env -u DISPLAY -u WAYLAND_DISPLAY 415_MainPicture_Config --help | grep -q "^  /opt/hmi/parameter/Program.ini$" ||
    fail "dpkg: 415_MainPicture_Config on the PATH does not find its installation tree"
mkdir -p /opt/hmi/parameter
printf '[Machine1]\r\nMainPictureStatus=35\r\n' >/opt/hmi/parameter/Program.ini
printf '[Project]\r\n' >/opt/hmi/415_MainPicture/415_MainPicture.cfg
MAINPICTURE_SERVICE_LOG="$stage/service.log" "/$program" /EXTERNAL=SILENT ||
    fail "dpkg: the installed program failed in its installation tree"
grep -q "S_Prog=2.0.0 - Standalone" /opt/hmi/415_MainPicture/415_MainPicture.cfg ||
    fail "dpkg: the installed program wrote no edit record"
cmp "/$language_file" "/$template" || fail "dpkg: the program rewrote the placed language file"
printf '%s' "$user_text" >"/$language_file"
quietly dpkg -i "$deb"
[ "$(cat "/$language_file")" = "$user_text" ] || fail "dpkg: reinstalling replaced a changed file"
quietly dpkg --purge "$package"
[ ! -e "/$language_file" ] || fail "dpkg: purge left the language file it placed"
[ -f /opt/hmi/415_MainPicture/415_MainPicture.cfg ] || fail "dpkg: purge removed the installation's file"
echo "package check passed: $(basename "$deb")"
