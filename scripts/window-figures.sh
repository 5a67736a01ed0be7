#!/usr/bin/env bash
# The two windows side by side on one generated list of 100,000 downloads,
# both built optimised: the Qt window on Linux and the Windows window under
# Wine, each on the same virtual X server.  Each program runs RUNS times
# (default 5), and each measures its loads twice and keeps the faster; the
# table shows the medians of the runs.  Figures, not a test: nothing is
# asserted.
# Usage: scripts/window-figures.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-5}

if [[ -z ${DISPLAY:-} ]]; then
  scripts/install-deps.sh build app test bench windows
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

jobs=${BRIMLOW_JOBS:-2}
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$jobs" --target brimlow-window-bench brimlow-bench-list
cmake --preset windows-bench >/dev/null
cmake --build --preset windows-bench -j"$jobs" --target win32WindowBench

. "$root/scripts/fresh-wine-prefix.sh"
fresh_wine_prefix brimlow-figures
list=$scratch/list_100000.xml
"$root/build/bench/bench/brimlow-bench-list" 100000 "$list"

for run in $(seq "$runs"); do
  QT_QPA_PLATFORM=xcb "$root/build/bench/bench/brimlow-window-bench" --figures "$list" \
    >"$scratch/qt.$run"
  LANG=ru_RU.UTF-8 LC_ALL= wine "$root/build/windows-bench/tests/winapp/win32WindowBench.exe" \
    "$(winepath -w "$list")" | tr -d '\r' >"$scratch/win32.$run"
  echo "run $run of $runs done" >&2
done

python3 - "$scratch" "$runs" <<'PYTHON'
import re, statistics, sys
scratch, runs = sys.argv[1], int(sys.argv[2])
def figures(kind):
    values = {}
    for run in range(1, runs + 1):
        for line in open(f"{scratch}/{kind}.{run}"):
            label, value = re.match(r"(.*?)\s+([\d.]+)(?: s| MB|$)", line.rstrip()).groups()
            values.setdefault(re.sub(r"\(\d+ marked\)", "", label).strip(), []).append(
                float(value))
            if "marked" in label:
                values.setdefault("marked by the filter", []).append(
                    float(re.search(r"\((\d+)", label).group(1)))
    return {label: statistics.median(v) for label, v in values.items()}
win32, qt = figures("win32"), figures("qt")
# The window's share of each run's load, against the load of the same run.
def shares(kind):
    result = []
    for run in range(1, runs + 1):
        text = open(f"{scratch}/{kind}.{run}").read()
        bare, shown = (float(re.search(label + r"\s+([\d.]+)", text).group(1))
                       for label in ("without a window", "list shows"))
        result.append((shown / bare - 1) * 100)
    return result
print(f"\nMedians of {runs} runs, list of {int(win32['downloads'])} downloads")
print(f"{'':32} {'Win32 under Wine':>18} {'Qt on Linux':>14}")
for label, unit in [("load without a window", "s"), ("load until the list shows", "s"),
                    ("filter", "s"), ("marked by the filter", ""),
                    ("move 50000 to the trash", "s"), ("peak memory", "MB")]:
    shown = lambda v: f"{v:.3f} s" if unit == "s" else (f"{v:.1f} MB" if unit else f"{v:.0f}")
    print(f"{label:32} {shown(win32[label]):>18} {shown(qt[label]):>14}")
for name, kind in (("the window adds, median", statistics.median),
                   ("the window adds, least", min), ("the window adds, most", max)):
    print(f"{name:32} {kind(shares('win32')):>+17.1f}% {kind(shares('qt')):>+13.1f}%")
PYTHON
