#include "boxroot.h"

#include "boxcontent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

BoxRoot::BoxRoot(const QString &folder) : m_folder(QDir(folder).absolutePath()) {}

std::optional<QString> BoxRoot::localPath(const QString &boxPath) const
{
    QStringList parts;
    for (const QString &part : boxPath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return std::nullopt;
        if (part != QLatin1String("."))
            parts.append(part);
    }
    const QString local = parts.isEmpty() ? m_folder : m_folder + QLatin1Char('/') + parts.join(QLatin1Char('/'));

    // Links may not lead out of the root: check the nearest existing folder.
    const QString canonicalRoot = QFileInfo(m_folder).canonicalFilePath();
    QString existing = local;
    while (!QFileInfo::exists(existing) && existing.size() > m_folder.size())
        existing = QFileInfo(existing).path();
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    if (canonical != canonicalRoot && !canonical.startsWith(canonicalRoot + QLatin1Char('/')))
        return std::nullopt;
    return local;
}

bool BoxRoot::populate(QString *error) const
{
    for (const QString &folder : boxFolders()) {
        if (!QDir().mkpath(m_folder + folder)) {
            *error = QStringLiteral("cannot create ") + m_folder + folder;
            return false;
        }
    }
    for (const BoxFile &file : boxFiles()) {
        const QString local = m_folder + file.path;
        if (QFileInfo::exists(local))
            continue;
        QFile out(local);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.content) != file.content.size()) {
            *error = QStringLiteral("cannot write ") + local + QStringLiteral(": ") + out.errorString();
            return false;
        }
    }
    return true;
}
