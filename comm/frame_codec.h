// Picks the framing for the library's protocol number, so the port owner never needs to know a
// frame's layout.
#pragma once

#include "comm/frame_types.h"

#include <optional>

namespace qmx::frame {

// The library's protocol numbers.
inline constexpr int kComMaker = 0;
inline constexpr int kComModbusAscii = 2;
inline constexpr int kComModbusRtu = 3;

// A request in the framing of `comProtocol`; nullopt when it cannot be framed (unknown protocol,
// malformed arguments, a special command in Modbus ...). Nothing is sent then.
std::optional<Request> buildRequest(int comProtocol, const QString& address,
                                    const QString& subAddress, const QString& command,
                                    const QString& registerCode, const QString& data);

// The reply to `request`, if the bytes received so far hold one.
ReplyScan scanReply(int comProtocol, const QByteArray& request, const QByteArray& received);

// The 4 data digits of an accepted reply text: the value read (first register) or written. Empty
// for a refusal, an exception, or any text that is not an accepted reply.
QString replyData(const QString& reply);

} // namespace qmx::frame
