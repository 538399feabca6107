#pragma once

#include <QAbstractSocket>
#include <QString>

namespace Tftp {

// The plain-words explanation shown when the server cannot take its port:
// what went wrong and what the user can do about it.
QString bindFailureMessage(quint16 port, QAbstractSocket::SocketError error, const QString &systemText,
                           const QString &programPath);

} // namespace Tftp
