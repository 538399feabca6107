#pragma once

#include <QString>

// Where a partition backup is saved on this computer.
struct BackupName {
    // The folder in native form, ending in its separator.
    QString folder;
    // The whole path of the image file in native form, ".img" included.
    QString file;
};

// Builds the backup's name from the inputs of the backup page: the chosen
// folder (empty: the user's home folder), the typed image name and the
// partition text. With an image name the file is that name; without it,
// "mtd" + the partition number + " " + the partition's name from the table
// line (for a text without a quoted name: its second to second-to-last
// characters). A "/" in the file name becomes a blank; the folder keeps its
// separators.
BackupName backupName(const QString &folder, const QString &imageName, const QString &partitionText,
                      const QString &homeFolder);
