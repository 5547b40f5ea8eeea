#!/bin/sh
# Builds the Debian source and binary packages (tools/package.sh, the test suite running in
# dh_auto_test) and checks them as Debian checks a package, printing each tool's verdict:
# lintian on the .changes finds nothing, pedantic, informational and experimental tags included;
# a second build of the same tree in another folder (nocheck) gives byte-identical .deb files;
# the program carries no library search path; the package lays out the program, the link on the
# PATH, the desktop entry, icon, AppStream metadata, manual page, documents and language-file
# template, ships nothing below /opt, and the entry and the metadata validate; the program
# answers --help (within 80 columns) and --version without a display; `cmake --install` places
# the language file only when none is there in any spelling. As root: piuparts installs and
# purges the package in a fresh Debian 12, upgrades to it from an earlier version, and finds
# the system as it was each time; autopkgtest runs debian/tests against the installed package;
# and, when nothing else occupies /opt/hmi/415_MainPicture, dpkg installs and purges it around
# a real installation tree. Exits non-zero at the first failure.
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
verdict() { echo "verdict: $*"; }
package=415-mainpicture-config
app_id=org.mainpicture.mainpicture_config
packaged=usr/libexec/$package/415_MainPicture/415_MainPicture_Config
program=opt/hmi/415_MainPicture/415_MainPicture_Config
language_file=opt/hmi/415_MainPicture/415_MainPicture_Config.ini
template=usr/share/$package/415_MainPicture_Config.ini
packages="$(dirname "$changes")"
version="$(dpkg-parsechangelog -S Version)"
deb="$packages/${package}_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"

echo "== lintian --pedantic --info --display-experimental $(basename "$changes")"
lintian --pedantic --info --display-experimental \
    --fail-on error,warning,info,pedantic,experimental "$changes" ||
    fail "lintian reports tags"
verdict "lintian: no tag"

echo "== a second build in another folder gives the same .deb files"
mkdir "$stage/elsewhere"
tar -cf - --exclude-vcs --exclude='./build*' . | tar -xf - -C "$stage/elsewhere"
again="$(dirname "$(DEB_BUILD_OPTIONS=nocheck "$stage/elsewhere/tools/package.sh" | tail -n 1)")"
for built in "$packages"/*.deb; do
    cmp "$built" "$again/$(basename "$built")" || fail "$(basename "$built") is not reproducible"
done
verdict "reproducible: the second build's .deb files are byte-identical"

echo "== the package's files"
dpkg-deb -x "$deb" "$stage/root"
for file in "$packaged" "$template" usr/share/applications/$app_id.desktop \
    usr/share/icons/hicolor/scalable/apps/$app_id.svg usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/man/man1/415_MainPicture_Config.1.gz usr/share/doc/$package/copyright \
    usr/share/doc/$package/changelog.gz; do
    [ -f "$stage/root/$file" ] || fail "missing /$file"
done
[ ! -e "$stage/root/opt" ] || fail "the package ships files below /opt"
[ "$(readlink "$stage/root/usr/bin/415_MainPicture_Config")" = "/$program" ] ||
    fail "no link /usr/bin/415_MainPicture_Config to /$program"
# A library beside the program in the writable installation tree must never load first.
! readelf -d "$stage/root/$packaged" | grep -E "\((RPATH|RUNPATH)\)" ||
    fail "the program carries a library search path"
grep -qx "Exec=/usr/bin/415_MainPicture_Config" "$stage/root/usr/share/applications/$app_id.desktop" ||
    fail "the desktop entry does not start /usr/bin/415_MainPicture_Config"
desktop-file-validate "$stage/root/usr/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$stage/root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"

echo "== --help and --version without a display"
answer() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$stage/root/$packaged" "$@"; }
answer --help | grep -q "^Usage: 415_MainPicture_Config " || fail "--help"
# A path on a line of its own cannot be broken; this staging folder makes them longer than an
# installed program's.
[ -z "$(answer --help | awk 'length > 80 && !/^ +\/[^ ]*$/')" ] || fail "--help is wider than 80 columns"
[ "$(answer --version)" = "415_MainPicture_Config 2.00" ] || fail "--version"

echo "== cmake --install places the language file only when none is there in any spelling"
build="$packages/$package-$version/obj-$(dpkg-architecture -qDEB_HOST_GNU_TYPE)"
place() {
    cmake --install "$build" --component language_file >/dev/null
}
# The package's build names the tree /opt/hmi; a staging tree of our own stands in for it.
cmake -DMAINPICTURE_TREE="$stage/live" "$build" >/dev/null
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

if [ "$(id -u)" != 0 ]; then
    echo "== piuparts, autopkgtest and dpkg: skipped (they need root)"
    echo "package check passed: $(basename "$changes")"
    exit 0
fi

echo "== piuparts: install, purge, and upgrade from an earlier version, in a fresh Debian 12"
tools/install-deps.sh piuparts debootstrap autopkgtest
base="$stage/bookworm.tgz"
debootstrap --variant=minbase bookworm "$stage/bookworm" http://deb.debian.org/debian \
    >"$stage/debootstrap.log" 2>&1 || { cat "$stage/debootstrap.log"; fail "debootstrap"; }
tar -C "$stage/bookworm" -czf "$base" .
rm -rf "$stage/bookworm"
# The earlier version is this tree under a lower version number, offered to the chroot's apt
# as the archive's version; piuparts installs it, upgrades it to the package under test and
# purges.
earlier="$stage/earlier"
mkdir "$earlier"
tar -cf - --exclude-vcs --exclude='./build*' . | tar -xf - -C "$earlier"
sed -i "1s/($version)/($version~earlier1)/" "$earlier/debian/changelog"
repo="$stage/repo"
mkdir "$repo"
cp "$(dirname "$(DEB_BUILD_OPTIONS=nocheck "$earlier/tools/package.sh" | tail -n 1)")"/"${package}"_*.deb "$repo"
(cd "$repo" && dpkg-scanpackages . /dev/null >Packages 2>/dev/null)
piuparts --basetgz="$base" --distribution=bookworm --mirror=http://deb.debian.org/debian \
    --bindmount="$repo" --extra-repo="deb [trusted=yes] file://$repo ./" "$deb" \
    >"$stage/piuparts.log" 2>&1 || { tail -n 40 "$stage/piuparts.log"; fail "piuparts"; }
grep -q "Unpacking $package ($version) over ($version~earlier1)" "$stage/piuparts.log" ||
    fail "piuparts did not upgrade from the earlier version"
verdict "piuparts: $(grep -o 'PASS: .*' "$stage/piuparts.log" | tr '\n' ' ')"

echo "== autopkgtest: debian/tests against the installed package"
autopkgtest "$deb" "$packages/$package-$version" -- null >"$stage/autopkgtest.log" 2>&1 ||
    { tail -n 60 "$stage/autopkgtest.log"; fail "autopkgtest"; }
verdict "autopkgtest: $(sed -n '/@@@@ summary/,$p' "$stage/autopkgtest.log" |
    grep -E '^[^ ]+ +(PASS|FAIL|SKIP|FLAKY)' | tr -s ' \n' ' ')"
dpkg --purge "$package" >/dev/null 2>&1 || true

if [ -e /opt/hmi/415_MainPicture ] || dpkg-query -W "$package" >/dev/null 2>&1; then
    echo "== dpkg: skipped (/opt/hmi/415_MainPicture or the package is there already)"
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
# 1. No language file: the package puts the program into the tree and places the template;
# purging removes both and the folders it made.
quietly dpkg -i "$deb"
cmp "/$program" "/$packaged" || fail "dpkg: the program was not put into the tree"
cmp "/$language_file" "/$template" || fail "dpkg: the template was not placed"
quietly dpkg --purge "$package"
[ ! -e "/$program" ] || fail "dpkg: purge left the program in the tree"
[ ! -e "/$language_file" ] || fail "dpkg: purge left the language file it placed"
[ ! -e /opt/hmi/415_MainPicture ] || fail "dpkg: purge left the program folder it made"
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
verdict "dpkg: installing, reinstalling and purging keep the installation tree's own files"
echo "package check passed: $(basename "$changes")"
