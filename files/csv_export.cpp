#include "files/csv_export.h"

#include "files/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (why)
            *why = f.errorString();
        return false;
    }
    // A buffered write can fail only at the flush (a full disk); check it before the old file is
    // replaced.
    const bool written =
        f.write(before) == before.size() && f.write(block) == block.size() && f.flush();
    if (!written) {
        if (why)
            *why = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (why)
            *why = f.errorString();
        return false;
    }
    return true;
}

} // namespace qmx
