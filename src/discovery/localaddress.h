#pragma once

#include <QString>
#include <functional>

// The PC's own address as dotted IPv4 text: the first IPv4 address of an
// interface that is up and is not the loopback, preferring interfaces with
// a carrier and addresses that are not link-local; empty on a PC without
// one.
namespace LocalAddress {

QString current();

// Tests put an address of their own network in place of the PC's.
void setSourceForTesting(std::function<QString()> source);

} // namespace LocalAddress
