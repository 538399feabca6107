#include "flashwriter.h"

#include "partitiontable.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr qint64 kBufferSize = 10 * 1024;

qint64 kb(qint64 bytes)
{
    return bytes / 1024;
}

qint64 percentage(qint64 part, qint64 total)
{
    return part * 100 / total;
}

QByteArray text(const QString &s)
{
    return s.toUtf8();
}

int usage(ShellOutputs &output, bool error)
{
    const QByteArray usageText = "\n"
                                 "Flash Copy - Written by Abraham van der Merwe <abraham@2d3d.co.za>\n"
                                 "\n"
                                 "usage: flashcp [ -v | --verbose | -A | --erase-all ] <filename> <device>\n"
                                 "       flashcp -h | --help\n"
                                 "       flashcp -V | --version\n"
                                 "\n"
                                 "   -h | --help      Show this help message\n"
                                 "   -v | --verbose   Show progress reports\n"
                                 "   -p | --partition Only copy different block from file to device\n"
                                 "   -A | --erase-all Erases the whole device regardless of the image size\n"
                                 "   -V | --version   Show version information and exit\n"
                                 "   <filename>       File which you want to copy to flash\n"
                                 "   <device>         Flash device to write to (e.g. /dev/mtd0, /dev/mtd1, etc.)\n"
                                 "\n";
    if (error)
        writeErr(output, usageText);
    else
        writeOut(output, usageText);
    return error ? 1 : 0;
}

// The partition a device path names: "/dev/mtd/3" or "/dev/mtd3".
std::optional<int> partitionNumber(const QString &device)
{
    static const QRegularExpression pattern(QStringLiteral("^/dev/mtd/?(\\d+)$"));
    const auto match = pattern.match(device);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

struct Options {
    bool verbose = false;
    bool help = false;
    bool eraseAll = false;
    bool partitionMode = false; // -p: the program never uses it; copied like a plain run
    bool version = false;
    bool bad = false;
    QStringList positional;
};

// getopt_long with flashcp's options; options and operands may be mixed.
Options parseOptions(const QStringList &arguments)
{
    Options o;
    bool operandsOnly = false;
    for (const QString &a : arguments) {
        if (operandsOnly || a == QLatin1String("-") || !a.startsWith(QLatin1Char('-'))) {
            o.positional.append(a);
        } else if (a == QLatin1String("--")) {
            operandsOnly = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            const QString name = a.mid(2);
            if (name == QLatin1String("help"))
                o.help = true;
            else if (name == QLatin1String("verbose"))
                o.verbose = true;
            else if (name == QLatin1String("partition"))
                o.partitionMode = true;
            else if (name == QLatin1String("erase-all"))
                o.eraseAll = true;
            else if (name == QLatin1String("version"))
                o.version = true;
            else
                o.bad = true;
        } else {
            for (const QChar c : a.mid(1)) {
                switch (c.unicode()) {
                case 'h': o.help = true; break;
                case 'v': o.verbose = true; break;
                case 'p': o.partitionMode = true; break;
                case 'A': o.eraseAll = true; break;
                case 'V': o.version = true; break;
                default: o.bad = true;
                }
            }
        }
    }
    return o;
}

QByteArray openError(const QString &path, const char *access, const QString &reason)
{
    return text(QStringLiteral("While trying to open ") + path + QLatin1String(access) + QStringLiteral(": ")
                + reason + QLatin1Char('\n'));
}

} // namespace

int runFlashWriter(const BoxRoot &root, const QStringList &arguments, ShellOutputs &output)
{
    const Options options = parseOptions(arguments);
    if (options.bad)
        return usage(output, true);
    if (options.version) {
        writeOut(output, "flashcp (mtd-utils) 2.1.5\n");
        return 0;
    }
    const bool haveOperands = options.positional.size() == 2;
    if (options.help || !haveOperands)
        return usage(output, !(options.help && !options.verbose && !options.eraseAll && !options.partitionMode
                               && !haveOperands));
    const QString filename = options.positional.at(0);
    const QString device = options.positional.at(1);

    // The device is opened first, then asked for its geometry, then the file.
    const auto deviceLocal = root.localPath(device);
    if (!deviceLocal) {
        writeErr(output, openError(device, " for read/write access", QStringLiteral("Permission denied")));
        return 1;
    }
    const QFileInfo deviceInfo(*deviceLocal);
    if (!deviceInfo.exists()) {
        writeErr(output, openError(device, " for read/write access", QStringLiteral("No such file or directory")));
        return 1;
    }
    if (deviceInfo.isDir()) {
        writeErr(output, openError(device, " for read/write access", QStringLiteral("Is a directory")));
        return 1;
    }
    std::optional<BoxPartition> partition;
    if (const auto number = partitionNumber(device)) {
        if (const auto table = root.localPath(QStringLiteral("/proc/mtd"))) {
            QFile tableFile(*table);
            if (tableFile.open(QIODevice::ReadOnly))
                partition = findPartition(parsePartitionTable(tableFile.readAll()), *number);
        }
    }
    if (!partition) {
        writeErr(output, "This doesn't seem to be a valid MTD flash device!\n");
        return 1;
    }

    // O_RDONLY is 0, so flashcp names no access mode for the image.
    const auto fileLocal = root.localPath(filename);
    if (!fileLocal) {
        writeErr(output, openError(filename, "", QStringLiteral("Permission denied")));
        return 1;
    }
    QFile image(*fileLocal);
    if (!QFileInfo::exists(*fileLocal)) {
        writeErr(output, openError(filename, "", QStringLiteral("No such file or directory")));
        return 1;
    }
    const bool imageIsFolder = QFileInfo(*fileLocal).isDir();
    if (!imageIsFolder && !image.open(QIODevice::ReadOnly)) {
        writeErr(output, openError(filename, "", QStringLiteral("Permission denied")));
        return 1;
    }
    const QByteArray source = imageIsFolder ? QByteArray() : image.readAll();
    const qint64 size = imageIsFolder ? 4096 : source.size();
    if (size > partition->size) {
        writeErr(output, text(filename + QStringLiteral(" won't fit into ") + device + QStringLiteral("!\n")));
        return 1;
    }
    QFile flash(*deviceLocal);
    if (!flash.open(QIODevice::ReadWrite)) {
        writeErr(output, openError(device, " for read/write access", flash.errorString()));
        return 1;
    }
    QByteArray content = flash.readAll();
    if (content.size() < qsizetype(partition->size))
        content.append(QByteArray(qsizetype(partition->size) - content.size(), char(0xff)));
    const bool verbose = options.verbose;
    const qint64 eraseSize = partition->eraseSize;

    // Erase: whole blocks, enough for the image (or all with -A).
    const qint64 eraseLength =
        options.eraseAll ? qint64(partition->size) : (size + eraseSize - 1) / eraseSize * eraseSize;
    const qint64 blocks = eraseLength / eraseSize;
    if (verbose) {
        writeOut(output, text(QStringLiteral("Erasing blocks: 0/%1 (0%)").arg(blocks)));
        for (qint64 i = 1; i <= blocks; ++i)
            writeOut(output,
                     text(QStringLiteral("\rErasing blocks: %1/%2 (%3%)").arg(i).arg(blocks).arg(percentage(i, blocks))));
        writeOut(output, text(QStringLiteral("\rErasing blocks: %1/%1 (100%)\n").arg(blocks)));
    }
    content.replace(0, qsizetype(qMin<qint64>(eraseLength, content.size())),
                    QByteArray(qsizetype(qMin<qint64>(eraseLength, content.size())), char(0xff)));

    // Write in flashcp's 10 KiB steps.
    const auto progress = [&](const char *phase) {
        if (verbose)
            writeOut(output, text(QLatin1String(phase) + QStringLiteral(": 0k/%1k (0%)").arg(kb(size))));
        for (qint64 done = 0; done < size;) {
            const qint64 step = qMin(kBufferSize, size - done);
            if (verbose)
                writeOut(output, text(QLatin1Char('\r') + QLatin1String(phase)
                                      + QStringLiteral(": %1k/%2k (%3%)")
                                            .arg(kb(done + step))
                                            .arg(kb(size))
                                            .arg(percentage(done + step, size))));
            if (imageIsFolder) {
                if (verbose)
                    writeOut(output, "\n");
                writeErr(output, text(QStringLiteral("While reading data from ") + filename
                                      + QStringLiteral(": Is a directory\n")));
                return false;
            }
            done += step;
        }
        if (verbose)
            writeOut(output, text(QStringLiteral("\r") + QLatin1String(phase)
                                  + QStringLiteral(": %1k/%1k (100%)\n").arg(kb(size))));
        return true;
    };
    if (!progress("Writing data"))
        return 1;
    content.replace(0, source.size(), source);
    if (!flash.seek(0) || flash.write(content) != content.size() || !flash.flush()) {
        writeErr(output, text(QStringLiteral("While writing data to 0x00000000-0x%1 on %2: %3\n")
                                  .arg(qMin(kBufferSize, size), 8, 16, QLatin1Char('0'))
                                  .arg(device, flash.errorString())));
        return 1;
    }
    flash.close();

    if (!progress("Verifying data"))
        return 1;
    QFile check(*deviceLocal);
    const QByteArray written = check.open(QIODevice::ReadOnly) ? check.read(size) : QByteArray();
    for (qint64 at = 0; at < size; at += kBufferSize) {
        const qint64 step = qMin(kBufferSize, size - at);
        if (written.mid(at, step) != source.mid(at, step)) {
            writeErr(output, text(QStringLiteral("File does not seem to match flash data. First mismatch at 0x%1-0x%2\n")
                                      .arg(at, 8, 16, QLatin1Char('0'))
                                      .arg(at + step, 8, 16, QLatin1Char('0'))));
            return 1;
        }
    }
    return 0;
}
