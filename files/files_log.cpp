#include "files/files_log.h"

namespace qmx {

// Messages are written at info level, below the category's default threshold: nothing shows
// until a rule switches them on.
Q_LOGGING_CATEGORY(lcFiles, "qmx.files", QtWarningMsg)

} // namespace qmx
