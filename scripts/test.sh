#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# every test: the debug build and its .deb, the same tests under AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer, and each fuzz target briefly
# over its corpus; then the Windows build's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build app test sanitize package
export QT_QPA_PLATFORM=offscreen

cmake --preset ci
cmake --build --preset ci
ctest --preset ci -j"$(nproc)"
# The .deb of that build, unpacked into a scratch root and run from there.
scripts/package-test.sh build/ci

cmake --preset asan
cmake --build --preset asan
# The linearity checks compare timings, which the sanitizers distort; they
# run in the plain build above.
ctest --preset asan -j"$(nproc)"

scripts/fuzz.sh "${BRIMLOW_FUZZ_SECONDS:-30}"

# The cross-built Windows libraries, tests and brimlow-cli.exe under Wine in a
# fresh prefix.
scripts/windows-test.sh
