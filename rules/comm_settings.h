// What the communication settings are called on screen and how a typed instrument number is
// judged: shared by the settings dialog and the main window's link panel.
#pragma once

#include <QString>

namespace qmx {

// The protocol names as the dialog lists them and the main window shows them: 0 the maker's
// protocol, 1 Modbus ASCII, 2 Modbus RTU; empty for any other number.
QString protocolName(int protocol);

// How an instrument number typed into the dialog is judged: one or two decimal digits up to 95.
enum class InstrumentText { Valid, Malformed, OutOfRange };
InstrumentText checkInstrumentText(const QString& text);

} // namespace qmx
