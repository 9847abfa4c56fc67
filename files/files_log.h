// The files' log, off by default: why a file could not be read or written (the system's own
// error text and the path) under "qmx.files". Switch it on with QT_LOGGING_RULES="qmx.files=true".
// The screen shows the program's own messages; the reason behind them is kept here.
#pragma once

#include <QLoggingCategory>

namespace qmx {

Q_DECLARE_LOGGING_CATEGORY(lcFiles)

} // namespace qmx
