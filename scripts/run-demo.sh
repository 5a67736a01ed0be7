#!/usr/bin/env bash
# Installs what is missing, builds the program and opens its window on a fresh
# copy of the bundled demo profile, so that nothing of the user's own is
# touched: APPDATA points at the profile, and WINEPREFIX at an empty folder of
# the demo's own, so that no real Wine registry is read and no host program
# is asked to exit or started.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build app
cmake --preset release
cmake --build --preset release --target brimlow brimlow-demo-profile

demo="$PWD/build/demo"
rm -rf "$demo"
mkdir -p "$demo/AppData" "$demo/wineprefix"
build/release/tools/brimlow-demo-profile "$demo/AppData"

export APPDATA="$demo/AppData"
export WINEPREFIX="$demo/wineprefix"
exec build/release/src/app/brimlow
