#include "app/language/languagefile.h"

#include <QFile>

const QList<LanguageKind> &languageKinds()
{
    static const QList<LanguageKind> kinds = {
        {QStringLiteral("german"), QStringLiteral("german.lng"), CodePage::Windows1252, DefaultFontCharset},
        {QStringLiteral("english"), QStringLiteral("english.lng"), CodePage::Windows1252, DefaultFontCharset},
        {QStringLiteral("russian"), QStringLiteral("russian.lng"), CodePage::Windows1251, 204},
        {QStringLiteral("dutch"), QStringLiteral("dutch.lng"), CodePage::Windows1252, DefaultFontCharset},
        {QStringLiteral("italian"), QStringLiteral("italian.lng"), CodePage::Windows1252, DefaultFontCharset},
        // Greek text needs the Greek character set just as Russian needs the
        // Cyrillic one.
        {QStringLiteral("greek"), QStringLiteral("greek.lng"), CodePage::Windows1253, 161},
    };
    return kinds;
}

const LanguageKind *languageKind(const QString &key)
{
    for (const LanguageKind &kind : languageKinds()) {
        if (kind.key == key)
            return &kind;
    }
    return nullptr;
}

QStringList languageLines(const QByteArray &bytes, CodePage page)
{
    QStringList lines;
    lines.reserve(LanguageLineCount);
    qsizetype start = 0;
    while (lines.size() < LanguageLineCount && start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        else if (end > start && bytes.at(end - 1) == '\r')
            --end;
        lines.append(decodeCodePage(bytes.sliced(start, end - start), page));
        start = next;
    }
    while (lines.size() < LanguageLineCount)
        lines.append(QString());
    return lines;
}

std::optional<QStringList> readLanguageFile(const QString &path, CodePage page)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return languageLines(bytes, page);
}
