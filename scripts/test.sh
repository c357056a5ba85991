#!/usr/bin/env bash
# Installs what is needed, builds every preset, and runs all tests: the Linux test suite (plain and with
# sanitizers), the static check of the shippable 32-bit plug-in, and the win64 build under wine64
# compared with the Linux build.
set -euo pipefail
cd "$(dirname "$0")/.."

step() { printf '\n== %s\n' "$*"; }

scripts/setup.sh

step "win32: the shippable Vrom_Tesselwright.aip"
cmake --preset win32 >/dev/null
cmake --build --preset win32

step "Linux build and tests"
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux -j2

step "win32: the artefact checked statically"
.ci/check-win32.sh build/win32 build/linux/bin/tesselwright

step "Linux build and tests with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset linux-asan >/dev/null
cmake --build --preset linux-asan
ctest --preset linux-asan -j2


step "win64: tesselwright.exe under wine64 agrees with the Linux build"
cmake --preset win64 >/dev/null
cmake --build --preset win64
.ci/compare-wine64.sh build/linux/bin/tesselwright build/win64/bin/tesselwright.exe

step "all tests passed"
