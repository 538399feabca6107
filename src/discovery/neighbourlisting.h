#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One box of the family found in the system's neighbour table.
struct FoundBox {
    QString address;
    QString hardwareAddress; // as the Windows listing writes it: "ba-dd-ad-01-02-03"

    friend bool operator==(const FoundBox &, const FoundBox &) = default;
};

// The box family's hardware addresses begin with "ba-dd-ad", compared
// exactly: lower case with dashes.
bool isBoxHardwareAddress(const QString &hardwareAddress);

// The lines of "arp -a" on Windows. The first line is never examined (the
// listing begins with an empty one); in every other line the first field is
// the address and the second the hardware address. Only blanks separate the
// fields, a tab is an ordinary character. Boxes come in the listing's order.
QList<FoundBox> findBoxesInWindowsListing(const QStringList &lines);

// The lines of "ip -4 neigh show" on Linux, for example
// "192.168.1.7 dev eth0 lladdr ba:dd:ad:01:02:03 STALE". Entries whose
// resolution failed or is still going on (FAILED, INCOMPLETE) are not boxes
// that answered; the hardware address is written as Windows writes it
// before the comparison, so "BA:DD:AD:..." matches as well.
QList<FoundBox> findBoxesInLinuxListing(const QStringList &lines);

// "BA:DD:AD:01:02:03" -> "ba-dd-ad-01-02-03".
QString windowsStyleHardwareAddress(const QString &linuxHardwareAddress);
