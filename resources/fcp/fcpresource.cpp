#include "fcp/fcpresource.h"

#include <QFile>

namespace FcpResource {

QByteArray bytes()
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace FcpResource
