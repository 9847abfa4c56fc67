#include "files/csv_export.h"

#include "files/safe_save.h"
#include "files/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace qmx {

namespace {

// The system's own reason for the call that just failed (errno was cleared before it); Qt often
// has only "Unknown error" for a short write.
QString reason(const QFile& file)
{
    const int err = errno;
    return err != 0 ? QString::fromLocal8Bit(std::strerror(err)) : file.errorString();
}

// Appends `block` to the existing file in place, so a folder the operator may not write takes
// the export as long as the file itself may be written. Unbuffered: a failed write shows at once,
// and no buffered rest can reach the file after it has been cut back.
bool appendInPlace(const QString& path, const QByteArray& block, QString* why)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (why)
            *why = reason(file);
        return false;
    }
    const qint64 before = file.size();
    QString failed;
    errno = 0;
    if (file.write(block) != block.size())
        failed = reason(file);
    // A full disk may show only when the data goes to the device.
    if (failed.isEmpty() && ::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        failed = QString::fromLocal8Bit(std::strerror(errno));
    if (failed.isEmpty())
        return true;
    // Whatever part of the block got in is cut off again: the file keeps its old content whole.
    if (!file.resize(before))
        failed += QStringLiteral(" (the file could not be cut back: %1)").arg(file.errorString());
    if (why)
        *why = failed;
    return false;
}

} // namespace

QString csvFolder()
{
    return programFolder() + QStringLiteral("/csvdata");
}

bool appendCsvBlock(const QString& path, const QByteArray& block, QString* why)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        // A new file appears only once every byte is on the disk.
        return saveWholeFile(path, block, why);
    }
    // Only a plain file takes an export: a folder or a device would swallow it or block.
    if (!info.isFile()) {
        if (why)
            *why = QStringLiteral("not a file");
        return false;
    }
    if (!info.isWritable()) {
        if (why)
            *why = QStringLiteral("read-only file");
        return false;
    }
    return appendInPlace(path, block, why);
}

} // namespace qmx
