#include "discovery/localaddress.h"

#include <QNetworkInterface>

namespace {

std::function<QString()> &testSource()
{
    static std::function<QString()> source;
    return source;
}

} // namespace

namespace LocalAddress {

QString current()
{
    if (testSource())
        return testSource()();
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto entries = interface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return entry.ip().toString();
        }
    }
    return {};
}

void setSourceForTesting(std::function<QString()> source)
{
    testSource() = std::move(source);
}

} // namespace LocalAddress
