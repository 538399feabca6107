#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

// The lines of a listing kept under tests/discovery/fixtures, read the way
// the capture file is read: one entry per line, line ends removed.
inline QStringList fixtureLines(const QString &name)
{
    QFile file(QStringLiteral(BOXWART_SOURCE_DIR "/tests/discovery/fixtures/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    QStringList lines;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        lines.append(QString::fromLatin1(line));
    }
    return lines;
}

inline QString fixturePath(const QString &name)
{
    return QStringLiteral(BOXWART_SOURCE_DIR "/tests/discovery/fixtures/") + name;
}
