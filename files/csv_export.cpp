#include "files/csv_export.h"

#include "files/safe_save.h"
#include "files/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qmx {

QString csvFolder()
{
    return programFolder() + QStringLiteral("/csvdata");
}

bool appendCsvBlock(const QString& path, const QByteArray& block, QString* why)
{
    QByteArray before;
    const QFileInfo info(path);
    if (info.exists()) {
        // Only a plain file takes an export: a folder or a device would swallow it or block.
        QFile old(path);
        if (!info.isFile() || !old.open(QIODevice::ReadOnly)) {
            if (why)
                *why = info.isFile() ? old.errorString() : QStringLiteral("not a file");
            return false;
        }
        // A read-only export stays as it is: the new file would take its place otherwise.
        if (!info.isWritable()) {
            if (why)
                *why = QStringLiteral("read-only file");
            return false;
        }
        before = old.readAll();
        if (old.error() != QFileDevice::NoError) {
            if (why)
                *why = old.errorString();
            return false;
        }
    }
    // The old content and the new block go out together: the old file is replaced only once
    // all of it is on the disk.
    return saveWholeFile(path, before + block, why);
}

} // namespace qmx
