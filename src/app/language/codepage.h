#pragma once

#include <QByteArray>
#include <QString>

// The 8-bit Windows code pages the language files are written in.
enum class CodePage { Windows1251, Windows1252, Windows1253 };

QString decodeCodePage(const QByteArray &bytes, CodePage page);
// Characters the page cannot hold become '?'.
QByteArray encodeCodePage(const QString &text, CodePage page);
