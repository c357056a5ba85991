#!/usr/bin/env bash
# Regenerates the pictures in the README from the Linux build: results of a few runs and the settings
# dialog's five pages. Every run is seeded, so the pictures are reproducible.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${TESSELWRIGHT:-build/linux/bin/tesselwright}
images=docs/images
mkdir -p "$images"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

picture() {
    local name=$1 size=$2
    shift 2
    "$bin" run --seed 7 --size "$size" --out "$work/$name" "$@" >/dev/null
    cp "$work/$name.png" "$images/$name.png"
}

picture multiple-fills-tumble 480 --preset "Multiple fills" --tumble
picture color-mix 240 --preset "Color mix"
picture star 240 --preset "Star" --page Front --type 8=4 --page Behind --type 30=1
picture subtle-rotate 240 --preset "Subtle rotate" --page Front --type 8=5
picture random-patterns 240 --preset "Random patterns" --page Size --choose "91=Hexagon" --type 39=3

"$bin" dialog --out "$work/dialog" >/dev/null
for page in Front Behind Size Tweak Settings; do
    cp "$work/dialog/$page.png" "$images/dialog-$(echo "$page" | tr '[:upper:]' '[:lower:]').png"
done
echo "pictures written to $images"
