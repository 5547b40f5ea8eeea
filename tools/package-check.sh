#!/bin/sh
# Builds the Debian source and binary packages (tools/package.sh) and checks them: lintian
# --pedantic on the .changes finds no error and no warning; a second build of the same tree in
# another folder gives byte-identical .deb files; the program carries no library search path;
# the package lays out the program, the link on the PATH, the desktop entry, icon, AppStream
# metadata, manual page, documents and language-file template, and the entry and the metadata
# validate; the program answers --help (within 80 columns) and --version without a display;
# `cmake --install` places the language file only when none is there in any spelling. As root,
# and when nothing else occupies /opt/hmi/415_MainPicture, the package is also installed and
# purged with dpkg around a real installation tree. Exits non-zero at the first failure.
set -eu
cd "$(dirname "$0")/.."
changes="$(tools/package.sh | tail -n 1)"
tools/install-deps.sh lintian desktop-file-utils appstream
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
packages="$(dirname "$changes")"
deb="$packages/${package}_2.0.0_$(dpkg-architecture -qDEB_HOST_ARCH).deb"

echo "== lintian --pedantic $(basename "$changes")"
lintian --pedantic --fail-on error,warning "$changes" || fail "lintian reports errors or warnings"

echo "== a second build in another folder gives the same .deb files"
mkdir "$stage/elsewhere"
tar -cf - --exclude-vcs --exclude='./build*' . | tar -xf - -C "$stage/elsewhere"
again="$(dirname "$("$stage/elsewhere/tools/package.sh" | tail -n 1)")"
for built in "$packages"/*.deb; do
    cmp "$built" "$again/$(basename "$built")" || fail "$(basename "$built") is not reproducible"
done

echo "== the package's files"
dpkg-deb -x "$deb" "$stage/root"
for file in "$program" "$template" usr/share/applications/$app_id.desktop \
    usr/share/icons/hicolor/scalable/apps/$app_id.svg usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/man/man1/415_MainPicture_Config.1.gz usr/share/doc/$package/copyright \
    usr/share/doc/$package/changelog.gz usr/share/lintian/overrides/$package; do
    [ -f "$stage/root/$file" ] || fail "missing /$file"
done
[ "$(readlink "$stage/root/usr/bin/415_MainPicture_Config")" = "/$program" ] ||
    fail "no link /usr/bin/415_MainPicture_Config to /$program"
[ ! -e "$stage/root/$language_file" ] || fail "the package carries the language file itself"
# A library beside the program in the writable installation tree must never load first.
! readelf -d "$stage/root/$program" | grep -E "\((RPATH|RUNPATH)\)" ||
    fail "the program carries a library search path"
grep -qx "Exec=/$program" "$stage/root/usr/share/applications/$app_id.desktop" ||
    fail "the desktop entry does not start /$program"
desktop-file-validate "$stage/root/usr/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$stage/root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"

echo "== --help and --version without a display"
answer() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$stage/root/$program" "$@"; }
answer --help | grep -q "^Usage: 415_MainPicture_Config " || fail "--help"
[ -z "$(answer --help | awk 'length > 80')" ] || fail "--help is wider than 80 columns"
[ "$(answer --version)" = "415_MainPicture_Config 2.00" ] || fail "--version"

echo "== cmake --install places the language file only when none is there in any spelling"
build="$packages/$package-2.0.0/obj-$(dpkg-architecture -qDEB_HOST_GNU_TYPE)"
place() { cmake --install "$build" --prefix "$stage/live" --component language_file >/dev/null; }
live="$stage/live/415_MainPicture"
placed="$live/415_MainPicture_Config.ini"
changed="$(printf '[Language]\r\nLanguage=1033\r\n')"
# The program takes these for its language file too: case is ignored, and the dotless i's
# upper case is I.
other_spellings="415_MAINPICTURE_CONFIG.INI 415_maınpicture_config.ını"
mkdir -p "$live"
place
cmp "$placed" demo/415_MainPicture/415_MainPicture_Config.ini ||
    fail "the placed language file is not the template"
printf '%s' "$changed" >"$placed"
place
[ "$(cat "$placed")" = "$changed" ] || fail "cmake --install overwrote a changed language file"
for spelling in $other_spellings; do
    rm -f "$live"/*
    printf '%s' "$changed" >"$live/$spelling"
    place
    [ "$(ls "$live")" = "$spelling" ] || fail "cmake --install placed the template beside $spelling"
done

if [ "$(id -u)" != 0 ] || [ -e /opt/hmi/415_MainPicture ] ||
    dpkg-query -W "$package" >/dev/null 2>&1; then
    echo "== dpkg: skipped (needs root, and /opt/hmi/415_MainPicture and the package absent)"
    echo "package check passed: $(basename "$changes")"
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
# 2. A language file of the user's own, in any spelling the program takes: installing,
# reinstalling and purging leave it as it was, and place no template beside it.
for spelling in 415_MainPicture_Config.ini $other_spellings; do
    mkdir -p /opt/hmi/415_MainPicture
    printf '%s' "$user_text" >"/opt/hmi/415_MainPicture/$spelling"
    quietly dpkg -i "$deb"
    quietly dpkg -i "$deb"
    [ "$(find /opt/hmi/415_MainPicture -mindepth 1 | wc -l)" = 2 ] ||
        fail "dpkg: a template was placed beside $spelling"
    [ "$(cat "/opt/hmi/415_MainPicture/$spelling")" = "$user_text" ] ||
        fail "dpkg: the user's $spelling was replaced"
    quietly dpkg --purge "$package"
    [ "$(cat "/opt/hmi/415_MainPicture/$spelling")" = "$user_text" ] ||
        fail "dpkg: purge removed the user's $spelling"
    rm -rf /opt/hmi/415_MainPicture
done
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
echo "package check passed: $(basename "$changes")"
