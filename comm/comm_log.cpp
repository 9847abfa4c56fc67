#include "comm/comm_log.h"

namespace qmx {

// Messages are written at info level, below the categories' default threshold: nothing shows
// until a rule switches them on.
Q_LOGGING_CATEGORY(lcComm, "qmx.comm", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWire, "qmx.comm.wire", QtWarningMsg)

} // namespace qmx
