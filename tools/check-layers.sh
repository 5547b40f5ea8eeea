#!/bin/sh
# Fails when a file of the program includes a header of a layer above its own. The layers,
# bottom-up, are the add_layer() calls of CMakeLists.txt in their order; a layer may include
# itself and the layers below it. Tests, benchmarks and fuzz targets stand above all of them.
set -eu
cd "$(dirname "$0")/.."
layers=$(sed -n 's/^add_layer(\([a-z0-9_]*\).*/\1/p' CMakeLists.txt | tr '\n' ' ')
[ -n "$layers" ] || { echo "check-layers: no add_layer() in CMakeLists.txt" >&2; exit 1; }
git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' |
    xargs -0 grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[A-Za-z0-9_]+/' /dev/null |
    awk -v layers="$layers" '
        BEGIN { count = split(layers, names, " "); for (i = 1; i <= count; i++) rank[names[i]] = i }
        {
            split($0, place, ":"); layer = place[1]; sub(/\/.*/, "", layer)
            included = $0; sub(/^[^"]*"/, "", included); sub(/\/.*/, "", included)
            if ((layer in rank) && (included in rank) && rank[included] > rank[layer]) {
                print place[1] ":" place[2] ": " layer "/ includes " included "/, a higher layer"
                found++
            }
        }
        END {
            if (found) { print found " include(s) reach up; the layers, bottom-up: " layers; exit 1 }
        }'
