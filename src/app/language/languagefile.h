#pragma once

#include "app/language/codepage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// A language file holds this many positional lines; line N always feeds the
// same targets.
inline constexpr int LanguageLineCount = 78;

struct LanguageKind {
    QString key;       // the value of LanguageName and of the "language" setting
    QString fileName;  // the file in the language folder
    CodePage codePage; // the 8-bit code page the file is written in
    int fontCharset;   // the window font's character set while it is loaded
};

// The window font's character set when no other is needed.
inline constexpr int DefaultFontCharset = 1;

// The six languages in menu order: german, english, russian, dutch,
// italian, greek.
const QList<LanguageKind> &languageKinds();

// nullptr for a key that is none of the six (comparison is exact).
const LanguageKind *languageKind(const QString &key);

// Splits a file's bytes into exactly LanguageLineCount texts: lines end with
// CR LF or LF alone, lines beyond the last are ignored, missing lines are
// empty.
QStringList languageLines(const QByteArray &bytes, CodePage page);

// The file's texts, or nothing when it cannot be opened or read.
std::optional<QStringList> readLanguageFile(const QString &path, CodePage page);
