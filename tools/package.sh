#!/bin/sh
# Builds the Debian source and binary packages the Debian way, with dpkg-buildpackage, from a
# copy of this source tree in build-package/, and prints the path of the .changes file. First
# installs what that needs: dpkg-dev, and the build dependencies that debian/control names
# (debhelper brings the file program and the other tools its steps call).
set -eu
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
if ! installed dpkg-dev || ! installed build-essential || ! dpkg-checkbuilddeps 2>/dev/null; then
    apt-get update -q >&2
    apt-get install -y -q --no-install-recommends dpkg-dev build-essential >&2
    apt-get build-dep -y -q --no-install-recommends ./ >&2
fi

# dpkg-buildpackage writes its packages beside the source tree, so the tree is copied into
# a folder of its own, without the build folders and the version control files.
source_name="$(dpkg-parsechangelog -S Source)"
version="$(dpkg-parsechangelog -S Version)"
rm -rf build-package
mkdir -p "build-package/$source_name-$version"
tar -cf - --exclude-vcs --exclude='./build*' --exclude=./.cache . |
    tar -xf - -C "build-package/$source_name-$version"
(cd "build-package/$source_name-$version" && dpkg-buildpackage -us -uc -jauto >&2)
ls "$PWD/build-package/${source_name}_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).changes"
