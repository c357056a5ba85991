#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the Windows checks need. Safe to run again:
# packages already present are left alone.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config python3 file
    llvm                                   # llvm-rc compiles the plug-in's resources for the Linux build
    libgtest-dev libgmock-dev libbenchmark-dev
    libcairo2-dev zlib1g-dev nlohmann-json3-dev libcli11-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine64                                 # runs the win64 build of tesselwright.exe
    valgrind
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all build packages are installed"
    exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
