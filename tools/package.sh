#!/bin/sh
# Builds the Debian package from a Release build in build-package, with Debian's hardening
# flags, and prints the path of the .deb. The tests and benchmarks are not built.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh dpkg-dev
# Every hardening feature Debian knows, bindnow included.
DEB_BUILD_MAINT_OPTIONS=hardening=+all
export DEB_BUILD_MAINT_OPTIONS
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DMAINPICTURE_TESTS=OFF \
    -DMAINPICTURE_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-package
rm -f build-package/*.deb
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/*.deb
