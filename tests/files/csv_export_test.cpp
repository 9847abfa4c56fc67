// Writing an export: a block goes after what the file holds, and a failure leaves the file as it
// was.
#include "files/csv_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using namespace qmx;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

TEST(CsvExport, NewFileThenAppendedBlock)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.csv"));
    QString why;
    ASSERT_TRUE(appendCsvBlock(path, "\"one\"\r\n", &why)) << why.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("\"one\"\r\n"));
    ASSERT_TRUE(appendCsvBlock(path, "\"two\"\r\n", &why)) << why.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("\"one\"\r\n\"two\"\r\n"));
    // Nothing is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("a.csv")});
}

TEST(CsvExport, FailuresLeaveTheFileAsItWas)
{
    QTemporaryDir dir;
    QString why;
    // A folder in the way.
    const QString folder = dir.filePath(QStringLiteral("x.csv"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(appendCsvBlock(folder, "\"x\"\r\n", &why));
    EXPECT_FALSE(why.isEmpty());
    // A missing folder.
    why.clear();
    EXPECT_FALSE(appendCsvBlock(dir.filePath(QStringLiteral("no/such.csv")), "x", &why));
    EXPECT_FALSE(why.isEmpty());
}

// A read-only file keeps its content (root may write anything, so this needs another user).
TEST(CsvExport, ReadOnlyFileIsLeftAlone)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files";
    QTemporaryDir dir;
    QString why;
    const QString ro = dir.filePath(QStringLiteral("ro.csv"));
    writeAll(ro, "kept\r\n");
    QFile::setPermissions(ro, QFile::ReadOwner);
    why.clear();
    EXPECT_FALSE(appendCsvBlock(ro, "\"new\"\r\n", &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(readAll(ro), QByteArray("kept\r\n"));
}
