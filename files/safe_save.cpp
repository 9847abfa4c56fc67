#include "files/safe_save.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace qmx {

namespace {

// Qt often reports a failed write only as "Unknown error"; the system's own reason is in errno,
// taken right after the call that failed (each step below clears it first).
QString reason(const QFileDevice& file)
{
    const int err = errno;
    if (err != 0)
        return QString::fromLocal8Bit(std::strerror(err));
    return file.errorString();
}

} // namespace

SafeSave::SafeSave(const QString& path) : file_(path) {}

SafeSave::~SafeSave()
{
    if (file_.isOpen())
        file_.cancelWriting();
}

bool SafeSave::fail(const QString& why)
{
    if (!failed_) {
        failed_ = true;
        why_ = why.isEmpty() ? QStringLiteral("Unknown error") : why;
    }
    if (file_.isOpen())
        file_.cancelWriting();
    return false;
}

bool SafeSave::open()
{
    if (failed_)
        return false;
    errno = 0;
    if (!file_.open(QIODevice::WriteOnly))
        return fail(reason(file_));
    return true;
}

bool SafeSave::write(const QByteArray& bytes)
{
    if (failed_ || !file_.isOpen())
        return failed_ ? false : fail(QStringLiteral("The file is not open"));
    // A buffered write reports success for bytes still in memory: the flush at commit checks them.
    errno = 0;
    if (file_.write(bytes) != bytes.size())
        return fail(reason(file_));
    return true;
}

bool SafeSave::commit()
{
    if (failed_ || !file_.isOpen())
        return failed_ ? false : fail(QStringLiteral("The file is not open"));
    // The rename must not happen for a file that did not get all its bytes: a full disk shows up
    // here at the latest, when the buffer goes to the system.
    errno = 0;
    if (!file_.flush() || file_.error() != QFileDevice::NoError)
        return fail(reason(file_));
    // Some file systems report a full disk only when the data goes to the device.
    const int fd = file_.handle();
    if (fd >= 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    errno = 0;
    if (!file_.commit())
        return fail(reason(file_));
    return true;
}

bool saveWholeFile(const QString& path, const QByteArray& bytes, QString* why)
{
    SafeSave file(path);
    const bool ok = file.open() && file.write(bytes) && file.commit();
    if (!ok && why)
        *why = file.errorString();
    return ok;
}

} // namespace qmx
