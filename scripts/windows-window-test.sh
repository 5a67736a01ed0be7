#!/usr/bin/env bash
# The Windows window under Wine with a virtual X server, in a fresh prefix:
# 1. the window's test program (the real window in-process, driven through
#    its controls), under a Russian and a neutral locale, RUNS times; and
#    its Cyrillic part built without the UTF-8 code page in its manifest, so
#    that the Russian locale leaves it in code page 1251;
# 2. brimlow.exe end to end, as a user starts it: the registry names a list
#    and a stand-in for the host (tarvolt.exe, which records each start); the
#    running stand-in must be asked to exit at start-up, the title must show
#    the list's file name, and closing the window must start the host again.
# Usage: scripts/windows-window-test.sh [runs]   (default 1)
# Expects the windows preset's build folder; builds the programs it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-1}

if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

cmake --preset windows >/dev/null
cmake --build --preset windows -j"${BRIMLOW_JOBS:-2}" \
  --target brimlow brimlow_winapp_test brimlow_winapp_ansi_test hostStandIn windowProbe brimlow-demo-profile
bin=$root/build/windows

. "$root/scripts/fresh-wine-prefix.sh"
fresh_wine_prefix brimlow-window

failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# 1. The window's test program.
for run in $(seq "$runs"); do
  for lang in ru_RU.UTF-8 C.UTF-8; do
    if LANG=$lang LC_ALL= wine "$bin/tests/winapp/brimlow_winapp_test.exe" --gtest_brief=1 \
      >"$scratch/test.log" 2>&1; then
      echo "ok   brimlow_winapp_test (run $run, LANG=$lang)"
    else
      cat "$scratch/test.log"
      fail "brimlow_winapp_test (run $run, LANG=$lang)"
    fi
  done
  if LANG=ru_RU.UTF-8 LC_ALL= wine "$bin/tests/winapp/brimlow_winapp_ansi_test.exe" --gtest_brief=1 \
    >"$scratch/test.log" 2>&1; then
    echo "ok   brimlow_winapp_ansi_test (run $run, code page 1251)"
  else
    cat "$scratch/test.log"
    fail "brimlow_winapp_ansi_test (run $run, code page 1251)"
  fi
done

# 2. End to end.
win() { winepath -w "$1"; }
mkdir -p "$scratch/AppData" "$scratch/host"
LANG=ru_RU.UTF-8 LC_ALL= wine "$bin/tools/brimlow-demo-profile.exe" "$(win "$scratch/AppData")" >/dev/null
cp "$bin/tests/winapp/tarvolt.exe" "$scratch/host/tarvolt.exe"
key='HKCU\Software\Kelvane\Tarvolt'
wine reg add "$key" /v DefaultDownloadList /t REG_SZ \
  /d "$(win "$scratch/AppData/Tarvolt/lists/default.xml")" /f >/dev/null 2>&1
wine reg add "$key" /v ExeFile /t REG_SZ /d "$(win "$scratch/host/tarvolt.exe")" /f >/dev/null 2>&1
export BRIMLOW_STANDIN_LOG
BRIMLOW_STANDIN_LOG=$(win "$scratch/standin.log")
log=$scratch/standin.log
probe() { wine "$bin/tests/winapp/windowProbe.exe" "$@" | tr -d '\r'; }
wait_for() {  # seconds condition...
  local limit=$1
  shift
  for _ in $(seq $((limit * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
starts() { [[ -f $log ]] && grep -c "^\[$1\]$" "$log" || echo 0; }

wine "$scratch/host/tarvolt.exe" &
host=$!
wait_for 30 test -s "$log" || fail "the stand-in did not start"
LANG=ru_RU.UTF-8 LC_ALL= wine "$bin/src/winapp/brimlow.exe" &
window=$!
probe wait || fail "the window did not appear"
if wait_for 30 grep -q '^\[ -exit\]$' "$log" && wait_for 30 bash -c "! kill -0 $host 2>/dev/null"; then
  echo "ok   the running host was asked to exit at start-up"
else
  fail "the running host was not asked to exit: $(tr '\n' ' ' <"$log")"
fi
# The list loads once the host has gone; on a busy machine that takes a while.
title_shows_list() {
  title=$(probe title)
  [[ $title == "Tarvolt Brimlow - default.xml" ]]
}
if wait_for 30 title_shows_list; then
  echo "ok   the title shows the list: $title"
else
  fail "the title reads \"$title\""
fi
probe close
wait_for 30 bash -c "! kill -0 $window 2>/dev/null" || fail "the window did not close"
if wait_for 30 bash -c "[[ \$(grep -c '^\[\]$' '$log') -eq 2 ]]"; then
  echo "ok   closing the window started the host again"
else
  fail "the host was not started again: $(tr '\n' ' ' <"$log")"
fi
wine "$scratch/host/tarvolt.exe" -exit

if [[ $failures -ne 0 ]]; then
  echo "$failures window check(s) failed"
  exit 1
fi
echo "all window checks passed"
