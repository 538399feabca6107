#!/usr/bin/env bash
# Draws every page of the main window offscreen, in German, Russian and
# Greek, into PNG files: scripts/screenshots.sh [folder] [language ...]
# The program runs with settings of its own, so the user's are not touched.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshots}
shift || true
languages=("$@")
[ ${#languages[@]} -gt 0 ] || languages=(german russian greek)
build=${BOXWART_BUILD_DIR:-$root/build/screenshots-build}

cmake -S "$root" -B "$build" -G Ninja -DBOXWART_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target boxwart-screenshots

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$out"
HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home \
QT_QPA_PLATFORM=offscreen "$build/bin/boxwart-screenshots" "$out" "${languages[@]}"
