// Whole-file saves on a file system that fills up: the old file stays, the reason is told, nothing
// is left behind. Also the set-data readers' refusal of anything that is not a regular file.
#include "file_size_limit.h"
#include "files/safe_save.h"
#include "files/setdata_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <memory>

#include <sys/stat.h>

using namespace qmx;

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

struct SaveCase {
    const char* what;
    qsizetype oldSize; // 0: no old file
    qsizetype newSize;
    rlim_t room; // bytes a file may take; 0: no limit
    bool saved;
};

void PrintTo(const SaveCase& c, std::ostream* os)
{
    *os << c.what;
}

class SafeSaveRun : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SafeSaveRun, EitherTheWholeNewFileOrTheOldOneUntouched)
{
    const SaveCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("set.dat");
    const QByteArray oldBytes(c.oldSize, 'o');
    if (c.oldSize > 0) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(oldBytes), c.oldSize);
    }
    const QByteArray newBytes(c.newSize, 'n');

    QString why;
    bool ok = false;
    {
        std::unique_ptr<FileSizeLimit> full;
        if (c.room > 0) {
            full = std::make_unique<FileSizeLimit>(c.room);
            ASSERT_TRUE(full->ok());
        }
        ok = saveWholeFile(path, newBytes, &why);
    }

    EXPECT_EQ(ok, c.saved) << c.what;
    if (c.saved) {
        EXPECT_TRUE(why.isEmpty()) << c.what;
        EXPECT_EQ(contentOf(path), newBytes) << c.what;
    } else {
        // The system's own words: the same text the C library gives for the error.
        EXPECT_EQ(why, QString::fromLocal8Bit(std::strerror(EFBIG))) << c.what;
        if (c.oldSize > 0)
            EXPECT_EQ(contentOf(path), oldBytes) << c.what;
        else
            EXPECT_FALSE(QFile::exists(path)) << c.what;
    }
    // No temporary file stays behind, whatever happened.
    EXPECT_EQ(entries(dir.path()),
              c.oldSize > 0 || c.saved ? QStringList{"set.dat"} : QStringList{})
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Saves, SafeSaveRun,
    ::testing::Values(
        SaveCase{"room enough replaces the old file", 500, 400, 0, true},
        SaveCase{"a new file where there was none", 0, 400, 0, true},
        // The small file stays in the write buffer until the flush: only the flush sees the error.
        SaveCase{"full at the flush keeps the old file", 500, 400, 100, false},
        SaveCase{"full at the write keeps the old file", 500, 200000, 100, false},
        SaveCase{"full with no old file leaves nothing", 0, 400, 100, false},
        SaveCase{"just room enough", 500, 400, 400, true}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(SafeSave, AFolderThatDoesNotExistIsToldAndNothingIsWritten)
{
    QTemporaryDir dir;
    SafeSave file(dir.filePath("no/such/set.dat"));
    EXPECT_FALSE(file.open());
    EXPECT_FALSE(file.errorString().isEmpty());
    EXPECT_FALSE(file.write("x"));
    EXPECT_FALSE(file.commit());
}

TEST(SafeSave, AFileNeverCommittedLeavesTheOldOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.dat");
    ASSERT_TRUE(saveWholeFile(path, "old"));
    {
        SafeSave file(path);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("new, but abandoned"));
    }
    EXPECT_EQ(contentOf(path), QByteArray("old"));
    EXPECT_EQ(entries(dir.path()), QStringList{"set.dat"});
}

TEST(SetDataSave, AFullDiskKeepsTheOldSetDataFileAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.dat");
    QmxData d;
    d.Set_Defaults();
    ASSERT_TRUE(writeSetDataFile(path, d));
    const QByteArray before = contentOf(path);
    d.ParaVal(11) = 1234;
    QString why;
    {
        FileSizeLimit full(64);
        ASSERT_TRUE(full.ok());
        EXPECT_FALSE(writeSetDataFile(path, d, &why));
    }
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(contentOf(path), before);
}

TEST(SetDataRead, ANamedPipeIsRefusedWithoutOpeningIt)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.dat");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Opening a pipe with no writer would wait for ever: a return at all is half the test.
    SetDataError err = SetDataError::None;
    EXPECT_FALSE(readSetDataFile(fifo, &err));
    EXPECT_EQ(err, SetDataError::NotRegular);
    // A folder is no set-data file either.
    EXPECT_FALSE(readSetDataFile(dir.path(), &err));
    EXPECT_EQ(err, SetDataError::NotRegular);
}

} // namespace
