#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

enum class JobEnd {
    None,
    FlashWriterDone,  // job "1": the flash writer's last line and the prompt
    ThirdPrompt,      // jobs "2" to "4": PromptTally has become "$$$"
};

// The flash writer's last progress line followed by the first character of
// the shell prompt.
inline constexpr QByteArrayView FlashWriterCompletion = " (100%)\r\n$";

// The end-of-job rules applied to one received text S as a whole.
// Job "1": the ten characters before the last one (all of S when it is ten
// characters or shorter) are FlashWriterCompletion.
bool flashWriterFinishedIn(QByteArrayView s);
// Jobs "2" to "4": the character the prompt rule looks at, the second-to-last
// one (the only one when S is one character long); -1 for an empty S.
qsizetype promptMarkIndex(qsizetype length);

// Applies the end-of-job rules to everything received on one connection,
// so that the end is seen wherever TCP happens to cut the box's output.
// Only a short tail of the text is kept.
class JobEndWatcher {
public:
    // Forgets the received text; called for every new connection.
    void restart();

    // Takes one chunk as received (telnet protocol removed; only the part
    // before its first NUL counts) and applies the rule of jobCode to the
    // text received so far. A "$" adds to promptTally at most once.
    JobEnd take(const QString &jobCode, QByteArrayView chunk, QString &promptTally);

    // Characters received since the last restart.
    qint64 receivedLength() const { return m_length; }

private:
    QByteArray m_tail;        // the last characters of the received text
    qint64 m_length = 0;      // length of the whole received text
    qint64 m_lastCounted = -1; // position of the last "$" added to the tally
};
