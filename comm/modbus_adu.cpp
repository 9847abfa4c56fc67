#include "comm/modbus_adu.h"

#include "comm/frame_types.h"

namespace qmx::frame {

namespace {

// Hex text to bytes; nullopt unless an even number of (upper-case) hex digits.
std::optional<QByteArray> hexToBytes(const QString& text)
{
    bool ok = true;
    const QByteArray s = latin1(text.toUpper(), ok);
    if (!ok || s.size() % 2 != 0 || !isHexText(s))
        return std::nullopt;
    QByteArray out;
    for (qsizetype i = 0; i < s.size(); i += 2)
        out += static_cast<char>(hexDigit(s[i]) * 16 + hexDigit(s[i + 1]));
    return out;
}

quint16 word(const QByteArray& b, int at)
{
    return static_cast<quint16>(static_cast<quint8>(b[at]) << 8 | static_cast<quint8>(b[at + 1]));
}

} // namespace

std::optional<QByteArray> modbusRequestAdu(const QString& address, const QString& command,
                                           const QString& registerCode, const QString& data)
{
    if (address.size() != 2 || command.size() != 2)
        return std::nullopt;
    const auto adr = hexToBytes(address);
    const auto fn = hexToBytes(command);
    const auto reg = hexToBytes(registerCode);
    const auto dat = hexToBytes(data);
    if (!adr || !fn || !reg || !dat)
        return std::nullopt;
    if (static_cast<quint8>(adr->at(0)) > kModbusMaxAddress)
        return std::nullopt;

    const quint8 f = static_cast<quint8>(fn->at(0));
    if (f == kModbusRead) {
        if (reg->size() != 4 || !dat->isEmpty())
            return std::nullopt;
        const quint16 quantity = word(*reg, 2);
        if (quantity < 1 || quantity > 125)
            return std::nullopt;
    } else if (f == kModbusWrite) {
        if (reg->size() != 2 || dat->size() != 2)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    return *adr + *fn + *reg + *dat;
}

int modbusReplyLength(const QByteArray& requestAdu, quint8 function)
{
    if (requestAdu.size() != 6)
        return 0;
    const quint8 f = static_cast<quint8>(requestAdu[1]);
    if (function == (f | kModbusException))
        return 3;
    if (function != f)
        return 0;
    if (f == kModbusRead)
        return 3 + 2 * word(requestAdu, 4);
    return 6; // a write is answered by its own echo
}

int modbusMaxReplyLength(const QByteArray& requestAdu)
{
    if (requestAdu.size() != 6)
        return 0;
    return modbusReplyLength(requestAdu, static_cast<quint8>(requestAdu[1]));
}

bool modbusReplyMatches(const QByteArray& requestAdu, const QByteArray& replyAdu)
{
    if (requestAdu.size() != 6 || replyAdu.size() < 3)
        return false;
    if (replyAdu[0] != requestAdu[0])
        return false;
    const quint8 f = static_cast<quint8>(replyAdu[1]);
    const int length = modbusReplyLength(requestAdu, f);
    if (length == 0 || replyAdu.size() != length)
        return false;
    if (f & kModbusException)
        return true;
    if (f == kModbusRead)
        return static_cast<quint8>(replyAdu[2]) == 2 * word(requestAdu, 4);
    return replyAdu == requestAdu;
}

QString modbusReplyText(const QByteArray& replyAdu)
{
    QByteArray text(":");
    for (char b : replyAdu)
        text += hexByte(static_cast<quint8>(b));
    return QString::fromLatin1(text);
}

} // namespace qmx::frame
