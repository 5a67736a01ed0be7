#!/usr/bin/env bash
# Cross-builds Brimlow for Windows (mingw-w64), then runs the Windows tests
# and a few brimlow-cli.exe commands under Wine in a fresh, temporary prefix,
# and makes the zip package and runs brimlow-cli.exe from it unpacked; then
# the window's tests (scripts/windows-window-test.sh).
# Installs what is missing first.  Prints the time of each step.
# Environment: BRIMLOW_JOBS (parallel jobs, default: all cores),
# BRIMLOW_NATIVE_CLI (a Linux brimlow-cli whose output the Windows one must
# match; default build/ci/src/cli/brimlow-cli when it exists).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${BRIMLOW_JOBS:-$(nproc)}

started=$SECONDS
phase_start=$SECONDS
phases=()
phase_done() {
  phases+=("$(printf '%-10s %4d s' "$1" $((SECONDS - phase_start)))")
  echo "== $1: $((SECONDS - phase_start)) s"
  phase_start=$SECONDS
}
report() {
  echo "== Windows step times"
  printf '   %s\n' "${phases[@]}"
  echo "   total      $((SECONDS - started)) s"
}

# 1. Compilers, Wine, and the Russian UTF-8 locale under which Wine answers
#    code page 1251.
scripts/install-deps.sh build test windows
as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
  echo "Generating the ru_RU.UTF-8 locale"
  "${as_root[@]}" sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen ||
    echo 'ru_RU.UTF-8 UTF-8' | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  "${as_root[@]}" locale-gen >/dev/null
fi
phase_done install

# 2. The cross build.
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
phase_done build

# 3. A fresh prefix, removed at the end whatever happens.
. "$root/scripts/fresh-wine-prefix.sh"
fresh_wine_prefix brimlow-wine
phase_done prefix

# 4. The tests, each run under Wine by ctest.
ctest --preset windows -j"$jobs" --timeout 600 || { report; exit 1; }
phase_done tests

# 5. brimlow-cli.exe on the shared test files; its output must match the
#    Linux program's where that was built, under the same code page.
cli=$root/build/windows/src/cli/brimlow-cli.exe
native=${BRIMLOW_NATIVE_CLI:-$root/build/ci/src/cli/brimlow-cli}
data=$root/tests/data
failures=0
run_cli() {  # expected-status wine-LANG native-LANG command arguments...
  local expected=$1 wine_lang=$2 native_lang=$3
  shift 3
  local out status=0
  out=$(LANG=$wine_lang LC_ALL= wine "$cli" "$@" 2>&1 | tr -d '\r') || status=$?
  if [[ $status -ne $expected ]]; then
    echo "FAIL brimlow-cli.exe $*: status $status, expected $expected"
    echo "$out" | head -20 || true
    failures=$((failures + 1))
    return
  fi
  if [[ $expected -eq 0 && -x $native ]]; then
    local want
    want=$(LANG=$native_lang LC_ALL= "$native" "$@" 2>&1) || true
    if [[ $out != "$want" ]]; then
      echo "FAIL brimlow-cli.exe $*: differs from the Linux program"
      diff <(echo "$want") <(echo "$out") | head -20 || true
      failures=$((failures + 1))
      return
    fi
  fi
  echo "ok   brimlow-cli.exe $* (LANG=$wine_lang)"
}
# Under C.UTF-8 Wine's code page is 1252 while Linux keeps UTF-8: files with
# Cyrillic text are compared under the Russian locales, both code page 1251.
run_cli 0 C.UTF-8 C.UTF-8 dump "$data/list_two_downloads.xml"
run_cli 0 ru_RU.UTF-8 ru_RU.CP1251 dump "$data/list_utf8_cyrillic.xml"
run_cli 0 ru_RU.UTF-8 ru_RU.CP1251 categories "$data/nodes_three_kept.xml"
run_cli 0 ru_RU.UTF-8 ru_RU.CP1251 events "$data/list_entities.xml"
run_cli 2 C.UTF-8 C.UTF-8 no-such-command

# Writing: the list and its backup copy, through the Windows replacement,
# byte for byte as the Linux program writes them; a missing folder fails.
run_write() {  # command list
  local windows_out=$scratch/$1-windows.xml linux_out=$scratch/$1-linux.xml status=0
  LANG=ru_RU.UTF-8 LC_ALL= wine "$cli" "$1" "$2" "$(winepath -w "$windows_out")" ||
    status=$?
  if [[ $status -ne 0 || ! -f $windows_out ]]; then
    echo "FAIL brimlow-cli.exe $1: status $status"
    failures=$((failures + 1))
  elif [[ -x $native ]] && ! { LANG=ru_RU.CP1251 LC_ALL= "$native" "$1" "$2" "$linux_out" &&
    cmp -s "$windows_out" "$linux_out"; }; then
    echo "FAIL brimlow-cli.exe $1: differs from the Linux program's file"
    failures=$((failures + 1))
  else
    echo "ok   brimlow-cli.exe $1 $2"
  fi
}
run_write save "$data/list_utf8_cyrillic.xml"
run_write backup "$data/list_crlf.xml"
missing_out=$(winepath -w "$scratch/missing/out.xml")
if message=$(LANG=C.UTF-8 LC_ALL= wine "$cli" save "$data/list_two_downloads.xml" "$missing_out" 2>&1); then
  echo "FAIL brimlow-cli.exe save into a missing folder succeeded"
  failures=$((failures + 1))
elif [[ $(echo "$message" | tr -d '\r') != "Cannot create file \"$missing_out\". "?* ]]; then
  echo "FAIL brimlow-cli.exe save into a missing folder: $message"
  failures=$((failures + 1))
else
  echo "ok   brimlow-cli.exe save into a missing folder: $(echo "$message" | tr -d '\r')"
fi
phase_done cli

# 6. The zip: exactly the programs and the user guide in one folder, and
#    brimlow-cli.exe runs from it unpacked as the built one does.
rm -rf build/windows/packages
(cd build/windows && cpack -G ZIP >/dev/null)
zips=(build/windows/packages/brimlow-*-windows-x64.zip)
zip=$root/${zips[0]}
folder=$(basename "$zip" .zip)
expected=("$folder/brimlow-cli.exe" "$folder/brimlow.html")
[[ -f build/windows/src/winapp/brimlow.exe ]] && expected+=("$folder/brimlow.exe")
if [[ ${#zips[@]} -ne 1 || ! -f $zip ]]; then
  echo "FAIL no single zip: ${zips[*]}"
  failures=$((failures + 1))
elif [[ $(cmake -E tar tf "$zip" | grep -v '/$' | sort) != $(printf '%s\n' "${expected[@]}" | sort) ]]; then
  echo "FAIL the zip holds: $(cmake -E tar tf "$zip" | tr '\n' ' ')"
  failures=$((failures + 1))
else
  echo "ok   $(basename "$zip"): ${expected[*]}"
  mkdir "$scratch/unpacked"
  (cd "$scratch/unpacked" && cmake -E tar xf "$zip")
  cli=$scratch/unpacked/$folder/brimlow-cli.exe
  run_cli 0 C.UTF-8 C.UTF-8 dump "$data/list_two_downloads.xml"
  run_cli 0 ru_RU.UTF-8 ru_RU.CP1251 dump "$data/list_utf8_cyrillic.xml"
fi
phase_done package

# 7. The window: its test program and brimlow.exe end to end, under a virtual
#    X server in a prefix of their own.
if ! scripts/windows-window-test.sh; then
  failures=$((failures + 1))
fi
phase_done window

report
if [[ $failures -ne 0 ]]; then
  echo "$failures brimlow-cli.exe check(s) failed"
  exit 1
fi
