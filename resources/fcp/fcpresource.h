#pragma once

#include <QByteArray>
#include <QString>

// The flash writer that is uploaded to the box before every flash job.
namespace FcpResource {

inline QString path()
{
    return QStringLiteral(":/FCP");
}

// The executable's bytes; empty when the resource is missing.
QByteArray bytes();

} // namespace FcpResource
