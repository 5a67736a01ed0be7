#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it on a fresh copy of
# the bundled demo profile, so that nothing of the user's own is touched.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build app
cmake --preset release
cmake --build --preset release

demo="$PWD/build/demo"
rm -rf "$demo"
mkdir -p "$demo/AppData" "$demo/wineprefix"
build/release/tools/brimlow-demo-profile "$demo/AppData"

export APPDATA="$demo/AppData"
export WINEPREFIX="$demo/wineprefix"
build/release/src/cli/brimlow-cli dump "$APPDATA/Tarvolt/lists/default.xml"
