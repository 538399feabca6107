#include "discovery/segmentprefix.h"

std::optional<QString> segmentPrefix(const QString &pcAddress)
{
    qsizetype from = 0;
    for (int field = 0; field < 3; ++field) {
        const qsizetype dot = pcAddress.indexOf(u'.', from);
        if (dot < 0)
            return std::nullopt;
        from = dot + 1;
    }
    return pcAddress.left(from);
}

QString broadcastAddress(const QString &prefix)
{
    return prefix + u"255";
}
