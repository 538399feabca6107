#include "boxshell.h"

#include "boxcontent.h"
#include "flashwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QByteArray utf8(const QString &s)
{
    return s.toUtf8();
}

struct Redirection {
    QString target;
    bool append = false;
};

struct ParsedLine {
    QStringList words;
    std::optional<Redirection> redirection;
    bool background = false;
    QString error; // a redirection without a target
};

ParsedLine parseLine(const QString &line)
{
    ParsedLine parsed;
    QStringList words = splitCommandLine(line);
    if (!words.isEmpty() && words.last() == QLatin1String("&")) {
        parsed.background = true;
        words.removeLast();
    } else if (!words.isEmpty() && words.last().endsWith(QLatin1Char('&'))) {
        parsed.background = true;
        words.last().chop(1);
    }
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &w = words.at(i);
        if (!w.startsWith(QLatin1Char('>'))) {
            parsed.words.append(w);
            continue;
        }
        Redirection r;
        r.append = w.startsWith(QLatin1String(">>"));
        r.target = w.mid(r.append ? 2 : 1);
        if (r.target.isEmpty()) {
            if (i + 1 >= words.size()) {
                parsed.error = QStringLiteral("sh: syntax error: unexpected newline\n");
                return parsed;
            }
            r.target = words.at(++i);
        }
        parsed.redirection = r;
    }
    return parsed;
}

// Commands the box has in /bin, /sbin and so on, called by name or by path.
QString builtinName(const QString &word)
{
    static const QStringList names{QStringLiteral("cat"),    QStringLiteral("chmod"),  QStringLiteral("mount"),
                                   QStringLiteral("umount"), QStringLiteral("hdparm"), QStringLiteral("reboot"),
                                   QStringLiteral("exit")};
    static const QStringList folders{QStringLiteral("/bin/"), QStringLiteral("/sbin/"), QStringLiteral("/usr/bin/"),
                                     QStringLiteral("/usr/sbin/")};
    if (names.contains(word))
        return word;
    for (const QString &folder : folders) {
        if (word.startsWith(folder) && names.contains(word.mid(folder.size())) && word != QLatin1String("/bin/exit"))
            return word.mid(folder.size());
    }
    return QString();
}

bool parseMode(const QString &text, QFileDevice::Permissions current, QFileDevice::Permissions &mode)
{
    bool ok = false;
    const uint octal = text.toUInt(&ok, 8);
    if (ok && octal <= 07777) {
        static const std::pair<uint, QFileDevice::Permission> bits[] = {
            {0400, QFileDevice::ReadOwner},  {0200, QFileDevice::WriteOwner}, {0100, QFileDevice::ExeOwner},
            {0040, QFileDevice::ReadGroup},  {0020, QFileDevice::WriteGroup}, {0010, QFileDevice::ExeGroup},
            {0004, QFileDevice::ReadOther},  {0002, QFileDevice::WriteOther}, {0001, QFileDevice::ExeOther}};
        mode = {};
        for (const auto &[bit, permission] : bits) {
            if (octal & bit)
                mode |= permission;
        }
        return true;
    }
    // The symbolic forms a person types: [ugoa]*[+-][rwx]+
    qsizetype i = 0;
    bool user = false, group = false, other = false;
    for (; i < text.size() && QStringLiteral("ugoa").contains(text.at(i)); ++i) {
        const QChar c = text.at(i);
        user = user || c == QLatin1Char('u') || c == QLatin1Char('a');
        group = group || c == QLatin1Char('g') || c == QLatin1Char('a');
        other = other || c == QLatin1Char('o') || c == QLatin1Char('a');
    }
    if (!user && !group && !other)
        user = group = other = true;
    if (i >= text.size() || (text.at(i) != QLatin1Char('+') && text.at(i) != QLatin1Char('-')) || i + 1 >= text.size())
        return false;
    const bool add = text.at(i) == QLatin1Char('+');
    QFileDevice::Permissions change;
    for (const QChar c : text.mid(i + 1)) {
        if (c == QLatin1Char('r'))
            change |= (user ? QFileDevice::ReadOwner : QFileDevice::Permissions())
                      | (group ? QFileDevice::ReadGroup : QFileDevice::Permissions())
                      | (other ? QFileDevice::ReadOther : QFileDevice::Permissions());
        else if (c == QLatin1Char('w'))
            change |= (user ? QFileDevice::WriteOwner : QFileDevice::Permissions())
                      | (group ? QFileDevice::WriteGroup : QFileDevice::Permissions())
                      | (other ? QFileDevice::WriteOther : QFileDevice::Permissions());
        else if (c == QLatin1Char('x'))
            change |= (user ? QFileDevice::ExeOwner : QFileDevice::Permissions())
                      | (group ? QFileDevice::ExeGroup : QFileDevice::Permissions())
                      | (other ? QFileDevice::ExeOther : QFileDevice::Permissions());
        else
            return false;
    }
    // Qt reports the owner's bits twice, as Owner and as User; keep one copy.
    current &= ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    mode = add ? (current | change) : (current & ~change);
    return true;
}

} // namespace

QStringList splitCommandLine(const QString &line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else if (c == QLatin1Char('\\') && quote == QLatin1Char('"') && i + 1 < line.size())
                word += line.at(++i);
            else
                word += c;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            inWord = true;
        } else if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            word += line.at(++i);
            inWord = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

BoxShell::BoxShell(const BoxRoot &root, BoxState &state) : m_root(root), m_state(state) {}

ShellResult BoxShell::run(const QString &line)
{
    ShellResult result;
    const ParsedLine parsed = parseLine(line);
    if (!parsed.error.isEmpty()) {
        writeErr(result.output, utf8(parsed.error));
        return result;
    }
    if (parsed.words.isEmpty() && !parsed.redirection)
        return result;

    // The shell creates the redirection's file before it runs the command.
    std::optional<QString> redirectTo;
    if (parsed.redirection) {
        const QString &target = parsed.redirection->target;
        const auto local = m_root.localPath(target);
        QFile file(local.value_or(QString()));
        if (!local) {
            writeErr(result.output, utf8(QStringLiteral("sh: can't create ") + target + QStringLiteral(": Permission denied\n")));
            return result;
        }
        if (!QFileInfo(QFileInfo(*local).path()).isDir()) {
            writeErr(result.output,
                     utf8(QStringLiteral("sh: can't create ") + target + QStringLiteral(": nonexistent directory\n")));
            return result;
        }
        if (QFileInfo(*local).isDir()) {
            writeErr(result.output, utf8(QStringLiteral("sh: can't create ") + target + QStringLiteral(": Is a directory\n")));
            return result;
        }
        if (!file.open(parsed.redirection->append ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate)) {
            writeErr(result.output, utf8(QStringLiteral("sh: can't create ") + target + QStringLiteral(": Permission denied\n")));
            return result;
        }
        redirectTo = *local;
    }
    if (parsed.words.isEmpty())
        return result;

    ShellOutputs output;
    const QString command = parsed.words.first();
    const QStringList arguments = parsed.words.mid(1);
    const QString builtin = builtinName(command);
    if (builtin == QLatin1String("cat")) {
        cat(arguments, output);
    } else if (builtin == QLatin1String("chmod")) {
        chmod(arguments, output);
    } else if (builtin == QLatin1String("mount")) {
        mount(arguments, output);
    } else if (builtin == QLatin1String("umount")) {
        umount(arguments, output);
    } else if (builtin == QLatin1String("hdparm")) {
        hdparm(arguments, output);
    } else if (builtin == QLatin1String("reboot") || builtin == QLatin1String("exit")) {
        result.endsSession = true;
        result.reboots = builtin == QLatin1String("reboot");
    } else if (!command.contains(QLatin1Char('/'))) {
        writeErr(output, utf8(QStringLiteral("sh: ") + command + QStringLiteral(": not found\n")));
    } else {
        // A program by path: whatever executable was uploaded is the flash writer.
        const auto local = m_root.localPath(command);
        const QFileInfo info(local.value_or(QString()));
        if (local && !info.exists())
            writeErr(output, utf8(QStringLiteral("sh: ") + command + QStringLiteral(": not found\n")));
        else if (!local || info.isDir() || !info.isExecutable())
            writeErr(output, utf8(QStringLiteral("sh: ") + command + QStringLiteral(": Permission denied\n")));
        else
            runFlashWriter(m_root, arguments, output);
    }

    if (redirectTo) {
        QFile file(*redirectTo);
        if (file.open(QIODevice::Append)) {
            for (const ShellOutput &piece : std::as_const(output)) {
                if (piece.stream == ShellOutput::Stream::Out)
                    file.write(piece.text);
            }
        }
        output.removeIf([](const ShellOutput &piece) { return piece.stream == ShellOutput::Stream::Out; });
    }
    result.output = output;
    return result;
}

int BoxShell::cat(const QStringList &arguments, ShellOutputs &output)
{
    int status = 0;
    for (const QString &path : arguments) {
        const auto local = m_root.localPath(path);
        const QFileInfo info(local.value_or(QString()));
        if (!local) {
            writeErr(output, utf8(QStringLiteral("cat: ") + path + QStringLiteral(": Permission denied\n")));
            status = 1;
        } else if (!info.exists()) {
            writeErr(output, utf8(QStringLiteral("cat: ") + path + QStringLiteral(": No such file or directory\n")));
            status = 1;
        } else if (info.isDir()) {
            writeErr(output, "cat: read error: Is a directory\n");
            status = 1;
        } else {
            QFile file(*local);
            if (!file.open(QIODevice::ReadOnly)) {
                writeErr(output, utf8(QStringLiteral("cat: ") + path + QStringLiteral(": Permission denied\n")));
                status = 1;
                continue;
            }
            writeOut(output, file.readAll());
        }
    }
    return status;
}

int BoxShell::chmod(const QStringList &arguments, ShellOutputs &output)
{
    if (arguments.size() < 2) {
        writeErr(output, "BusyBox v1.00 multi-call binary\n\nUsage: chmod [-R] MODE[,MODE]... FILE...\n");
        return 1;
    }
    int status = 0;
    for (const QString &path : arguments.mid(1)) {
        const auto local = m_root.localPath(path);
        if (!local || !QFileInfo::exists(*local)) {
            writeErr(output, utf8(QStringLiteral("chmod: ") + path
                                  + (local ? QStringLiteral(": No such file or directory\n")
                                           : QStringLiteral(": Permission denied\n"))));
            status = 1;
            continue;
        }
        QFileDevice::Permissions mode;
        if (!parseMode(arguments.first(), QFile::permissions(*local), mode)) {
            writeErr(output, utf8(QStringLiteral("chmod: invalid mode: ") + arguments.first() + QLatin1Char('\n')));
            return 1;
        }
        QFile::setPermissions(*local, mode);
    }
    return status;
}

int BoxShell::mount(const QStringList &arguments, ShellOutputs &output)
{
    if (arguments.isEmpty()) {
        QByteArray table = "/dev/root / cramfs ro 0 0\nproc /proc proc rw 0 0\ntmpfs /tmp tmpfs rw 0 0\n";
        if (m_state.diskMounted)
            table += utf8(diskDevice() + QLatin1Char(' ') + diskMountPoint() + QStringLiteral(" ext2 rw 0 0\n"));
        writeOut(output, table);
        return 0;
    }
    const QStringList operands = arguments.filter(QRegularExpression(QStringLiteral("^[^-]")));
    if (operands.size() != 2) {
        writeErr(output, "BusyBox v1.00 multi-call binary\n\nUsage: mount [flags] DEVICE NODE [-o options,...]\n");
        return 1;
    }
    const QString &device = operands.at(0);
    const QString &folder = operands.at(1);
    const auto deviceLocal = m_root.localPath(device);
    const auto folderLocal = m_root.localPath(folder);
    const auto failed = [&](const QString &reason) {
        writeErr(output, utf8(QStringLiteral("mount: Mounting ") + device + QStringLiteral(" on ") + folder
                              + QStringLiteral(" failed: ") + reason + QLatin1Char('\n')));
        return 1;
    };
    if (!deviceLocal || !folderLocal)
        return failed(QStringLiteral("Permission denied"));
    if (!QFileInfo::exists(*deviceLocal) || !QFileInfo(*folderLocal).isDir())
        return failed(QStringLiteral("No such file or directory"));
    if (device != diskDevice() || QFileInfo(*folderLocal).canonicalFilePath()
                                      != QFileInfo(*m_root.localPath(diskMountPoint())).canonicalFilePath())
        return failed(QStringLiteral("Invalid argument"));
    if (m_state.diskMounted)
        return failed(QStringLiteral("Device or resource busy"));
    m_state.diskMounted = true;
    return 0;
}

int BoxShell::umount(const QStringList &arguments, ShellOutputs &output)
{
    if (arguments.isEmpty()) {
        writeErr(output, "BusyBox v1.00 multi-call binary\n\nUsage: umount [flags] FILESYSTEM|DIRECTORY\n");
        return 1;
    }
    const QString &target = arguments.last();
    if (!m_state.diskMounted || (target != diskDevice() && target != diskMountPoint())) {
        writeErr(output, utf8(QStringLiteral("umount: Couldn't umount ") + target + QStringLiteral(": Invalid argument\n")));
        return 1;
    }
    m_state.diskMounted = false;
    return 0;
}

int BoxShell::hdparm(const QStringList &arguments, ShellOutputs &output)
{
    int standby = -1;
    QStringList devices;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("-S") && i + 1 < arguments.size())
            standby = arguments.at(++i).toInt();
        else if (a.startsWith(QLatin1String("-S")))
            standby = a.mid(2).toInt();
        else if (!a.startsWith(QLatin1Char('-')))
            devices.append(a);
    }
    int status = 0;
    for (const QString &device : std::as_const(devices)) {
        const auto local = m_root.localPath(device);
        if (!local || !QFileInfo::exists(*local)) {
            writeErr(output, utf8(device + QStringLiteral(": No such file or directory\n")));
            status = 1;
            continue;
        }
        QString text = QStringLiteral("\n") + device + QStringLiteral(":\n");
        if (standby >= 0) {
            QString period;
            if (standby == 0)
                period = QStringLiteral("off");
            else if (standby <= 240) {
                const int seconds = standby * 5;
                period = seconds >= 60 ? QStringLiteral("%1 minutes %2 seconds").arg(seconds / 60).arg(seconds % 60)
                                       : QStringLiteral("%1 seconds").arg(seconds);
            } else {
                period = QStringLiteral("%1 minutes").arg((standby - 240) * 30);
            }
            text += QStringLiteral(" setting standby to %1 (%2)\n").arg(standby).arg(period);
        }
        writeOut(output, utf8(text));
    }
    return status;
}
