// The control channel's commands: one JSON object in, one JSON object out. The transport is in
// control_socket.cpp; the commands are documented in README.md.
#pragma once

#include <QJsonObject>

namespace qmxsim {

class Simulator;

QJsonObject runControlCommand(Simulator& sim, const QJsonObject& command);

} // namespace qmxsim
