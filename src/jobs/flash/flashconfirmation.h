#pragma once

#include <QString>

// The question asked before an image is uploaded for flashing: German while
// the loaded language is German, English otherwise. Its last line names the
// image and the partition device it is about to be written to.
struct FlashConfirmation {
    QString title;
    QString text;
};

FlashConfirmation flashConfirmation(const QString &languageName, const QString &imagePath, const QString &partition);
