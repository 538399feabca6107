#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Boxwart
# needs. Each file in scripts/packages/ lists the packages of one area, one
# a line. Runs unattended as root; as another user it uses sudo when it can
# and otherwise prints the command to run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

mapfile -t packages < <(cat "$here"/packages/*.txt | sed -e 's/#.*//' -e 's/[[:space:]]//g' | grep -v '^$' | sort -u)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

# The flash writer is built from Debian's source package, so apt needs a
# source entry; add one beside the machine's binary entries if it has none.
need_src=0
if ! grep -rqs '^deb-src\|^Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    need_src=1
fi

if [ ${#missing[@]} -eq 0 ] && [ $need_src -eq 0 ]; then
    echo "setup-deps: all ${#packages[@]} packages are installed"
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        as_root=(sudo)
    else
        echo "setup-deps: these packages are missing: ${missing[*]}"
        echo "setup-deps: run as root:  bash $here/setup-deps.sh"
        exit 1
    fi
fi

if [ $need_src -eq 1 ]; then
    "${as_root[@]}" bash "$here/add-deb-src.sh"
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup-deps: installing ${missing[*]}"
    # Servers among the packages must not start as system services here.
    if [ ! -e /usr/sbin/policy-rc.d ]; then
        printf '#!/bin/sh\nexit 101\n' | "${as_root[@]}" tee /usr/sbin/policy-rc.d >/dev/null
        "${as_root[@]}" chmod +x /usr/sbin/policy-rc.d
        trap '"${as_root[@]}" rm -f /usr/sbin/policy-rc.d' EXIT
    fi
    "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
