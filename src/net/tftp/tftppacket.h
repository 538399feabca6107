#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// TFTP packets as they travel in UDP datagrams: plain functions that parse
// any byte string without trusting it and build the packets the server sends.
namespace Tftp {

enum class Opcode : quint16 {
    ReadRequest = 1,
    WriteRequest = 2,
    Data = 3,
    Ack = 4,
    Error = 5,
    OptionAck = 6,
};

enum class ErrorCode : quint16 {
    NotDefined = 0,
    FileNotFound = 1,
    AccessViolation = 2,
    DiskFull = 3,
    IllegalOperation = 4,
    UnknownTransferId = 5,
    FileExists = 6,
    NoSuchUser = 7,
    OptionsRefused = 8,
};

struct Option {
    QByteArray name;   // as sent; compare case-insensitively
    QByteArray value;
};

struct Request {
    Opcode opcode = Opcode::ReadRequest;  // ReadRequest or WriteRequest
    QByteArray fileName;
    QByteArray mode;   // as sent; compare case-insensitively
    QList<Option> options;
};

struct ErrorPacket {
    quint16 code = 0;
    QByteArray message;
};

// The opcode of a datagram, or nothing when it is shorter than an opcode or
// carries an opcode TFTP does not know.
std::optional<Opcode> opcodeOf(const QByteArray &datagram);

// A read or write request: file name, mode and options, each ended by a zero
// byte. Nothing when the datagram is not a well-formed request.
std::optional<Request> parseRequest(const QByteArray &datagram);

// The block number of an acknowledgement (exactly four bytes are required,
// trailing bytes are tolerated as some clients pad).
std::optional<quint16> parseAck(const QByteArray &datagram);

std::optional<ErrorPacket> parseError(const QByteArray &datagram);

QByteArray buildError(ErrorCode code, const QByteArray &message);
QByteArray buildOptionAck(const QList<Option> &options);
// A data packet's four header bytes; the payload follows them.
void writeDataHeader(char *packet, quint16 block);

} // namespace Tftp
