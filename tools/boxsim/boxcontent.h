#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What a freshly set-up box holds: its folders, its partitions and the files
// the program reads from it.

struct BoxPartition {
    int number;
    quint32 size;
    quint32 eraseSize;
    QString name;
};

struct BoxFile {
    QString path; // box path
    QByteArray content;
};

// The device the box mounts its hard disk from, at "/mnt/hd".
inline QString diskDevice()
{
    return QStringLiteral("/dev/ide/host0/bus0/target0/lun0/disc");
}
inline QString diskMountPoint()
{
    return QStringLiteral("/mnt/hd");
}

QList<BoxPartition> boxPartitions();
QStringList boxFolders();
QList<BoxFile> boxFiles();

// Content of a partition as the box is delivered with: a line naming the
// partition, then a byte pattern of its own.
QByteArray partitionContent(const BoxPartition &partition);
