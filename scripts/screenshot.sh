#!/usr/bin/env bash
# Builds the program (release), lays out a fresh demo profile and takes a
# picture of the real window started on it under a virtual X server.
# Usage: scripts/screenshot.sh [file.png [overview]]   (default: build/screenshot.png)
# With "overview" the picture is of the list's overview instead.
#
# The picture is taken by the program itself: BRIMLOW_SCREENSHOT=<file.png>
# in its environment makes it save its window shortly after start-up and end.
set -euo pipefail
cd "$(dirname "$0")/.."

output="$(realpath -m "${1:-build/screenshot.png}")"

scripts/install-deps.sh build app test
cmake --preset release
cmake --build --preset release -j2 --target brimlow brimlow-demo-profile

demo="$PWD/build/screenshot-demo"
rm -rf "$demo"
mkdir -p "$demo/AppData" "$demo/wineprefix"
build/release/tools/brimlow-demo-profile "$demo/AppData"

rm -f "$output"
# A Russian desktop: dates and sizes in its formats, as the program's users see
# them.
LANG=ru_RU.UTF-8 LC_ALL= \
APPDATA="$demo/AppData" WINEPREFIX="$demo/wineprefix" BRIMLOW_SCREENSHOT="$output" \
BRIMLOW_SCREENSHOT_OF="${2:-}" \
  timeout 60 xvfb-run -a -s "-screen 0 1280x1024x24" build/release/src/app/brimlow
[[ -s "$output" ]] || { echo "no screenshot was written" >&2; exit 1; }
echo "screenshot: $output"
