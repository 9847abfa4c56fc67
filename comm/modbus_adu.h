// What Modbus ASCII and Modbus RTU share: the binary frame without its check (address, function,
// payload), which requests we make, and which replies answer them. Only functions 03 (read holding
// registers) and 06 (write one register) are used; an exception is the function with 0x80 set.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace qmx::frame {

inline constexpr quint8 kModbusRead = 0x03;
inline constexpr quint8 kModbusWrite = 0x06;
inline constexpr quint8 kModbusException = 0x80;
inline constexpr quint8 kModbusBroadcast = 0x00;
inline constexpr int kModbusMaxAddress = 247;

// The binary request from the mapped arguments: address two hex digits; command "03" with register
// code "HHHHNNNN" (start and quantity 1..125) and no data, or "06" with "HHHH" and data "HHHH".
std::optional<QByteArray> modbusRequestAdu(const QString& address, const QString& command,
                                           const QString& registerCode, const QString& data);

// Length (address through payload) that a reply to `requestAdu` carrying `function` must have: the
// normal reply, an exception (3), or 0 when no reply to this request can carry that function.
int modbusReplyLength(const QByteArray& requestAdu, quint8 function);

// The longest reply to the request, address through payload.
int modbusMaxReplyLength(const QByteArray& requestAdu);

// Whether a complete binary reply (check already verified) answers the request: same address, the
// function or its exception, the right byte count, and for a write the exact echo of the request.
bool modbusReplyMatches(const QByteArray& requestAdu, const QByteArray& replyAdu);

// The reply text the callers read: ":" + upper-case hex of address, function and payload.
QString modbusReplyText(const QByteArray& replyAdu);

} // namespace qmx::frame
