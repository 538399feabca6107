#include "jobs/partitions/backupname.h"

#include "jobs/partitions/partitionnumber.h"

#include <QDir>

namespace {

QString partitionFileName(const QString &text)
{
    const QString number = PartitionNumber::of(text);
    const QString head = number.isEmpty() ? text.left(4) : QStringLiteral("mtd") + number;
    // The name between the opening quote and the line's last character.
    const qsizetype quote = text.indexOf(QStringLiteral(" \""));
    const QString tail = quote >= 0 ? text.mid(quote + 2, text.size() - quote - 3) : text.mid(1, text.size() - 2);
    return head + u' ' + tail;
}

} // namespace

BackupName backupName(const QString &folder, const QString &imageName, const QString &partitionText,
                      const QString &homeFolder)
{
    QString dir = QDir::fromNativeSeparators(folder.isEmpty() ? homeFolder : folder);
    if (!dir.endsWith(u'/'))
        dir += u'/';

    QString name = imageName.isEmpty() ? partitionFileName(partitionText) : imageName;
    name.replace(u'/', u' ');
#ifdef Q_OS_WIN
    name.replace(u'\\', u' ');
#endif
    return {QDir::toNativeSeparators(dir), QDir::toNativeSeparators(dir + name + QStringLiteral(".img"))};
}
