#include "app/core/appoptions.h"

#include <QCommandLineParser>

namespace {

std::optional<quint16> parsePort(const QString &text)
{
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<quint16>(value);
}

} // namespace

AppOptionsResult parseAppOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Start the simulated Vexa box on free loopback ports and use it."));
    const QCommandLineOption box(QStringLiteral("box"), QStringLiteral("Box address to start with."),
                                 QStringLiteral("address"));
    const QCommandLineOption telnet(QStringLiteral("telnet-port"), QStringLiteral("The box's telnet port (23)."),
                                    QStringLiteral("port"));
    const QCommandLineOption ftp(QStringLiteral("ftp-port"), QStringLiteral("The box's FTP port (21)."),
                                 QStringLiteral("port"));
    const QCommandLineOption tftp(QStringLiteral("tftp-port"),
                                  QStringLiteral("The port the boot-manager TFTP server listens on (69)."),
                                  QStringLiteral("port"));
    parser.addOptions({demo, box, telnet, ftp, tftp});
    parser.addHelpOption();

    AppOptionsResult result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    result.options.demo = parser.isSet(demo);
    result.options.boxAddress = parser.value(box);
    const auto takePort = [&](const QCommandLineOption &option, quint16 &target) {
        if (!parser.isSet(option))
            return true;
        const auto port = parsePort(parser.value(option));
        if (!port) {
            result.error = QStringLiteral("Not a port number: ") + parser.value(option);
            return false;
        }
        target = *port;
        return true;
    };
    if (!takePort(telnet, result.options.ports.telnet) || !takePort(ftp, result.options.ports.ftp)
        || !takePort(tftp, result.options.ports.tftp))
        return result;
    return result;
}
