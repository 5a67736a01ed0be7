# Sourced by the scripts that run programs under Wine: a fresh 64-bit prefix
# in a scratch folder of its own, removed at exit whatever happens.
# Usage: fresh_wine_prefix NAME   (sets $scratch and exports WINEPREFIX)
fresh_wine_prefix() {
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEARCH=win64
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
  # One server for every program run here: starting it anew for each costs
  # seconds.  The system's own services, started by wineboot, stay with it;
  # had a test program started them, they would hold its output open and
  # ctest would wait for them.  No runtime or browser installers: nothing
  # needs them.
  mkdir -p "$WINEPREFIX"
  wineserver -p
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i </dev/null >/dev/null 2>&1
}
