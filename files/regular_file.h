// Only a regular file is ever opened as one of the program's files. Opening a named pipe waits
// for its other end for ever, and a device, a socket or a folder is no file of ours: a path that
// names one of those is refused before anything opens it.
#pragma once

#include <QString>

namespace qmx {

// True when `path` names something that is there but is not a regular file. A link counts as
// what it points to.
bool existsButNotRegular(const QString& path);

// The reason a refusal for that keeps.
QString notRegularReason();

} // namespace qmx
