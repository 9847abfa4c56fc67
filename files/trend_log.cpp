#include "files/trend_log.h"

#include "files/files_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qmx {

namespace {

QByteArray fields(const QStringList& texts)
{
    QByteArray out;
    for (const QString& t : texts)
        out += '"' + t.toUtf8() + "\",";
    return out + "\r\n";
}

bool failed(QFile& f, QString* why)
{
    if (why)
        *why = f.errorString();
    return false;
}

// Writes all of `bytes` to the unbuffered file `f`. A write that stops short is carried on until
// one writes nothing: that last one holds the system's reason (a short write has none).
bool writeAll(QFile& f, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

QString Make_LogName(const QString& programFolder, const QDateTime& now)
{
    const QDate d = now.date();
    const QTime t = now.time();
    const QString name = QStringLiteral("%1_%2_%3_%4_%5_%6.csv")
                             .arg(d.year())
                             .arg(d.month())
                             .arg(d.day())
                             .arg(t.hour())
                             .arg(t.minute())
                             .arg(t.second());
    return QDir(programFolder).filePath(QStringLiteral("Logging/") + name);
}

QByteArray logHeader(const QString& title, const QString& date, const QString& time,
                     const QStringList& pens)
{
    return '"' + title.toUtf8() + "\"\r\n" + fields(QStringList{date, time} + pens);
}

QByteArray logRow(const QString& date, const QString& time, const QStringList& values)
{
    return fields(QStringList{date, time} + values);
}

bool TrendLog::start(const QString& path, const QByteArray& header, const QByteArray& firstRow,
                     QString* why)
{
    path_ = path;
    header_ = header;
    created_ = false;
    lost_ = 0;
    QString reason;
    return tally(create(firstRow, &reason), reason, why);
}

bool TrendLog::create(const QByteArray& row, QString* why)
{
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) {
        if (why)
            *why = QStringLiteral("cannot make the folder ") +
                   QDir::toNativeSeparators(info.absolutePath());
        return false;
    }
    // A run started within the same second as the one before gets a name of its own.
    for (int n = 1; n < 1000; ++n) {
        const QString candidate =
            n == 1 ? path_
                   : info.dir().filePath(info.completeBaseName() + QStringLiteral("-%1.").arg(n) +
                                         info.suffix());
        QFile f(candidate);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            path_ = candidate;
            created_ = true;
            return appendTo(f, row, why);
        }
        if (!f.exists())
            return failed(f, why);
    }
    if (why)
        *why = QStringLiteral("too many logs of the same second");
    return false;
}

bool TrendLog::append(const QByteArray& row, QString* why)
{
    QString reason;
    return tally(created_ ? reopen(row, &reason) : create(row, &reason), reason, why);
}

bool TrendLog::reopen(const QByteArray& row, QString* why)
{
    // A folder removed under a run is a failure to report, not something to make again quietly.
    QFile f(path_);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return failed(f, why);
    return appendTo(f, row, why);
}

bool TrendLog::appendTo(QFile& f, const QByteArray& row, QString* why)
{
    // An empty file has not got its header yet: it was made while the disk was full, or made
    // again after its folder had gone.
    const qint64 before = f.size();
    if (writeAll(f, before == 0 ? header_ + row : row)) {
        f.close();
        return f.error() == QFileDevice::NoError || failed(f, why);
    }
    // A row that stops short would have the next row continue on its line: the file is cut back
    // to its whole rows.
    QString reason = f.errorString();
    if (!f.resize(before))
        reason += QStringLiteral("; not cut back: ") + f.errorString();
    if (why)
        *why = reason;
    return false;
}

bool TrendLog::tally(bool written, const QString& reason, QString* why)
{
    if (written) {
        if (lost_ > 0)
            qCInfo(lcFiles).noquote() << QStringLiteral("trend log %1 written again; rows lost: %2")
                                             .arg(QDir::toNativeSeparators(path_))
                                             .arg(lost_);
        lost_ = 0;
        return true;
    }
    // The reason once for a stretch of failures: they mostly share it, and a row a second would
    // bury it.
    if (lost_ == 0)
        qCInfo(lcFiles).noquote() << QStringLiteral("trend log %1 cannot be written: %2")
                                         .arg(QDir::toNativeSeparators(path_), reason);
    ++lost_;
    if (why)
        *why = reason;
    return false;
}

} // namespace qmx
