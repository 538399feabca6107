#include "app/language/codepage.h"

QString decodeCodePage(const QByteArray &bytes, CodePage page)
{
    Q_UNUSED(page);
    return QString::fromLatin1(bytes);
}

QByteArray encodeCodePage(const QString &text, CodePage page)
{
    Q_UNUSED(page);
    return text.toLatin1();
}
