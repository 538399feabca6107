#include "simoptions.h"

#include <QCommandLineParser>

SimOptionsResult parseSimOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A simulated Vexa box on loopback: telnet log-in and shell, FTP service, flash partitions "
                       "in a root folder.\nPrints \"READY telnet=<port> ftp=<port> root=<path>\" when it listens; "
                       "ends on SIGTERM, SIGINT or when its standard input closes."));
    parser.addHelpOption();
    const QCommandLineOption telnetPort(QStringLiteral("telnet-port"), QStringLiteral("Telnet port, 0 = any free one."),
                                        QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption ftpPort(QStringLiteral("ftp-port"), QStringLiteral("FTP port, 0 = any free one."),
                                     QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption noFtp(QStringLiteral("no-ftp"), QStringLiteral("Run no FTP service."));
    const QCommandLineOption root(QStringLiteral("root"),
                                  QStringLiteral("Folder that is the box's file system (default: a temporary one)."),
                                  QStringLiteral("folder"));
    const QCommandLineOption initRoot(QStringLiteral("init-root"),
                                      QStringLiteral("Create the box's folders and the files missing in the root."));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("The box's user id."), QStringLiteral("id"),
                                  QStringLiteral("root"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("The FTP password."),
                                      QStringLiteral("password"), QStringLiteral("vexa"));
    const QCommandLineOption maxLogins(QStringLiteral("ftp-max-logins"),
                                       QStringLiteral("Refuse FTP log-ins after this many."), QStringLiteral("n"));
    const QCommandLineOption closeDataEarly(QStringLiteral("ftp-close-data-early"),
                                            QStringLiteral("Drop an FTP download after this many bytes."),
                                            QStringLiteral("bytes"));
    const QCommandLineOption silentAfterAccept(QStringLiteral("ftp-silent-after-accept"),
                                               QStringLiteral("The FTP service accepts and never greets."));
    const QCommandLineOption splitPrompt(
        QStringLiteral("split-prompt"),
        QStringLiteral("Send the prompt in segments of its own, split after \"$\"; the flash writer's last line too."));
    const QCommandLineOption slow(QStringLiteral("slow"), QStringLiteral("Delay before every output."),
                                  QStringLiteral("ms"));
    const QCommandLineOption dropOn(QStringLiteral("drop-on"),
                                    QStringLiteral("Close the telnet connection on a command line containing this text."),
                                    QStringLiteral("text"));
    parser.addOptions({telnetPort, ftpPort, noFtp, root, initRoot, user, password, maxLogins, closeDataEarly,
                       silentAfterAccept, splitPrompt, slow, dropOn});

    SimOptionsResult result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        result.helpShown = true;
        result.error = parser.helpText();
        return result;
    }
    SimOptions &o = result.options;
    const auto number = [&](const QCommandLineOption &option, int maximum, int &target) {
        if (!parser.isSet(option))
            return true;
        bool ok = false;
        const int value = parser.value(option).toInt(&ok);
        if (!ok || value < 0 || value > maximum) {
            result.error = QStringLiteral("--") + option.names().first() + QStringLiteral(": not a number from 0 to ")
                           + QString::number(maximum) + QStringLiteral(": ") + parser.value(option);
            return false;
        }
        target = value;
        return true;
    };
    int telnet = 0;
    int ftp = 0;
    if (!number(telnetPort, 65535, telnet) || !number(ftpPort, 65535, ftp) || !number(maxLogins, 1 << 30, o.ftpMaxLogins)
        || !number(closeDataEarly, 1 << 30, o.ftpCloseDataEarly) || !number(slow, 60000, o.slowMs))
        return result;
    o.telnetPort = quint16(telnet);
    o.ftpPort = quint16(ftp);
    o.ftp = !parser.isSet(noFtp);
    o.root = parser.value(root);
    o.initRoot = parser.isSet(initRoot);
    o.user = parser.value(user);
    o.password = parser.value(password);
    o.ftpSilentAfterAccept = parser.isSet(silentAfterAccept);
    o.splitPrompt = parser.isSet(splitPrompt);
    o.dropOn = parser.value(dropOn);
    return result;
}
