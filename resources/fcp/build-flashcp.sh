#!/usr/bin/env bash
# Builds mtd-utils' flashcp from Debian's source package as a static 32-bit
# big-endian PowerPC executable: the flash writer the program uploads to the
# box. The source package is downloaded once into CACHE_DIR and kept there.
#
#   build-flashcp.sh CACHE_DIR OUTPUT [CROSS_PREFIX]
set -euo pipefail
cache=$1
out=$2
cross=${3:-powerpc-linux-gnu-}

mkdir -p "$cache"
cd "$cache"

newest_dsc() { ls mtd-utils_*.dsc 2>/dev/null | sort -V | tail -n 1 || true; }

dsc=$(newest_dsc)
if [ -z "$dsc" ]; then
    echo "flashcp: fetching Debian's mtd-utils source package into $cache"
    if ! apt-get source --download-only mtd-utils; then
        echo "flashcp: 'apt-get source mtd-utils' failed. It needs a deb-src entry" >&2
        echo "flashcp: (scripts/add-deb-src.sh adds one; then run apt-get update)," >&2
        echo "flashcp: or configure with -DBOXWART_FLASHCP_BINARY=/path/to/flashcp." >&2
        exit 1
    fi
    dsc=$(newest_dsc)
fi

version=${dsc#mtd-utils_}
version=${version%.dsc}
upstream=${version%-*}
src="$cache/mtd-utils-$version"
if [ ! -f "$src/.unpacked" ]; then
    rm -rf "$src"
    # Unpacks the upstream tarball and applies Debian's patches.
    dpkg-source --no-check -x "$dsc" "$src" >/dev/null
    touch "$src/.unpacked"
fi

"${cross}gcc" -static -O2 -Wall \
    -DVERSION="\"$upstream\"" \
    -I"$src/include" \
    -o "$out.tmp" "$src/misc-utils/flashcp.c" \
    -Wno-cpp
"${cross}strip" "$out.tmp"
mv "$out.tmp" "$out"
echo "flashcp: built $out from mtd-utils $version"
