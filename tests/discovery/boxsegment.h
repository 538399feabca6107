#pragma once

#include <QString>

// Two network namespaces of the test's own, joined by a veth pair: "pc"
// holds 10.233.77.1/24, "box" holds 10.233.77.50/24 with a hardware address
// of the box family and, unless told otherwise, ignores echoes to the
// broadcast address, as every Linux box does. Nothing of it touches the machine's own network; both
// namespaces are deleted with the object.
class BoxSegment {
public:
    struct Options {
        bool boxAnswersBroadcastEcho = false;
        bool pcAllowsUnprivilegedEcho = false; // net.ipv4.ping_group_range open to every group
        // Before its link to the box the pc gets one that is up without a
        // carrier, holding 10.233.66.1/24.
        bool pcHasIdleLinkFirst = false;
    };

    static constexpr const char *pcAddress = "10.233.77.1";
    static constexpr const char *boxAddress = "10.233.77.50";
    static constexpr const char *boxHardwareAddress = "ba-dd-ad-4d-00-32";

    explicit BoxSegment(Options options);
    BoxSegment() : BoxSegment(Options{}) {}
    ~BoxSegment();
    BoxSegment(const BoxSegment &) = delete;
    BoxSegment &operator=(const BoxSegment &) = delete;

    // Empty when the segment stands; otherwise why it could not be built
    // (not root, no "ip netns", ...).
    QString failure() const { return m_failure; }

    // The pc namespace's neighbour table as "ip -4 neigh show" lists it.
    QString pcNeighbourTable() const;

    QString pcNamespace() const { return m_pc; }

private:
    bool run(const QStringList &arguments);

    QString m_pc;
    QString m_box;
    QString m_failure;
};

// While it lives, the calling thread (and every thread and process it
// starts) works in the named network namespace; then it returns.
class NamespaceVisit {
public:
    explicit NamespaceVisit(const QString &name);
    ~NamespaceVisit();
    NamespaceVisit(const NamespaceVisit &) = delete;
    NamespaceVisit &operator=(const NamespaceVisit &) = delete;

    bool entered() const { return m_entered; }

private:
    int m_home = -1;
    bool m_entered = false;
};
