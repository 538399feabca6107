#include "net/tftp/bindfailure.h"

using namespace Qt::StringLiterals;

namespace Tftp {

QString bindFailureMessage(quint16 port, QAbstractSocket::SocketError error, const QString &systemText,
                           const QString &programPath)
{
    const QString portText = QString::number(port);
    QString reason;
    if (error == QAbstractSocket::AddressInUseError)
        reason = u"Another program, most likely another TFTP server, is already using UDP port "_s + portText + u"."_s;
    else if (error == QAbstractSocket::SocketAccessError)
        reason = u"The system does not allow this program to open UDP port "_s + portText
            + u". On Linux a normal user may not open ports below 1024."_s;
    else
        reason = u"UDP port "_s + portText + u" cannot be opened."_s;

    return u"The TFTP server could not be started. "_s + reason + u" (" + systemText + u")\n\n"
        + u"What you can do:\n"
        + u"- Stop the other TFTP server on this PC and click \"o.k.\" again.\n"
        + u"- Allow this program to open ports below 1024, once, with the command\n"
        + u"    sudo setcap 'cap_net_bind_service=+ep' " + programPath + u"\n"
        + u"- Or start the program with --tftp-port and a port above 1024."_s;
}

} // namespace Tftp
