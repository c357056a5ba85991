#!/usr/bin/env bash
# The main job: installs what is needed, builds, and runs the filter on the built-in sample document.
# Without arguments it makes the README's first picture (preset "Multiple fills", thrown with Tumble,
# seed 7); arguments replace those and go to `tesselwright run` (for example: --preset "Color mix").
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target tesselwright tesselwright_plugin

mkdir -p out
if [ $# -eq 0 ]; then
    set -- --preset "Multiple fills" --tumble --seed 7
fi
build/linux/bin/tesselwright run --out out/tesselwright "$@"
