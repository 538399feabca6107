#pragma once

#include <QString>

// The port the probe datagrams go to: the discard service.
constexpr quint16 kProbePort = 9;

// Sends one small UDP datagram to every host address 1-254 of the /24
// segment `prefix` ("192.168.1."), all at once. Each one makes the system
// resolve that address's hardware address, so boxes that ignore the
// broadcast echo (Linux does by default) land in the neighbour table too.
// Returns how many datagrams went out; none for a prefix that is not the
// start of a dotted IPv4 address.
int probeSegment(const QString &prefix, quint16 port = kProbePort);
