#include "boxsegment.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace {

QString ipProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("ip"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                                                                  QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
}

} // namespace

BoxSegment::BoxSegment(Options options)
{
    const QString id = QString::number(QCoreApplication::applicationPid());
    m_pc = u"bwdisc" + id + u"pc";
    m_box = u"bwdisc" + id + u"box";
    const QString pcLink = u"bwd" + id + u"p";
    const QString boxLink = u"bwd" + id + u"b";

    if (::geteuid() != 0) {
        m_failure = QStringLiteral("needs root to create network namespaces");
        return;
    }
    if (ipProgram().isEmpty()) {
        m_failure = QStringLiteral("the ip program (iproute2) is not installed");
        return;
    }
    const QString echoIgnore = u"echo " + QString::number(options.boxAnswersBroadcastEcho ? 0 : 1) +
                               u" > /proc/sys/net/ipv4/icmp_echo_ignore_broadcasts";
    const QString pingGroups = options.pcAllowsUnprivilegedEcho ? QStringLiteral("0 2147483647") : QStringLiteral("1 0");
    const QString pingRange = u"echo '" + pingGroups + u"' > /proc/sys/net/ipv4/ping_group_range";
    QList<QStringList> steps{
        {QStringLiteral("netns"), QStringLiteral("add"), m_pc},
        {QStringLiteral("netns"), QStringLiteral("add"), m_box},
    };
    if (options.pcHasIdleLinkFirst) {
        const QString idleLink = u"bwd" + id + u"i";
        steps.append(QList<QStringList>{
            {QStringLiteral("-n"), m_pc, QStringLiteral("link"), QStringLiteral("add"), idleLink,
             QStringLiteral("type"), QStringLiteral("veth"), QStringLiteral("peer"), QStringLiteral("name"),
             idleLink + u"x"},
            {QStringLiteral("-n"), m_pc, QStringLiteral("addr"), QStringLiteral("add"),
             QStringLiteral("10.233.66.1/24"), QStringLiteral("dev"), idleLink},
            {QStringLiteral("-n"), m_pc, QStringLiteral("link"), QStringLiteral("set"), idleLink, QStringLiteral("up")},
        });
    }
    steps.append(QList<QStringList>{
        {QStringLiteral("link"), QStringLiteral("add"), pcLink, QStringLiteral("netns"), m_pc, QStringLiteral("type"),
         QStringLiteral("veth"), QStringLiteral("peer"), QStringLiteral("name"), boxLink, QStringLiteral("netns"), m_box},
        {QStringLiteral("-n"), m_box, QStringLiteral("link"), QStringLiteral("set"), boxLink, QStringLiteral("address"),
         QStringLiteral("ba:dd:ad:4d:00:32")},
        {QStringLiteral("-n"), m_box, QStringLiteral("addr"), QStringLiteral("add"), QStringLiteral("10.233.77.50/24"),
         QStringLiteral("dev"), boxLink},
        {QStringLiteral("netns"), QStringLiteral("exec"), m_box, QStringLiteral("sh"), QStringLiteral("-c"), echoIgnore},
        {QStringLiteral("-n"), m_box, QStringLiteral("link"), QStringLiteral("set"), boxLink, QStringLiteral("up")},
        {QStringLiteral("-n"), m_pc, QStringLiteral("addr"), QStringLiteral("add"), QStringLiteral("10.233.77.1/24"),
         QStringLiteral("dev"), pcLink},
        {QStringLiteral("netns"), QStringLiteral("exec"), m_pc, QStringLiteral("sh"), QStringLiteral("-c"), pingRange},
        {QStringLiteral("-n"), m_pc, QStringLiteral("link"), QStringLiteral("set"), pcLink, QStringLiteral("up")},
        {QStringLiteral("-n"), m_pc, QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("lo"),
         QStringLiteral("up")},
    });
    for (const QStringList &step : steps) {
        if (!run(step)) {
            m_failure = u"\"ip " + step.join(u' ') + u"\" failed; network namespaces are not available here";
            return;
        }
    }
}

BoxSegment::~BoxSegment()
{
    run({QStringLiteral("netns"), QStringLiteral("delete"), m_pc});
    run({QStringLiteral("netns"), QStringLiteral("delete"), m_box});
}

QString BoxSegment::pcNeighbourTable() const
{
    QProcess ip;
    ip.start(ipProgram(), {QStringLiteral("-n"), m_pc, QStringLiteral("-4"), QStringLiteral("neigh"),
                           QStringLiteral("show")});
    ip.waitForFinished(30000);
    return QString::fromLocal8Bit(ip.readAllStandardOutput());
}

bool BoxSegment::run(const QStringList &arguments)
{
    QProcess ip;
    ip.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ip.start(ipProgram(), arguments);
    return ip.waitForFinished(30000) && ip.exitStatus() == QProcess::NormalExit && ip.exitCode() == 0;
}

NamespaceVisit::NamespaceVisit(const QString &name)
{
    m_home = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    const int target = ::open(qPrintable(u"/run/netns/" + name), O_RDONLY | O_CLOEXEC);
    m_entered = m_home >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0;
    if (target >= 0)
        ::close(target);
}

NamespaceVisit::~NamespaceVisit()
{
    if (m_entered && ::setns(m_home, CLONE_NEWNET) != 0)
        qFatal("could not return to the test's own network namespace");
    if (m_home >= 0)
        ::close(m_home);
}
