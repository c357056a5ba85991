#!/usr/bin/env bash
# Runs the same filter runs with the Linux tesselwright and with the win64 tesselwright.exe under wine64,
# and checks that the two JSON reports agree (numbers may differ only in their last bits, where the two C
# libraries' trigonometry does).
set -euo pipefail
linux_bin=${1:?usage: compare-wine64.sh LINUX_TESSELWRIGHT WINDOWS_TESSELWRIGHT_EXE}
windows_bin=${2:?usage: compare-wine64.sh LINUX_TESSELWRIGHT WINDOWS_TESSELWRIGHT_EXE}
here=$(cd "$(dirname "$0")" && pwd)

wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "compare-wine64: wine64 is not installed (run scripts/setup.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all

compare_run() {
    local name=$1
    shift
    "$linux_bin" run "$@" --out "$work/linux-$name" >/dev/null
    "$wine" "$windows_bin" run "$@" --out "$work/windows-$name" >/dev/null 2>"$work/wine-$name.err" || {
        echo "compare-wine64: tesselwright.exe failed on the $name run:" >&2
        cat "$work/wine-$name.err" >&2
        exit 1
    }
    python3 "$here/compare_reports.py" "$work/linux-$name.json" "$work/windows-$name.json"
    echo "compare-wine64: the $name run agrees ($*)"
}

compare_run plain --seed 7
compare_run dialog --seed 11 --preset "Multiple fills" --tumble --page Behind --drag 165=600,200 --shuffle
compare_run replay --seed 3 --set baseShape=6 --set repeatCount=12 --set transformLinking=4 \
    --set colorModification=7 --set patternBlendMode=16 --set fillBlendMode=16 --set preview=0
