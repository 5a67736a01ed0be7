#!/usr/bin/env bash
# Cross-builds brimlow.exe and starts it under Wine on a fresh copy of the demo
# profile, in a Wine prefix of its own (build/windows-demo), with a Russian
# locale.  Nothing of the user's own is touched: the registry of that prefix
# names the demo list (Wine sets APPDATA to its own profile folder, so the
# registry, not APPDATA, points at the demo), and no host program is named.
# Usage: scripts/windows-demo.sh                      opens the window
#        scripts/windows-demo.sh --screenshot FILE    saves a picture of it
#                                                      under a virtual X server
#        scripts/windows-demo.sh --screenshot FILE overview   of the list's overview
# The program takes the picture itself: BRIMLOW_SCREENSHOT=<file.bmp> in its
# environment makes it save its window shortly after start-up and close.
set -euo pipefail
cd "$(dirname "$0")/.."

screenshot=
if [[ ${1:-} == --screenshot ]]; then
  screenshot="$(realpath -m "${2:?a file name}")"
  if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --screenshot "$screenshot" ${3:+"$3"}
  fi
fi

if [[ -z ${BRIMLOW_NO_BUILD:-} ]]; then
  scripts/install-deps.sh build test windows
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j"${BRIMLOW_JOBS:-2}" --target brimlow brimlow-demo-profile
fi

demo=$PWD/build/windows-demo
rm -rf "$demo"
mkdir -p "$demo/prefix" "$demo/AppData"
export WINEPREFIX=$demo/prefix WINEDEBUG=-all WINEARCH=win64 LANG=ru_RU.UTF-8 LC_ALL=
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i </dev/null >/dev/null 2>&1
wine build/windows/tools/brimlow-demo-profile.exe "$(winepath -w "$demo/AppData")"
wine reg add 'HKCU\Software\Kelvane\Tarvolt' /v DefaultDownloadList /t REG_SZ /f \
  /d "$(winepath -w "$demo/AppData/Tarvolt/lists/default.xml")" >/dev/null 2>&1

if [[ -z $screenshot ]]; then
  exec wine build/windows/src/winapp/brimlow.exe
fi
BRIMLOW_SCREENSHOT=$(winepath -w "$demo/window.bmp") BRIMLOW_SCREENSHOT_OF=${3:-} timeout 120 wine build/windows/src/winapp/brimlow.exe
[[ -s $demo/window.bmp ]] || { echo "no screenshot was written" >&2; exit 1; }
python3 scripts/bmp-to-png.py "$demo/window.bmp" "$screenshot"
echo "screenshot: $screenshot"
