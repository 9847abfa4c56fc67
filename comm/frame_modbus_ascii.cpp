#include "comm/frame_modbus_ascii.h"

#include "comm/modbus_adu.h"

namespace qmx::frame {

namespace {

// The binary frame back from the hex text between ':' and CR LF (request side: our own frames).
QByteArray decodeHex(const QByteArray& hex)
{
    QByteArray out;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2) {
        const int hi = hexDigit(hex[i]);
        const int lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return {};
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

int hexPair(const QByteArray& rx, qsizetype at)
{
    const int hi = hexDigit(rx[at]);
    const int lo = hexDigit(rx[at + 1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

// The request's binary frame without its LRC.
QByteArray requestAdu(const QByteArray& request)
{
    if (request.size() < 5 || request[0] != ':')
        return {};
    const QByteArray all = decodeHex(request.mid(1, request.size() - 3));
    return all.isEmpty() ? all : all.left(all.size() - 1);
}

} // namespace

quint8 modbusLrc(const QByteArray& adu)
{
    quint8 sum = 0;
    for (char b : adu)
        sum = static_cast<quint8>(sum + static_cast<quint8>(b));
    return static_cast<quint8>(-sum);
}

std::optional<Request> modbusAsciiRequest(const QString& address, const QString& command,
                                          const QString& registerCode, const QString& data)
{
    const auto adu = modbusRequestAdu(address, command, registerCode, data);
    if (!adu)
        return std::nullopt;
    QByteArray wire(":");
    for (char b : *adu)
        wire += hexByte(static_cast<quint8>(b));
    wire += hexByte(modbusLrc(*adu));
    wire += "\r\n";

    Request r;
    r.wire = wire;
    r.expectsReply = static_cast<quint8>(adu->at(0)) != kModbusBroadcast;
    r.maxReplyLength = 1 + 2 * (modbusMaxReplyLength(*adu) + 1) + 2;
    return r;
}

ReplyScan modbusAsciiScan(const QByteArray& request, const QByteArray& received)
{
    ReplyScan scan;
    const QByteArray req = requestAdu(request);
    if (req.size() != 6)
        return scan;
    for (qsizetype at = 0; at + 5 <= received.size(); ++at) {
        if (received[at] != ':')
            continue;
        const int function = hexPair(received, at + 3);
        if (function < 0)
            continue;
        const int aduLength = modbusReplyLength(req, static_cast<quint8>(function));
        if (aduLength == 0)
            continue;
        const qsizetype frameLength = 1 + 2 * (aduLength + 1) + 2;
        if (at + frameLength > received.size())
            continue;
        QByteArray adu;
        bool hexOk = true;
        for (int i = 0; i <= aduLength && hexOk; ++i) {
            const int b = hexPair(received, at + 1 + 2 * i);
            hexOk = b >= 0;
            adu += static_cast<char>(b);
        }
        if (!hexOk || received.mid(at + frameLength - 2, 2) != "\r\n")
            continue;
        const quint8 lrc = static_cast<quint8>(adu.back());
        adu.chop(1);
        if (lrc != modbusLrc(adu) || !modbusReplyMatches(req, adu))
            continue;
        scan.accepted = true;
        scan.text = modbusReplyText(adu);
        return scan;
    }
    return scan;
}

} // namespace qmx::frame
