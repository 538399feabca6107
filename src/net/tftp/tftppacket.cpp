#include "net/tftp/tftppacket.h"

namespace Tftp {

namespace {

quint16 readWord(const QByteArray &bytes, qsizetype at)
{
    return quint16((quint8(bytes[at]) << 8) | quint8(bytes[at + 1]));
}

void appendWord(QByteArray &bytes, quint16 word)
{
    bytes.append(char(word >> 8));
    bytes.append(char(word & 0xff));
}

// Reads a zero-terminated field starting at `at`; moves `at` past the zero.
std::optional<QByteArray> takeField(const QByteArray &bytes, qsizetype &at)
{
    const qsizetype end = bytes.indexOf('\0', at);
    if (end < 0)
        return std::nullopt;
    QByteArray field = bytes.mid(at, end - at);
    at = end + 1;
    return field;
}

} // namespace

std::optional<Opcode> opcodeOf(const QByteArray &datagram)
{
    if (datagram.size() < 2)
        return std::nullopt;
    const quint16 code = readWord(datagram, 0);
    if (code < quint16(Opcode::ReadRequest) || code > quint16(Opcode::OptionAck))
        return std::nullopt;
    return Opcode(code);
}

std::optional<Request> parseRequest(const QByteArray &datagram)
{
    const auto opcode = opcodeOf(datagram);
    if (opcode != Opcode::ReadRequest && opcode != Opcode::WriteRequest)
        return std::nullopt;
    Request request;
    request.opcode = *opcode;
    qsizetype at = 2;
    const auto fileName = takeField(datagram, at);
    const auto mode = fileName ? takeField(datagram, at) : std::nullopt;
    if (!fileName || !mode || fileName->isEmpty() || mode->isEmpty())
        return std::nullopt;
    request.fileName = *fileName;
    request.mode = *mode;
    // Options come in name/value pairs. Some clients pad the datagram with
    // zero bytes; a name without its value makes the request malformed.
    while (at < datagram.size()) {
        const auto name = takeField(datagram, at);
        if (!name)
            return std::nullopt;
        if (name->isEmpty()) {
            if (datagram.mid(at).count('\0') != datagram.size() - at)
                return std::nullopt;
            break;
        }
        const auto value = takeField(datagram, at);
        if (!value)
            return std::nullopt;
        request.options.append({*name, *value});
    }
    return request;
}

std::optional<quint16> parseAck(const QByteArray &datagram)
{
    if (datagram.size() < 4 || opcodeOf(datagram) != Opcode::Ack)
        return std::nullopt;
    return readWord(datagram, 2);
}

std::optional<ErrorPacket> parseError(const QByteArray &datagram)
{
    if (datagram.size() < 4 || opcodeOf(datagram) != Opcode::Error)
        return std::nullopt;
    ErrorPacket error;
    error.code = readWord(datagram, 2);
    qsizetype at = 4;
    error.message = takeField(datagram, at).value_or(datagram.mid(4));
    return error;
}

QByteArray buildError(ErrorCode code, const QByteArray &message)
{
    QByteArray packet;
    packet.reserve(5 + message.size());
    appendWord(packet, quint16(Opcode::Error));
    appendWord(packet, quint16(code));
    packet.append(message);
    packet.append('\0');
    return packet;
}

QByteArray buildOptionAck(const QList<Option> &options)
{
    QByteArray packet;
    appendWord(packet, quint16(Opcode::OptionAck));
    for (const Option &option : options) {
        packet.append(option.name);
        packet.append('\0');
        packet.append(option.value);
        packet.append('\0');
    }
    return packet;
}

void writeDataHeader(char *packet, quint16 block)
{
    packet[0] = 0;
    packet[1] = char(Opcode::Data);
    packet[2] = char(block >> 8);
    packet[3] = char(block & 0xff);
}

} // namespace Tftp
