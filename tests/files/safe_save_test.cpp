// Whole-file saves on a file system that fills up: either the whole new file or the old one
// untouched, the system's reason told, nothing left behind.
#include "file_size_limit.h"
#include "files/safe_save.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
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
    const QByteArray oldBytes(c.oldSize, 'o'), newBytes(c.newSize, 'n');
    ASSERT_TRUE(c.oldSize == 0 || qmx::saveWholeFile(path, oldBytes));
    QString why;
    bool ok = false;
    {
        std::unique_ptr<FileSizeLimit> full;
        if (c.room > 0)
            full = std::make_unique<FileSizeLimit>(c.room);
        ok = qmx::saveWholeFile(path, newBytes, &why);
    }
    EXPECT_EQ(ok, c.saved) << c.what;
    // On failure the system's own words, the text the C library gives for the error.
    EXPECT_EQ(why, c.saved ? QString() : QString::fromLocal8Bit(std::strerror(EFBIG))) << c.what;
    EXPECT_EQ(contentOf(path), c.saved         ? newBytes
                               : c.oldSize > 0 ? oldBytes
                                               : "<unreadable>")
        << c.what;
    // No temporary file stays behind, whatever happened.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              c.oldSize > 0 || c.saved ? QStringList{"set.dat"} : QStringList{})
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Saves, SafeSaveRun,
    ::testing::Values(SaveCase{"room enough replaces the old file", 500, 400, 0, true},
                      SaveCase{"a new file where there was none", 0, 400, 0, true},
                      SaveCase{"just room enough", 500, 400, 400, true},
                      // A small file stays in the write buffer: only the flush sees the error.
                      SaveCase{"full at the flush keeps the old file", 500, 400, 100, false},
                      SaveCase{"full at the write keeps the old file", 500, 200000, 100, false},
                      SaveCase{"full with no old file leaves nothing", 0, 400, 100, false}));

} // namespace
