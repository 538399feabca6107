#pragma once

#include <QByteArray>
#include <QList>

// One write of a program on the box, with "\n" line ends as the program
// writes them (the terminal side turns them into CR LF).
struct ShellOutput {
    enum class Stream { Out, Err };
    Stream stream = Stream::Out;
    QByteArray text;
};
using ShellOutputs = QList<ShellOutput>;

inline void writeOut(ShellOutputs &output, const QByteArray &text)
{
    output.append({ShellOutput::Stream::Out, text});
}

inline void writeErr(ShellOutputs &output, const QByteArray &text)
{
    output.append({ShellOutput::Stream::Err, text});
}
