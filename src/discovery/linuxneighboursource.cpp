#include "discovery/neighboursource.h"

#include <QHostAddress>
#include <QProcess>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kEchoDataBytes = 56;
constexpr int kEchoTtl = 64;

class SocketHandle {
public:
    explicit SocketHandle(int fd) : m_fd(fd) {}
    ~SocketHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SocketHandle(const SocketHandle &) = delete;
    SocketHandle &operator=(const SocketHandle &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// An ICMP datagram socket needs no privilege where net.ipv4.ping_group_range
// admits the user's group; the kernel fills in the identifier and checksum.
bool sendEchoWithoutPrivilege(const QHostAddress &target, int timeoutMs)
{
    const SocketHandle socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP));
    if (socket.fd() < 0)
        return false;
    const int on = 1;
    const int ttl = kEchoTtl;
    ::setsockopt(socket.fd(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    ::setsockopt(socket.fd(), IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);

    unsigned char packet[sizeof(icmphdr) + kEchoDataBytes] = {};
    icmphdr header{};
    header.type = ICMP_ECHO;
    header.un.echo.sequence = htons(1);
    std::memcpy(packet, &header, sizeof header);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(target.toIPv4Address());
    if (::sendto(socket.fd(), packet, sizeof packet, 0, reinterpret_cast<const sockaddr *>(&to), sizeof to) < 0)
        return false;
    pollfd reply{socket.fd(), POLLIN, 0};
    while (::poll(&reply, 1, timeoutMs) < 0 && errno == EINTR) {
    }
    return true;
}

// Elsewhere the system's ping, which carries the privilege it needs. It is
// left to end on its own: the search does not wait for the answer.
void sendEchoWithSystemPing(const QString &address)
{
    QProcess ping;
    ping.setProgram(QStringLiteral("ping"));
    ping.setArguments({QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("-W"),
                       QStringLiteral("1"), address});
    ping.setStandardInputFile(QProcess::nullDevice());
    ping.setStandardOutputFile(QProcess::nullDevice());
    ping.setStandardErrorFile(QProcess::nullDevice());
    ping.startDetached();
}

class LinuxNeighbourSource final : public NeighbourSource {
public:
    void sendBroadcastEcho(const QString &address, int timeoutMs) override
    {
        const QHostAddress target(address);
        if (target.protocol() != QAbstractSocket::IPv4Protocol)
            return;
        if (!sendEchoWithoutPrivilege(target, timeoutMs))
            sendEchoWithSystemPing(address);
    }

    ListingCommand listingCommand() const override
    {
        return {QStringLiteral("/"), QStringLiteral("ip"), QStringLiteral("-4 neigh show")};
    }

    QList<FoundBox> findBoxes(const QStringList &listing) const override { return findBoxesInLinuxListing(listing); }
};

} // namespace

std::shared_ptr<NeighbourSource> makePlatformNeighbourSource()
{
    return std::make_shared<LinuxNeighbourSource>();
}
