#!/usr/bin/env bash
# Builds Boxwart and starts it with the simulated Vexa box.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBOXWART_CACHE_DIR="$root/build/cache" -DBOXWART_BUILD_TESTS=OFF -DBOXWART_BUILD_BENCH=OFF
cmake --build "$root/build/release" -j "$(nproc)"
exec "$root/build/release/bin/boxwart" --demo "$@"
