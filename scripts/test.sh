#!/usr/bin/env bash
# Builds Boxwart and runs the whole test suite twice: once in a normal build
# (warnings are errors) and once under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-deps.sh"

cores=$(nproc)
cache="$root/build/cache"
common=(-G Ninja -DBOXWART_CACHE_DIR="$cache")

echo "== normal build"
cmake -S "$root" -B "$root/build/test" "${common[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBOXWART_WERROR=ON
cmake --build "$root/build/test" -j "$cores"
ctest --test-dir "$root/build/test" --output-on-failure -j "$cores"

echo "== sanitizer build"
cmake -S "$root" -B "$root/build/asan" "${common[@]}" -DCMAKE_BUILD_TYPE=Debug -DBOXWART_SANITIZE=ON -DBOXWART_BUILD_BENCH=OFF
cmake --build "$root/build/asan" -j "$cores"
ctest --test-dir "$root/build/asan" --output-on-failure -j "$cores"
