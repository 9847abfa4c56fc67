#include "comm/frame_codec.h"

#include "comm/frame_maker.h"
#include "comm/frame_modbus_ascii.h"
#include "comm/frame_modbus_rtu.h"

namespace qmx::frame {

namespace {

QString hexDigitsAt(const QString& text, qsizetype at)
{
    const QString digits = text.mid(at, 4);
    bool ok = true;
    if (digits.size() != 4 || !isHexText(latin1(digits, ok)) || !ok)
        return {};
    return digits;
}

} // namespace

std::optional<Request> buildRequest(int comProtocol, const QString& address,
                                    const QString& subAddress, const QString& command,
                                    const QString& registerCode, const QString& data)
{
    switch (comProtocol) {
    case kComMaker:
        return makerRequest(address, subAddress, command, registerCode, data);
    case kComModbusAscii:
        return modbusAsciiRequest(address, command, registerCode, data);
    case kComModbusRtu:
        return modbusRtuRequest(address, command, registerCode, data);
    default:
        return std::nullopt;
    }
}

ReplyScan scanReply(int comProtocol, const QByteArray& request, const QByteArray& received)
{
    switch (comProtocol) {
    case kComMaker:
        return makerScan(request, received);
    case kComModbusAscii:
        return modbusAsciiScan(request, received);
    case kComModbusRtu:
        return modbusRtuScan(request, received);
    default:
        return {};
    }
}

QString replyData(const QString& reply)
{
    // Maker ACK text: ACK addr '0' cmd reg(4) data(4) ETX.
    if (reply.size() == 13 && reply[0] == QChar(kAck) && reply[12] == QChar(kEtx))
        return hexDigitsAt(reply, 8);
    // Modbus text: ':' addr(2) func(2) then "02" + value for a read, reg(4) + value for a write.
    if (reply.startsWith(u':')) {
        const QString function = reply.mid(3, 2);
        if (function == u"03" && reply.size() >= 11 && reply.mid(5, 2) != u"00")
            return hexDigitsAt(reply, 7);
        if (function == u"06" && reply.size() == 13)
            return hexDigitsAt(reply, 9);
    }
    return {};
}

} // namespace qmx::frame
