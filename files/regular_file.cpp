#include "files/regular_file.h"

#include <QFileInfo>

namespace qmx {

bool existsButNotRegular(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

QString notRegularReason()
{
    return QStringLiteral("not a regular file");
}

} // namespace qmx
