// winsock2.h must come before anything that pulls in windows.h.
#include <winsock2.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include "discovery/neighboursource.h"

#include <QHostAddress>

#include <array>
#include <vector>

namespace {

constexpr int kEchoDataBytes = 56;
constexpr UCHAR kEchoTtl = 64;

class WindowsNeighbourSource final : public NeighbourSource {
public:
    void sendBroadcastEcho(const QString &address, int timeoutMs) override
    {
        const QHostAddress target(address);
        if (target.protocol() != QAbstractSocket::IPv4Protocol)
            return;
        const HANDLE icmp = IcmpCreateFile();
        if (icmp == INVALID_HANDLE_VALUE)
            return;
        std::array<char, kEchoDataBytes> data{};
        IP_OPTION_INFORMATION options{};
        options.Ttl = kEchoTtl;
        std::vector<char> reply(sizeof(ICMP_ECHO_REPLY) + kEchoDataBytes + 8);
        IcmpSendEcho(icmp, htonl(target.toIPv4Address()), data.data(), WORD(data.size()), &options, reply.data(),
                     DWORD(reply.size()), DWORD(timeoutMs));
        IcmpCloseHandle(icmp);
    }

    ListingCommand listingCommand() const override
    {
        return {QStringLiteral("C:\\"), QStringLiteral("cmd.exe"), QStringLiteral("/c arp -a")};
    }

    QList<FoundBox> findBoxes(const QStringList &listing) const override { return findBoxesInWindowsListing(listing); }
};

} // namespace

std::shared_ptr<NeighbourSource> makePlatformNeighbourSource()
{
    return std::make_shared<WindowsNeighbourSource>();
}
