#!/usr/bin/env bash
# Rebuilds data/maps/world.map, the map a new user sees at first start: the world's
# coastlines and country borders at 1:50m from Natural Earth (public domain), and beside it
# land.bin, the same countries' land as filled polygons (the map's offline land and sea).
#
# The data come from Debian's r-cran-rnaturalearthdata (installed here when missing; the
# build itself never needs R). Steps: R dumps the coordinates as text, world_source.py
# derives the borders and writes a map source (land_source.py the land's), map-writer makes
# the binary maps, and plovane-cli map-info reads them back.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build/world-map"
OUTPUT="${1:-$ROOT/data/maps/world.map}"
LAND="$(dirname "$OUTPUT")/land.bin"

packages=(r-base-core r-cran-sp r-cran-rnaturalearthdata)
missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLOVANE_BUILD_GUI=OFF \
    -DPLOVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" --target map-writer plovane-cli -j 2

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
Rscript "$ROOT/tools/world-map/natural_earth_dump.R" "$work/natural_earth.txt"
python3 "$ROOT/tools/world-map/world_source.py" "$work/natural_earth.txt" "$work/world.txt"
mkdir -p "$(dirname "$OUTPUT")"
"$BUILD/tools/map-writer/map-writer" "$work/world.txt" "$OUTPUT"
"$BUILD/tools/plovane-cli/plovane-cli" map-info "$OUTPUT"
python3 "$ROOT/tools/world-map/land_source.py" "$work/natural_earth.txt" "$work/land.txt"
"$BUILD/tools/map-writer/map-writer" "$work/land.txt" "$LAND"
"$BUILD/tools/plovane-cli/plovane-cli" map-info "$LAND"
