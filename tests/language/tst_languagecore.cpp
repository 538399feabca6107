#include "app/language/codepage.h"
#include "app/language/languagefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CodePage)

class LanguageCoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decodesKnownCharacters_data();
    void decodesKnownCharacters();
    void everyDefinedByteSurvivesEncoding_data();
    void everyDefinedByteSurvivesEncoding();
    void encodesUnknownCharactersAsQuestionMark();
    void splitsIntoExactlyTheLineCount_data();
    void splitsIntoExactlyTheLineCount();
    void shippedFileIsCleanAndComplete_data();
    void shippedFileIsCleanAndComplete();
    void missingFileReadsAsNothing();
    void languageKeysAreExact();
};

void LanguageCoreTest::decodesKnownCharacters_data()
{
    QTest::addColumn<CodePage>("page");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("german umlauts") << CodePage::Windows1252 << QByteArray("\xe4\xf6\xfc\xdf\xc4") << u"äöüßÄ"_s;
    QTest::newRow("1252 euro and quotes") << CodePage::Windows1252 << QByteArray("\x80\x93\x94") << u"€“”"_s;
    QTest::newRow("cyrillic") << CodePage::Windows1251 << QByteArray("\xd4\xe0\xe9\xeb \xb8\xa8") << u"Файл ёЁ"_s;
    QTest::newRow("1251 guillemets") << CodePage::Windows1251 << QByteArray("\xab\xbb\x97") << u"«»—"_s;
    QTest::newRow("greek with tonos") << CodePage::Windows1253 << QByteArray("\xc1\xf1\xf7\xe5\xdf\xef \xb8")
                                      << u"Αρχείο Έ"_s;
    QTest::newRow("ascii is ascii") << CodePage::Windows1253 << QByteArray("Vexa 1.0\t|") << u"Vexa 1.0\t|"_s;
    QTest::newRow("undefined 1252 byte") << CodePage::Windows1252 << QByteArray("a\x81z") << u"a\uFFFDz"_s;
    QTest::newRow("undefined 1251 byte") << CodePage::Windows1251 << QByteArray("\x98") << u"\uFFFD"_s;
    QTest::newRow("undefined 1253 byte") << CodePage::Windows1253 << QByteArray("\xd2\xff") << u"\uFFFD\uFFFD"_s;
}

void LanguageCoreTest::decodesKnownCharacters()
{
    QFETCH(CodePage, page);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeCodePage(bytes, page), text);
}

void LanguageCoreTest::everyDefinedByteSurvivesEncoding_data()
{
    QTest::addColumn<CodePage>("page");
    QTest::newRow("1251") << CodePage::Windows1251;
    QTest::newRow("1252") << CodePage::Windows1252;
    QTest::newRow("1253") << CodePage::Windows1253;
}

void LanguageCoreTest::everyDefinedByteSurvivesEncoding()
{
    QFETCH(CodePage, page);
    for (int value = 0; value < 256; ++value) {
        const QByteArray byte(1, char(value));
        const QString decoded = decodeCodePage(byte, page);
        QCOMPARE(decoded.size(), 1);
        if (decoded.at(0) == QChar(0xFFFD))
            continue;
        QCOMPARE(encodeCodePage(decoded, page), byte);
    }
}

void LanguageCoreTest::encodesUnknownCharactersAsQuestionMark()
{
    QCOMPARE(encodeCodePage(u"Aж€"_s, CodePage::Windows1252), QByteArray("A?\x80"));
    QCOMPARE(encodeCodePage(u"äж"_s, CodePage::Windows1251), QByteArray("?\xe6"));
    QCOMPARE(encodeCodePage(u"Ωä\uFFFD"_s, CodePage::Windows1253), QByteArray("\xd9??"));
}

void LanguageCoreTest::splitsIntoExactlyTheLineCount_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("leading");

    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("crlf and lf mixed") << QByteArray("a\r\nb\nc\r\n") << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("last line without break") << QByteArray("a\r\nlast") << QStringList{u"a"_s, u"last"_s};
    QTest::newRow("empty lines kept") << QByteArray("\r\n\nx") << QStringList{QString(), QString(), u"x"_s};
    QTest::newRow("trailing blank kept") << QByteArray("Fehler: \r\n") << QStringList{u"Fehler: "_s};
    QTest::newRow("lone cr stays in text") << QByteArray("a\rb\n") << QStringList{u"a\rb"_s};
    QByteArray longFile;
    QStringList all;
    for (int line = 1; line <= 90; ++line) {
        longFile += QByteArray::number(line) + "\r\n";
        if (line <= LanguageLineCount)
            all.append(QString::number(line));
    }
    QTest::newRow("lines after 78 ignored") << longFile << all;
}

void LanguageCoreTest::splitsIntoExactlyTheLineCount()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, leading);
    const QStringList lines = languageLines(bytes, CodePage::Windows1252);
    QCOMPARE(lines.size(), LanguageLineCount);
    QCOMPARE(lines.mid(0, leading.size()), leading);
    for (qsizetype i = leading.size(); i < lines.size(); ++i)
        QVERIFY2(lines.at(i).isEmpty(), qPrintable(QString::number(i + 1)));
}

void LanguageCoreTest::shippedFileIsCleanAndComplete_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("helpFolder");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("errorPrefix");
    QTest::newRow("german") << u"german"_s << u"ger"_s << u"Datei"_s << u"Fehler: "_s;
    QTest::newRow("english") << u"english"_s << u"eng"_s << u"File"_s << u"Error: "_s;
    QTest::newRow("russian") << u"russian"_s << u"rus"_s << u"Файл"_s << u"Ошибка: "_s;
    QTest::newRow("dutch") << u"dutch"_s << u"ned"_s << u"Bestand"_s << u"Fout: "_s;
    QTest::newRow("italian") << u"italian"_s << u"ita"_s << u"File"_s << u"Errore: "_s;
    QTest::newRow("greek") << u"greek"_s << u"gre"_s << u"Αρχείο"_s << u"Σφάλμα: "_s;
}

void LanguageCoreTest::shippedFileIsCleanAndComplete()
{
    QFETCH(QString, key);
    QFETCH(QString, helpFolder);
    QFETCH(QString, firstLine);
    QFETCH(QString, errorPrefix);

    const LanguageKind *kind = languageKind(key);
    QVERIFY(kind);
    QFile file(QStringLiteral(BOXWART_SOURCE_DIR "/resources/languages/") + kind->fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    // 78 lines, each ended by CR LF, nothing after the last one.
    QCOMPARE(bytes.count("\r\n"), LanguageLineCount);
    QCOMPARE(bytes.count('\n'), LanguageLineCount);
    QVERIFY(bytes.endsWith("\r\n"));

    const QString text = decodeCodePage(bytes, kind->codePage);
    QVERIFY(!text.contains(QChar(0xFFFD)));
    QCOMPARE(encodeCodePage(text, kind->codePage), bytes);
    for (const QChar ch : text) {
        const bool control = ch.unicode() < 0x20 || (ch.unicode() >= 0x7F && ch.unicode() < 0xA0);
        QVERIFY2(!control || ch == u'\r' || ch == u'\n', qPrintable(u"control character U+%1"_s.arg(ch.unicode(), 4, 16)));
    }

    const QStringList lines = languageLines(bytes, kind->codePage);
    QCOMPARE(lines.first(), firstLine);
    QCOMPARE(lines.at(19), u"https://boxwart.example.org/anleitung/"_s + helpFolder + u"/html/softup-html.html"_s);
    QCOMPARE(lines.at(42), errorPrefix);
    for (const int line : {1, 2, 3, 7, 11, 41, 42, 44, 46, 47, 48, 49, 50, 55, 77, 78})
        QVERIFY2(!lines.at(line - 1).trimmed().isEmpty(), qPrintable(u"line %1 is empty"_s.arg(line)));

    // Captions are in the language's own script, not in transliteration.
    const auto scriptLetters = [&lines](QChar::Script script) {
        int count = 0;
        for (const QString &line : lines) {
            for (const QChar ch : line)
                count += ch.script() == script ? 1 : 0;
        }
        return count;
    };
    if (key == u"russian"_s)
        QVERIFY(scriptLetters(QChar::Script_Cyrillic) > 500);
    else if (key == u"greek"_s)
        QVERIFY(scriptLetters(QChar::Script_Greek) > 500);
    else
        QCOMPARE(scriptLetters(QChar::Script_Cyrillic) + scriptLetters(QChar::Script_Greek), 0);
}

void LanguageCoreTest::missingFileReadsAsNothing()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(!readLanguageFile(folder.filePath(u"german.lng"_s), CodePage::Windows1252));
    // A folder in the file's place cannot be read as a file either.
    QVERIFY(QDir(folder.path()).mkdir(u"english.lng"_s));
    QVERIFY(!readLanguageFile(folder.filePath(u"english.lng"_s), CodePage::Windows1252));
}

void LanguageCoreTest::languageKeysAreExact()
{
    QCOMPARE(languageKinds().size(), 6);
    QVERIFY(languageKind(u"russian"_s));
    QCOMPARE(languageKind(u"russian"_s)->fontCharset, 204);
    QCOMPARE(languageKind(u"german"_s)->fontCharset, DefaultFontCharset);
    QVERIFY(!languageKind(u"Russian"_s));
    QVERIFY(!languageKind(QString()));
    QVERIFY(!languageKind(u"deutsch"_s));
}

QTEST_GUILESS_MAIN(LanguageCoreTest)
#include "tst_languagecore.moc"
