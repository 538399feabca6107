#include "fcp/fcpresource.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The embedded flash writer must be a program the box can run: a 32-bit
// big-endian PowerPC executable, and really mtd-utils' flashcp.
class TestFcpResource : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void isBigEndianPowerPcExecutable();
    void runsAndPrintsItsVersion();
};

namespace {

quint16 bigEndian16(const QByteArray &bytes, int offset)
{
    return quint16((quint8(bytes.at(offset)) << 8) | quint8(bytes.at(offset + 1)));
}

} // namespace

void TestFcpResource::isBigEndianPowerPcExecutable()
{
    const QByteArray elf = FcpResource::bytes();
    QVERIFY2(elf.size() > 52, "the resource :/FCP is missing or too short");
    QCOMPARE(elf.left(4), QByteArray("\x7f" "ELF"));
    QCOMPARE(int(elf.at(4)), 1); // ELFCLASS32
    QCOMPARE(int(elf.at(5)), 2); // ELFDATA2MSB
    QCOMPARE(bigEndian16(elf, 16), quint16(2));  // ET_EXEC
    QCOMPARE(bigEndian16(elf, 18), quint16(20)); // EM_PPC
}

void TestFcpResource::runsAndPrintsItsVersion()
{
    const QString qemu = QStandardPaths::findExecutable(QStringLiteral("qemu-ppc-static"));
    QVERIFY2(!qemu.isEmpty(), "qemu-ppc-static not found (package qemu-user-static)");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fcp = dir.filePath(QStringLiteral("fcp"));
    QVERIFY(QFile::copy(FcpResource::path(), fcp));
    QVERIFY(QFile::setPermissions(fcp, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QProcess process;
    process.start(qemu, {fcp, QStringLiteral("--version")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    const QString output = QString::fromLatin1(process.readAllStandardOutput());
    QVERIFY2(output.startsWith(QStringLiteral("flashcp (mtd-utils) ")), qPrintable(output));
}

QTEST_GUILESS_MAIN(TestFcpResource)
#include "test_fcp_resource.moc"
