#include "files/trend_log.h"

#include "../log_capture.h"
#include "file_size_limit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <optional>

using namespace qmx;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QDateTime kFirst(QDate(2015, 6, 23), QTime(9, 5, 7));

} // namespace

TEST(TrendLog, NameHeaderAndRowsByteForByte)
{
    EXPECT_EQ(Make_LogName(QStringLiteral("/prog"), kFirst),
              QStringLiteral("/prog/Logging/2015_6_23_9_5_7.csv"));
    EXPECT_EQ(Make_LogName(QStringLiteral("/p"), QDateTime(QDate(2026, 12, 31), QTime(23, 59, 0))),
              QStringLiteral("/p/Logging/2026_12_31_23_59_0.csv"));
    const struct {
        QByteArray got;
        QByteArray want;
    } rows[] = {
        {logHeader(QStringLiteral("Control data"), QStringLiteral("Date"), QStringLiteral("Time"),
                   {QStringLiteral("PV"), QStringLiteral("SV")}),
         "\"Control data\"\r\n\"Date\",\"Time\",\"PV\",\"SV\",\r\n"},
        {logRow(QStringLiteral("2015/06/23"), QStringLiteral("09:05:07"),
                {QStringLiteral("123.4"), QStringLiteral("100.0")}),
         "\"2015/06/23\",\"09:05:07\",\"123.4\",\"100.0\",\r\n"},
        // A dashed value is logged as shown; quotes are not doubled.
        {logRow(QStringLiteral("d"), QStringLiteral("t"),
                {QStringLiteral("----"), QStringLiteral("a\"b")}),
         "\"d\",\"t\",\"----\",\"a\"b\",\r\n"},
        // Japanese captions are written in UTF-8.
        {logHeader(QString::fromUtf8("制御データ"), QStringLiteral("D"), QStringLiteral("T"), {}),
         "\"制御データ\"\r\n\"D\",\"T\",\r\n"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.got, r.want);
}

TEST(TrendLog, CreatesTheFolderAndAppendsRows)
{
    QTemporaryDir dir;
    const QString path = Make_LogName(dir.path(), kFirst);
    TrendLog log;
    QString why;
    ASSERT_TRUE(log.start(path, "H\r\n", "R1\r\n", &why)) << why.toStdString();
    ASSERT_TRUE(log.append("R2\r\n", &why));
    ASSERT_TRUE(log.append("R3\r\n", &why));
    EXPECT_EQ(log.path(), path);
    EXPECT_EQ(bytesOf(path), QByteArray("H\r\nR1\r\nR2\r\nR3\r\n"));
}

TEST(TrendLog, ASecondRunInTheSameSecondNeverOverwrites)
{
    QTemporaryDir dir;
    const QString path = Make_LogName(dir.path(), kFirst);
    TrendLog a, b, c;
    ASSERT_TRUE(a.start(path, "first\r\n", "", nullptr));
    ASSERT_TRUE(b.start(path, "second\r\n", "", nullptr));
    ASSERT_TRUE(c.start(path, "third\r\n", "", nullptr));
    EXPECT_EQ(bytesOf(path), QByteArray("first\r\n"));
    EXPECT_EQ(b.path(), dir.filePath(QStringLiteral("Logging/2015_6_23_9_5_7-2.csv")));
    EXPECT_EQ(bytesOf(b.path()), QByteArray("second\r\n"));
    EXPECT_EQ(bytesOf(c.path()), QByteArray("third\r\n"));
}

TEST(TrendLog, FailuresAreToldWithAReason)
{
    QTemporaryDir dir;
    const QString path = Make_LogName(dir.path(), kFirst);
    TrendLog log;
    QString why;
    ASSERT_TRUE(log.start(path, "H\r\n", "", &why));
    // The folder removed under the run: the row is refused and the folder is not made again.
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("Logging"))).removeRecursively());
    EXPECT_FALSE(log.append("R\r\n", &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(QFile::exists(path));

    // A folder that cannot be made: a plain file stands in its way.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TrendLog other;
    why.clear();
    EXPECT_FALSE(other.start(dir.filePath(QStringLiteral("blocked/Logging/x.csv")), "H", "", &why));
    EXPECT_FALSE(why.isEmpty());
}

// A row that cannot be written whole is cut back off and lost; every file starts with its header;
// the operator sees string 555 while rows fail, and the files' log keeps why, in the system's
// words, once for the stretch, and how many rows it lost.
TEST(TrendLog, WholeRowsUnderTheHeaderAndTheReasonOfAStretchOfFailures)
{
    const QByteArray head = "\"Control data\"\r\n\"Date\",\"Time\",\"PV\",\r\n";
    const auto row = [](int n) { return "\"d\",\"t" + QByteArray::number(n) + "\",\"1.0\",\r\n"; };
    // Step n (0 starts the run): w writes row n, c with room for 5 bytes, f with none; g takes the
    // Logging folder away, b makes it again. The file keeps the header and the rows `kept`.
    const struct {
        const char* steps;
        const char* kept;
        int reason, lost; // of the one stretch of failures: its errno, the rows it lost
    } cases[] = {
        {"wcww", "023", EFBIG, 1},   // a row cut short mid-run
        {"cfww", "23", EFBIG, 2},    // the disk full before the first row
        {"wgwbww", "45", ENOENT, 1}, // the folder gone mid-run and made again
    };
    for (const auto& c : cases) {
        LogCapture capture("qmx.files");
        QTemporaryDir dir;
        const QString path = Make_LogName(dir.path(), kFirst);
        const QString folder = dir.filePath(QStringLiteral("Logging"));
        TrendLog log;
        QByteArray want = head;
        for (int n = 0; c.steps[n]; ++n) {
            const char step = c.steps[n];
            if (step == 'g' || step == 'b') {
                ASSERT_TRUE(step == 'g' ? QDir(folder).removeRecursively() : QDir().mkpath(folder));
                continue;
            }
            std::optional<FileSizeLimit> full;
            if (step != 'w')
                full.emplace(rlim_t(QFileInfo(path).size() + (step == 'c' ? 5 : 0)));
            QString why;
            const bool ok = n == 0 ? log.start(path, head, row(n), &why) : log.append(row(n), &why);
            EXPECT_EQ(why.isEmpty(), ok) << c.steps << n;
            if (std::strchr(c.kept, '0' + n))
                want += row(n);
        }
        EXPECT_EQ(bytesOf(path).toStdString(), want.toStdString()) << c.steps;
        capture.stop();
        const QStringList& said = capture.lines();
        ASSERT_EQ(said.size(), 2) << said.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(said[0].contains(path) &&
                    said[0].contains(QString::fromLocal8Bit(std::strerror(c.reason))))
            << said[0].toStdString();
        EXPECT_TRUE(said[1].contains(path) &&
                    said[1].endsWith(QStringLiteral("rows lost: %1").arg(c.lost)))
            << said[1].toStdString();
    }
}
