#pragma once

#include <QHostAddress>
#include <QString>
#include <optional>

struct FtpHostPort {
    QHostAddress address;
    quint16 port = 0;
};

// "h1,h2,h3,h4,p1,p2" for "PORT" (IPv4 only).
QString formatPortArgument(const QHostAddress &address, quint16 port);
// "|2|addr|port|" for "EPRT" (IPv6).
QString formatEprtArgument(const QHostAddress &address, quint16 port);
// The "(h1,h2,h3,h4,p1,p2)" of a 227 reply text; nullopt when none is found.
std::optional<FtpHostPort> parsePasvReply(const QString &text);
// The port of a 229 reply text "(|||port|)"; nullopt when none is found.
std::optional<quint16> parseEpsvReply(const QString &text);
