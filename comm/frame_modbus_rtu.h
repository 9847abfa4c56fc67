// Modbus RTU framing: address, function, payload, CRC-16/MODBUS low byte first. A reply ends by
// its length (known from the request and the function byte), never by a gap on the line.
#pragma once

#include "comm/frame_types.h"

#include <optional>

namespace qmx::frame {

// CRC-16/MODBUS (reflected 0x8005, initial 0xFFFF).
quint16 modbusCrc(const QByteArray& bytes);

// A request from the mapped arguments (see modbusRequestAdu); nullopt when it cannot be framed.
std::optional<Request> modbusRtuRequest(const QString& address, const QString& command,
                                        const QString& registerCode, const QString& data);

// Looks through everything received since the request for a frame that answers it; a frame with a
// bad CRC, wrong address, function, count, echo or length never counts.
ReplyScan modbusRtuScan(const QByteArray& request, const QByteArray& received);

} // namespace qmx::frame
