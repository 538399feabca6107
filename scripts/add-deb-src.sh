#!/usr/bin/env bash
# Adds source entries for the suites the machine already installs from, so
# that "apt-get source" finds Debian's mtd-utils.
set -euo pipefail
out=/etc/apt/sources.list.d/boxwart-deb-src.sources
: > "$out.tmp"
for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    [ "$f" = "$out" ] && continue
    # Keep the deb822 stanzas that point at Debian and turn them into deb-src.
    awk 'BEGIN{RS=""; ORS="\n\n"} /URIs:[^\n]*debian/ && /Types:[^\n]*deb/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" >> "$out.tmp"
done
if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb[[:space:]]+[^[:space:]]*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/boxwart-deb-src.list || true
fi
mv "$out.tmp" "$out"
