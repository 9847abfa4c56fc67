#include "comm/frame_maker.h"

namespace qmx::frame {

namespace {

constexpr int kReadLength = 11;   // STX addr sub cmd reg(4) ETX bcc(2)
constexpr int kAckLength = 15;    // ACK addr '0' cmd reg(4) data(4) ETX bcc(2)
constexpr int kRefuseLength = 11; // NAK/ESC addr code cmd reg(4) ETX bcc(2)

bool isReadCommand(char c)
{
    return c == 0x20 || c == 0x60 || c == 0x61 || c == 0x62;
}

bool isWriteCommand(char c)
{
    return c == 'P' || c == 0x71 || c == 0x72;
}

bool oneChar(const QByteArray& s, char lo, char hi)
{
    return s.size() == 1 && static_cast<quint8>(s[0]) >= static_cast<quint8>(lo) &&
           static_cast<quint8>(s[0]) <= static_cast<quint8>(hi);
}

// Checks one candidate frame starting at `at`; its length follows from its first byte.
bool candidateMatches(const QByteArray& request, const QByteArray& rx, qsizetype at, int length)
{
    const char lead = rx[at];
    const char code = rx[at + 2];
    if (rx[at + 1] != request[1] || rx[at + 3] != request[3])
        return false;
    if (rx.mid(at + 4, 4) != request.mid(4, 4))
        return false;
    if (lead == kAck) {
        if (code != '0' || !isHexText(rx.mid(at + 8, 4)))
            return false;
    } else if (code < '0' || code > '9') {
        return false;
    }
    if (rx[at + length - 3] != kEtx)
        return false;
    const QByteArray body = rx.mid(at, length - 2);
    return rx.mid(at + length - 2, 2) == hexByte(makerBcc(body));
}

} // namespace

quint8 makerBcc(const QByteArray& bytes)
{
    quint8 x = 0;
    for (char c : bytes)
        x ^= static_cast<quint8>(c);
    return x;
}

std::optional<Request> makerRequest(const QString& address, const QString& subAddress,
                                    const QString& command, const QString& registerCode,
                                    const QString& data)
{
    bool ok = true;
    const QByteArray adr = latin1(address, ok);
    const QByteArray sub = latin1(subAddress, ok);
    const QByteArray cmd = latin1(command, ok);
    const QByteArray reg = latin1(registerCode.toUpper(), ok);
    const QByteArray dat = latin1(data.toUpper(), ok);
    if (!ok || !oneChar(adr, 0x20, 0x7F) || !oneChar(sub, 0x20, 0x7F) || cmd.size() != 1)
        return std::nullopt;
    if (reg.size() != 4 || !isHexText(reg))
        return std::nullopt;
    const char c = cmd[0];
    if (isReadCommand(c)) {
        if (!dat.isEmpty())
            return std::nullopt;
    } else if (isWriteCommand(c)) {
        if (dat.size() != 4 || !isHexText(dat))
            return std::nullopt;
    } else {
        return std::nullopt;
    }

    QByteArray wire;
    wire.reserve(kReadLength + 4);
    wire += kStx;
    wire += adr;
    wire += sub;
    wire += cmd;
    wire += reg;
    wire += dat;
    wire += kEtx;
    wire += hexByte(makerBcc(wire));

    Request r;
    r.wire = wire;
    r.expectsReply = adr[0] != kMakerGlobalAddress;
    r.maxReplyLength = kAckLength;
    return r;
}

ReplyScan makerScan(const QByteArray& request, const QByteArray& received)
{
    ReplyScan scan;
    if (request.size() < kReadLength)
        return scan;
    for (qsizetype at = 0; at < received.size(); ++at) {
        const char lead = received[at];
        int length = 0;
        if (lead == kAck)
            length = kAckLength;
        else if (lead == kNak || lead == kEsc)
            length = kRefuseLength;
        else
            continue;
        if (at + length > received.size())
            continue; // may still complete; a later start may already be whole
        if (candidateMatches(request, received, at, length)) {
            scan.accepted = true;
            scan.text = QString::fromLatin1(received.mid(at, length - 2));
            return scan;
        }
    }
    return scan;
}

} // namespace qmx::frame
