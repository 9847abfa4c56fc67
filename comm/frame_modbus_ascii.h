// Modbus ASCII framing: ':' + upper-case hex of address, function, payload and LRC + CR LF.
#pragma once

#include "comm/frame_types.h"

#include <optional>

namespace qmx::frame {

// Two's complement of the byte sum: the Modbus ASCII check.
quint8 modbusLrc(const QByteArray& adu);

// A request from the mapped arguments (see modbusRequestAdu); nullopt when it cannot be framed.
std::optional<Request> modbusAsciiRequest(const QString& address, const QString& command,
                                          const QString& registerCode, const QString& data);

// Looks through everything received since the request for a frame that answers it; anything with a
// bad LRC, wrong address, function, count, echo, length or line end never counts.
ReplyScan modbusAsciiScan(const QByteArray& request, const QByteArray& received);

} // namespace qmx::frame
