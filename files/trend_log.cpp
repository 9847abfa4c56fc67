#include "files/trend_log.h"

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

// Writes all of `bytes` and flushes them; the file is closed whatever happens.
bool writeAll(QFile& f, const QByteArray& bytes, QString* why)
{
    if (f.write(bytes) != bytes.size() || !f.flush())
        return failed(f, why);
    f.close();
    if (f.error() != QFileDevice::NoError)
        return failed(f, why);
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
    return create(header + firstRow, why);
}

bool TrendLog::create(const QByteArray& content, QString* why)
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
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            path_ = candidate;
            created_ = true;
            return writeAll(f, content, why);
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
    if (!created_)
        return create(header_ + row, why);
    // A folder removed under a run is a failure to report, not something to make again quietly.
    QFile f(path_);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return failed(f, why);
    return writeAll(f, row, why);
}

} // namespace qmx
