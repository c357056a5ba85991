#!/usr/bin/env bash
# The main job: installs what is needed, builds, and runs the filter on the built-in sample document.
# Extra arguments go to `tesselwright run` (for example: --preset "Multiple fills" --tumble --seed 7).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target tesselwright tesselwright_plugin

mkdir -p out
build/linux/bin/tesselwright run --out out/tesselwright "$@"
