#include "jobs/flash/flashconfirmation.h"

#include <QDir>

FlashConfirmation flashConfirmation(const QString &languageName, const QString &imagePath, const QString &partition)
{
    const bool german = languageName.compare(QStringLiteral("german"), Qt::CaseInsensitive) == 0;
    FlashConfirmation question = german
        ? FlashConfirmation{QStringLiteral("Upload wird gestartet !"), QStringLiteral("Richtiges Image ?? Upload ??")}
        : FlashConfirmation{QStringLiteral("Starting upload !"), QStringLiteral("Checked file ?? Upload ??")};
    question.text += u'\n' + QDir::toNativeSeparators(imagePath) + QStringLiteral(" -> /dev/mtd/") + partition;
    return question;
}
