// The controller's side of the three framings, written apart from the program's library so that a
// mistake in one cannot hide in the other: replies a test peer sends, and requests decoded back
// into their fields.
#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Readable texts in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace peer {

inline constexpr char STX = 0x02, ETX = 0x03, ACK = 0x06, NAK = 0x15, ESC = 0x1B;

inline QByteArray hex2(unsigned v)
{
    return QByteArray::number(v & 0xFF, 16).rightJustified(2, '0').toUpper();
}

inline QByteArray fromHex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// Maker's reply: lead ACK/NAK/ESC, address char, code digit, command char, register (4 chars),
// data (4 chars on ACK), ETX, then the XOR of everything so far as two hex digits.
inline QByteArray makerReply(char lead, char address, char code, char command,
                             const QByteArray& reg, const QByteArray& data = {})
{
    QByteArray f;
    f += lead;
    f += address;
    f += code;
    f += command;
    f += reg;
    f += data;
    f += ETX;
    unsigned x = 0;
    for (unsigned char c : f)
        x ^= c;
    return f + hex2(x);
}

inline QByteArray makerAck(char address, char command, const QByteArray& reg,
                           const QByteArray& data)
{
    return makerReply(ACK, address, '0', command, reg, data);
}

// Modbus ASCII: ':' hex(adu) hex(LRC) CR LF.
inline QByteArray asciiFrame(const QByteArray& adu)
{
    int sum = 0;
    for (unsigned char c : adu)
        sum += c;
    return ":" + adu.toHex().toUpper() + hex2(256 - (sum & 0xFF)) + "\r\n";
}

// Modbus RTU: adu + CRC-16 (polynomial 0xA001 reflected), low byte first.
inline QByteArray rtuFrame(const QByteArray& adu)
{
    unsigned crc = 0xFFFF;
    for (unsigned char c : adu) {
        crc ^= c;
        for (int i = 0; i < 8; ++i)
            crc = (crc >> 1) ^ ((crc & 1) ? 0xA001u : 0u);
    }
    QByteArray f = adu;
    f += char(crc & 0xFF);
    f += char((crc >> 8) & 0xFF);
    return f;
}

// A request as a controller understands it.
struct Decoded {
    enum Kind { Bad, Maker, Ascii, Rtu } kind = Bad;
    int address = -1; // instrument (maker: byte - 0x20) or Modbus address
    int command = -1; // maker command byte, or Modbus function
    QString reg;      // register code, 4 hex digits
    QString data;     // written value, 4 hex digits ("" for reads)
    int quantity = 0; // Modbus 03 only
    QByteArray raw;
};

inline Decoded decodeModbusAdu(const QByteArray& adu, Decoded::Kind kind, const QByteArray& raw)
{
    Decoded d;
    if (adu.size() != 6)
        return d;
    d.kind = kind;
    d.raw = raw;
    d.address = static_cast<unsigned char>(adu[0]);
    d.command = static_cast<unsigned char>(adu[1]);
    d.reg = QString::fromLatin1(adu.mid(2, 2).toHex().toUpper());
    if (d.command == 0x03)
        d.quantity = static_cast<unsigned char>(adu[4]) * 256 + static_cast<unsigned char>(adu[5]);
    else
        d.data = QString::fromLatin1(adu.mid(4, 2).toHex().toUpper());
    return d;
}

// Checks the frame fully (check code included); Bad when anything is off.
inline Decoded decode(const QByteArray& f)
{
    Decoded d;
    if (f.size() >= 11 && f[0] == STX) {
        const qsizetype etx = f.size() - 3;
        if (f[etx] != ETX || (etx != 8 && etx != 12))
            return d;
        unsigned x = 0;
        for (qsizetype i = 0; i <= etx; ++i)
            x ^= static_cast<unsigned char>(f[i]);
        if (f.right(2) != hex2(x))
            return d;
        d.kind = Decoded::Maker;
        d.raw = f;
        d.address = static_cast<unsigned char>(f[1]) - 0x20;
        d.command = static_cast<unsigned char>(f[3]);
        d.reg = QString::fromLatin1(f.mid(4, 4));
        d.data = QString::fromLatin1(f.mid(8, etx - 8));
        return d;
    }
    if (f.startsWith(':') && f.endsWith("\r\n")) {
        const QByteArray all = QByteArray::fromHex(f.mid(1, f.size() - 3));
        if (asciiFrame(all.left(all.size() - 1)) != f)
            return d;
        return decodeModbusAdu(all.left(all.size() - 1), Decoded::Ascii, f);
    }
    if (f.size() == 8 && rtuFrame(f.left(6)) == f)
        return decodeModbusAdu(f.left(6), Decoded::Rtu, f);
    return d;
}

} // namespace peer
