#!/bin/sh
# Unpacks Debian's tftpd-hpa and atftpd (and the libwrap they need) into
# <dir>/root without installing them: the two packages conflict.
set -eu
dir=${1:?usage: fetch-servers.sh <dir>}
mkdir -p "$dir"
cd "$dir"
if [ -x root/usr/sbin/in.tftpd ] && [ ! -L root/usr/sbin/in.tftpd ] && [ -x root/usr/sbin/atftpd ] && [ -e root/usr/lib/x86_64-linux-gnu/libwrap.so.0 ]; then
    exit 0
fi
apt-get download tftpd-hpa atftpd libwrap0
# atftpd ships /usr/sbin/in.tftpd as a link to itself: unpack it first so
# that tftpd-hpa's real in.tftpd replaces the link.
for deb in atftpd_*.deb libwrap0_*.deb tftpd-hpa_*.deb; do
    dpkg-deb -x "$deb" root
done
