#include "discovery/localaddress.h"

#include <QNetworkInterface>

namespace {

std::function<QString()> &testSource()
{
    static std::function<QString()> source;
    return source;
}

// An interface with a carrier and a configured address beats one that is
// up without a cable (a bridge without members, say) or that only gave
// itself a link-local address.
int preference(const QNetworkInterface &interface, const QHostAddress &address)
{
    const bool running = interface.flags().testFlag(QNetworkInterface::IsRunning);
    return (running ? 2 : 0) + (address.isLinkLocal() ? 0 : 1);
}

} // namespace

namespace LocalAddress {

QString current()
{
    if (testSource())
        return testSource()();
    QHostAddress best;
    int bestPreference = -1;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto entries = interface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            if (const int rank = preference(interface, entry.ip()); rank > bestPreference) {
                best = entry.ip();
                bestPreference = rank;
            }
            break; // the first IPv4 address of each interface
        }
    }
    return best.isNull() ? QString() : best.toString();
}

void setSourceForTesting(std::function<QString()> source)
{
    testSource() = std::move(source);
}

} // namespace LocalAddress
