#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The folder on this PC that stands for the box's file system. Box paths are
// absolute ("/dev/mtd/3"); relative ones count from "/", the shell's working
// folder. A path with a ".." component, or one that leads out of the root
// through a link, is refused.
class BoxRoot {
public:
    explicit BoxRoot(const QString &folder);

    const QString &folder() const { return m_folder; }

    // Local path of a box path, or nothing when the path is refused.
    std::optional<QString> localPath(const QString &boxPath) const;

    // Creates the box's folders and those of its files that are missing.
    bool populate(QString *error) const;

private:
    QString m_folder;
};
