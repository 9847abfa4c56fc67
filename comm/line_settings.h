// The line settings as the settings store them ("9600", "7", "1", "EVEN"), checked and turned into
// what the port needs, with the character times the exchange timing is built on.
#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

namespace qmx {

struct LineSettings {
    qint32 baud = 9600;
    QSerialPort::DataBits dataBits = QSerialPort::Data7;
    QSerialPort::Parity parity = QSerialPort::EvenParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    // Bits one character takes on the line: start + data + parity + stop.
    int bitsPerChar() const;
    // Nanoseconds of `chars` characters at this speed.
    qint64 charsNs(double chars) const;
    // The Modbus RTU silent interval: 3.5 characters, but not below 1.75 ms at high speeds.
    qint64 t35Ns() const;
    // What is left of the silent interval at `nowNs` when the line was last busy at `lastLineNs`.
    qint64 silenceLeftNs(qint64 lastLineNs, qint64 nowNs) const;
};

// nullopt when any text is not one the line can take.
std::optional<LineSettings> parseLineSettings(const QString& speed, const QString& dataBits,
                                              const QString& stopBits, const QString& parity);

} // namespace qmx
