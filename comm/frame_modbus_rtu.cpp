#include "comm/frame_modbus_rtu.h"

#include "comm/modbus_adu.h"

namespace qmx::frame {

namespace {

QByteArray withCrc(const QByteArray& adu)
{
    const quint16 crc = modbusCrc(adu);
    QByteArray out = adu;
    out += static_cast<char>(crc & 0xFF);
    out += static_cast<char>(crc >> 8);
    return out;
}

} // namespace

quint16 modbusCrc(const QByteArray& bytes)
{
    quint16 crc = 0xFFFF;
    for (char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<quint16>((crc >> 1) ^ 0xA001) : (crc >> 1);
    }
    return crc;
}

std::optional<Request> modbusRtuRequest(const QString& address, const QString& command,
                                        const QString& registerCode, const QString& data)
{
    const auto adu = modbusRequestAdu(address, command, registerCode, data);
    if (!adu)
        return std::nullopt;
    Request r;
    r.wire = withCrc(*adu);
    r.expectsReply = static_cast<quint8>(adu->at(0)) != kModbusBroadcast;
    r.maxReplyLength = modbusMaxReplyLength(*adu) + 2;
    return r;
}

ReplyScan modbusRtuScan(const QByteArray& request, const QByteArray& received)
{
    ReplyScan scan;
    if (request.size() != 8 || withCrc(request.left(6)) != request)
        return scan;
    const QByteArray req = request.left(6);
    for (qsizetype at = 0; at + 2 <= received.size(); ++at) {
        if (received[at] != req[0])
            continue;
        const int aduLength = modbusReplyLength(req, static_cast<quint8>(received[at + 1]));
        if (aduLength == 0 || at + aduLength + 2 > received.size())
            continue;
        const QByteArray frame = received.mid(at, aduLength + 2);
        const QByteArray adu = frame.left(aduLength);
        if (withCrc(adu) != frame || !modbusReplyMatches(req, adu))
            continue;
        scan.accepted = true;
        scan.text = modbusReplyText(adu);
        return scan;
    }
    return scan;
}

} // namespace qmx::frame
