#include "comm/line_settings.h"

#include <algorithm>

namespace qmx {

int LineSettings::bitsPerChar() const
{
    const int parityBits = parity == QSerialPort::NoParity ? 0 : 1;
    const int stop = stopBits == QSerialPort::TwoStop ? 2 : 1;
    return 1 + static_cast<int>(dataBits) + parityBits + stop;
}

qint64 LineSettings::charsNs(double chars) const
{
    return static_cast<qint64>(chars * bitsPerChar() * 1e9 / baud);
}

qint64 LineSettings::t35Ns() const
{
    return std::max<qint64>(charsNs(3.5), 1'750'000);
}

qint64 LineSettings::silenceLeftNs(qint64 lastLineNs, qint64 nowNs) const
{
    return std::max<qint64>(lastLineNs + t35Ns() - nowNs, 0);
}

std::optional<LineSettings> parseLineSettings(const QString& speed, const QString& dataBits,
                                              const QString& stopBits, const QString& parity)
{
    LineSettings s;
    bool ok = false;
    const int baud = speed.trimmed().toInt(&ok);
    if (!ok || baud < 300 || baud > 4'000'000)
        return std::nullopt;
    s.baud = baud;

    const QString bits = dataBits.trimmed();
    if (bits == u"7")
        s.dataBits = QSerialPort::Data7;
    else if (bits == u"8")
        s.dataBits = QSerialPort::Data8;
    else
        return std::nullopt;

    const QString stop = stopBits.trimmed();
    if (stop == u"1")
        s.stopBits = QSerialPort::OneStop;
    else if (stop == u"2")
        s.stopBits = QSerialPort::TwoStop;
    else
        return std::nullopt;

    const QString par = parity.trimmed().toUpper();
    if (par == u"EVEN")
        s.parity = QSerialPort::EvenParity;
    else if (par == u"ODD")
        s.parity = QSerialPort::OddParity;
    else if (par == u"NONE")
        s.parity = QSerialPort::NoParity;
    else
        return std::nullopt;
    return s;
}

} // namespace qmx
