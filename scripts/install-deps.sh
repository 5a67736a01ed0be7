#!/usr/bin/env bash
# Installs the Debian 12 packages Brimlow needs that are missing.
# Usage: scripts/install-deps.sh [group...]   groups: build app test bench sanitize windows package
# (default: build app test).  Uses sudo when not run as root.
set -euo pipefail

declare -A groups=(
  [build]="build-essential cmake ninja-build pkg-config libcli11-dev libglib2.0-dev"
  [app]="qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl1-mesa-dev librsvg2-bin"
  [test]="libgtest-dev libgmock-dev xvfb xauth"
  [bench]="libbenchmark-dev libexpat1-dev libpugixml-dev libxml2-dev qt6-qpa-plugins"
  [sanitize]="clang libclang-rt-14-dev"
  [windows]="mingw-w64 googletest wine wine64 locales"
  [package]="dpkg-dev desktop-file-utils appstream file groff-base"
)

wanted=()
for group in "${@:-build app test}"; do
  for g in $group; do
    [[ -n "${groups[$g]:-}" ]] || { echo "unknown package group: $g" >&2; exit 2; }
    wanted+=(${groups[$g]})
  done
done

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
