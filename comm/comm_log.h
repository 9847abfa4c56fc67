// The link's log, off by default: why a port would not open (the system's own error text) and how
// each failed exchange ended under "qmx.comm", the raw bytes of every exchange under
// "qmx.comm.wire". Switch it on with QT_LOGGING_RULES="qmx.comm*=true". The screen shows the
// program's own messages; the reason behind them is kept here.
#pragma once

#include <QLoggingCategory>

namespace qmx {

Q_DECLARE_LOGGING_CATEGORY(lcComm)
Q_DECLARE_LOGGING_CATEGORY(lcWire)

} // namespace qmx
