#pragma once

#include "discovery/neighbourlisting.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The command that lists the system's neighbour table.
struct ListingCommand {
    QString workingFolder;
    QString program;
    QString parameters;
};

// What the box search needs of the operating system: one ICMP echo, the
// command that lists the neighbour table, and the rules that read that
// listing. Each platform has its own.
class NeighbourSource {
public:
    virtual ~NeighbourSource() = default;

    // Sends one echo request to `address` and waits for a reply for at most
    // `timeoutMs`; the outcome does not matter.
    virtual void sendBroadcastEcho(const QString &address, int timeoutMs) = 0;
    virtual ListingCommand listingCommand() const = 0;
    virtual QList<FoundBox> findBoxes(const QStringList &listing) const = 0;
};

// The source of the platform the program runs on, or the one a test put in
// its place.
std::shared_ptr<NeighbourSource> makeNeighbourSource();

std::shared_ptr<NeighbourSource> makePlatformNeighbourSource();

// Tests hand in a source of their own; an empty function restores the
// platform's.
void setNeighbourSourceForTesting(std::function<std::shared_ptr<NeighbourSource>()> factory);
