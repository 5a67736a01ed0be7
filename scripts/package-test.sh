#!/usr/bin/env bash
# Makes the .deb of a build, checks what it holds and what it depends on,
# validates its desktop entry and metainfo, unpacks it into a scratch root
# (dpkg-deb -x, so nothing is installed on this machine) and runs brimlow-cli
# from there on a test list.
# Usage: scripts/package-test.sh [build folder]   (default: build/ci)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
data=$PWD/tests/data

rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/packages/brimlow_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { echo "FAIL no single .deb: ${debs[*]}"; exit 1; }
deb=${debs[0]}
echo "== $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/brimlow-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
check() {  # label command...
  local label=$1
  shift
  if "$@" >"$scratch/out" 2>&1; then
    echo "ok   $label"
  else
    echo "FAIL $label"
    head -20 "$scratch/out"
    failures=$((failures + 1))
  fi
}

# Exactly these files, and no test program, header or library beside them.
icons=usr/share/icons/hicolor
{
  printf './usr/%s\n' bin/brimlow bin/brimlow-cli share/applications/brimlow.desktop \
    share/doc/brimlow/brimlow.html share/man/man1/brimlow-cli.1.gz \
    share/metainfo/example.kelvane.brimlow.metainfo.xml
  echo "./$icons/scalable/apps/brimlow.svg"
  for size in 16 22 24 32 48 64 128 256; do echo "./$icons/${size}x$size/apps/brimlow.png"; done
} | sort >"$scratch/expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$scratch/contents"
check "contents list" diff "$scratch/expected" "$scratch/contents"

dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/ *(.*//; s/^ *//' >"$scratch/depends"
for package in libc6 libstdc++6 libqt6widgets6 qt6-qpa-plugins; do
  check "depends on $package" grep -qxF "$package" "$scratch/depends"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
check "desktop entry" desktop-file-validate "$root/usr/share/applications/brimlow.desktop"
check "metainfo" appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
check "icon 48x48" grep -q "PNG image data, 48 x 48" <(file "$root/$icons/48x48/apps/brimlow.png")
check "manual page" bash -c "zcat '$root/usr/share/man/man1/brimlow-cli.1.gz' |
  groff -man -Tutf8 -ww -z"
for command in dump summary categories save backup events clean restore; do
  check "manual page: $command" zgrep -q "^\.B brimlow-cli $command" \
    "$root/usr/share/man/man1/brimlow-cli.1.gz"
done
check "every library of brimlow found" bash -c "! ldd '$root/usr/bin/brimlow' | grep 'not found'"

# The unpacked program reads a list as the built one does.
cli=$root/usr/bin/brimlow-cli
check "brimlow-cli dump" diff <("$build/src/cli/brimlow-cli" dump "$data/list_two_downloads.xml") \
  <("$cli" dump "$data/list_two_downloads.xml")
status=0
"$cli" >"$scratch/usage" 2>&1 || status=$?
check "brimlow-cli without a command: usage, status 2" \
  bash -c "[[ $status -eq 2 ]] && grep -qF 'brimlow-cli dump [--csv] LIST' '$scratch/usage'"

if [[ $failures -ne 0 ]]; then
  echo "$failures package check(s) failed"
  exit 1
fi
echo "package checks passed"
