#include "files/pen_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace qmx;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& b)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(b);
}

// Little-endian bytes written out by hand, the way another program reads the file.
QByteArray le32(uint32_t v)
{
    QByteArray b;
    for (int shift : {0, 8, 16, 24})
        b.append(char(v >> shift & 0xFF));
    return b;
}
QByteArray le16(uint16_t v)
{
    QByteArray b;
    b.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF)).append('\0').append('\0');
    return b;
}

QByteArray fileOf(uint32_t color, int mode, int cycle, int high, int low, int trace, int run,
                  int r8, int r9, int r10, int div)
{
    return le32(color) + le32(uint32_t(mode)) + le32(uint32_t(cycle)) + le32(uint32_t(high)) +
           le32(uint32_t(low)) + le16(uint16_t(trace)) + le16(uint16_t(run)) + le16(uint16_t(r8)) +
           le16(uint16_t(r9)) + le16(uint16_t(r10)) + le16(uint16_t(div));
}

} // namespace

TEST(PenFiles, DefaultsWrittenWholeByteForByte)
{
    QTemporaryDir dir;
    ChartSettings s;
    const uint32_t colors[4] = {0xFF00FF, 0x00C000, 0x0000FF, 0xFF8080};
    for (int pen = 0; pen < 4; ++pen) {
        EXPECT_EQ(readPenFile(penFilePath(dir.path(), pen)).status, PenFileRead::Status::Missing);
        applyPenDefaults(s, pen);
        ASSERT_TRUE(writePenRecords(penFilePath(dir.path(), pen),
                                    penRecords(s, pen, s.PenOn[size_t(pen)], s.ChartRec7), 0));
        const QByteArray b = bytesOf(dir.filePath(QStringLiteral("QMX%1.txt").arg(pen + 1)));
        EXPECT_EQ(b, fileOf(colors[pen], 2, 5, 400, 0, 1, 0, 0, 0, 1, 4)) << pen;
    }
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("QMX1.txt"))).left(4),
              QByteArray("\xFF\x00\xFF\x00", 4));
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("QMX4.txt"))).left(4),
              QByteArray("\x80\x80\xFF\x00", 4));
}

TEST(PenFiles, RecordsReadBack)
{
    QTemporaryDir dir;
    const QString p = penFilePath(dir.path(), 1);
    put(p, fileOf(0x123456, 0, 60, -200, -2000, 0, 1, 7, 8, 9, 10));
    const PenFileRead r = readPenFile(p);
    ASSERT_EQ(r.status, PenFileRead::Status::Read);
    ASSERT_TRUE(r.complete());
    ChartSettings s;
    applyPenFile(s, 1, r);
    EXPECT_EQ(s.PenColor[1], 0x123456);
    EXPECT_EQ(s.PenColor[0], 0xFF00FF); // another pen's colour is not touched
    EXPECT_EQ(s.ChartXMode, 0);
    EXPECT_EQ(s.ChartItv, 60);
    EXPECT_EQ(s.ChartSH, -200);
    EXPECT_EQ(s.ChartSL, -2000);
    EXPECT_EQ(s.PenOn[1], 0);
    EXPECT_EQ(s.ChartRec7, 1);
    EXPECT_EQ(s.ChartRec8, 7);
    EXPECT_EQ(s.ChartRec9, 8);
    EXPECT_EQ(s.ChartRec10, 9);
    EXPECT_EQ(s.ChartDiv, 10);
}

TEST(PenFiles, DamagedRecordsTakeTheirDefaultsAndTheFileStays)
{
    const struct {
        const char* what;
        QByteArray bytes;
        ChartSettings want;
    } rows[] = {
        {"colour beyond 24 bits", fileOf(0x1000000, 1, 10, 500, 100, 0, 0, 0, 0, 1, 5),
         [] {
             ChartSettings s;
             s.ChartXMode = 1, s.ChartItv = 10, s.ChartSH = 500, s.ChartSL = 100, s.PenOn[2] = 0,
             s.ChartDiv = 5;
             return s;
         }()},
        {"mode 3, cycle 0, divisions 11", fileOf(0xFF, 3, 0, 400, 0, 1, 0, 0, 0, 1, 11),
         ChartSettings{}},
        {"cycle 61, flag 2", fileOf(0xFF, 0, 61, 400, 0, 2, 5, 0, 0, 1, 4),
         [] {
             ChartSettings s;
             s.ChartXMode = 0;
             return s;
         }()},
        {"high under low", fileOf(0xFF, 2, 5, 100, 200, 1, 0, 0, 0, 1, 4), ChartSettings{}},
        {"high out of range", fileOf(0xFF, 2, 5, 10001, 0, 1, 0, 0, 0, 1, 4), ChartSettings{}},
        {"short: five records", fileOf(0xABCDEF, 0, 30, 300, 50, 1, 0, 0, 0, 1, 4).left(20),
         [] {
             ChartSettings s;
             s.PenColor[2] = 0xABCDEF, s.ChartXMode = 0, s.ChartItv = 30, s.ChartSH = 300,
             s.ChartSL = 50;
             return s;
         }()},
        {"empty", QByteArray(), ChartSettings{}},
    };
    for (const auto& r : rows) {
        QTemporaryDir dir;
        const QString p = penFilePath(dir.path(), 2);
        put(p, r.bytes);
        ChartSettings s;
        s.ChartXMode = 1, s.ChartItv = 33, s.ChartDiv = 9; // loaded from an earlier file
        applyPenFile(s, 2, readPenFile(p));
        EXPECT_EQ(s.PenColor, r.want.PenColor) << r.what;
        EXPECT_EQ(s.ChartXMode, r.want.ChartXMode) << r.what;
        EXPECT_EQ(s.ChartItv, r.want.ChartItv) << r.what;
        EXPECT_EQ(s.ChartSH, r.want.ChartSH) << r.what;
        EXPECT_EQ(s.ChartSL, r.want.ChartSL) << r.what;
        EXPECT_EQ(s.PenOn, r.want.PenOn) << r.what;
        EXPECT_EQ(s.ChartRec7, r.want.ChartRec7) << r.what;
        EXPECT_EQ(s.ChartDiv, r.want.ChartDiv) << r.what;
        EXPECT_EQ(bytesOf(p), r.bytes) << r.what << ": reading never rewrites";
    }
}

TEST(PenFiles, ARecordWriteChangesThatRecordOnly)
{
    QTemporaryDir dir;
    const QString p = penFilePath(dir.path(), 0);
    const QByteArray before = fileOf(0x111111, 0, 7, 300, 20, 1, 0, 5, 6, 7, 3) + "tail";
    put(p, before);
    ChartSettings s;
    s.ChartSH = 1234;
    ASSERT_TRUE(writePenRecords(p, penRecords(s, 0, 0, 1), penRecordBit(4)));
    QByteArray want = before;
    want.replace(12, 4, le32(1234));
    EXPECT_EQ(bytesOf(p), want);

    ASSERT_TRUE(writePenRecords(p, penRecords(s, 0, 0, 1), penRecordBit(6) | penRecordBit(7)));
    want.replace(20, 8, le16(0) + le16(1));
    EXPECT_EQ(bytesOf(p), want);
}

TEST(PenFiles, AShortOrMissingFileIsWrittenWhole)
{
    QTemporaryDir dir;
    const QString p = penFilePath(dir.path(), 3);
    ChartSettings s;
    s.ChartItv = 12;
    s.PenColor[3] = 0x0A0B0C;
    const QByteArray whole = fileOf(0x0A0B0C, 2, 12, 400, 0, 1, 0, 0, 0, 1, 4);

    ASSERT_TRUE(writePenRecords(p, penRecords(s, 3, 1, 0), penRecordBit(3)));
    EXPECT_EQ(bytesOf(p), whole) << "missing";

    put(p, QByteArray(10, '\x07'));
    ASSERT_TRUE(writePenRecords(p, penRecords(s, 3, 1, 0), penRecordBit(1)));
    EXPECT_EQ(bytesOf(p), whole) << "short";
}

TEST(PenFiles, AFolderThatCannotBeWrittenFailsWithAReason)
{
    // A plain file where the folder should be: no user, root included, can write below it.
    QTemporaryDir dir;
    put(dir.filePath(QStringLiteral("blocked")), "x");
    const QString p = penFilePath(dir.filePath(QStringLiteral("blocked")), 0);
    QString why;
    EXPECT_FALSE(writePenRecords(p, penRecords(ChartSettings{}, 0, 1, 0), kAllPenRecords, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("blocked"))), QByteArray("x"));
}

TEST(PenFiles, AnUnreadableFileIsToldApart)
{
    // A folder under a pen file's name cannot be read as one.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("QMX1.txt")));
    const PenFileRead r = readPenFile(penFilePath(dir.path(), 0));
    EXPECT_EQ(r.status, PenFileRead::Status::Unreadable);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(PenFiles, StartUpLoadsTheLastFileAndWritesTheMissingOnes)
{
    const struct {
        const char* what;
        std::array<int, 4> mode; // -1: the file is missing
        int want;
        std::array<bool, 4> written;
    } rows[] = {
        {"none at all", {-1, -1, -1, -1}, 2, {true, true, true, true}},
        {"three with mode 0, the last missing", {0, 0, 0, -1}, 2, {false, false, false, true}},
        {"common records differ: the last counts", {0, 1, 0, 1}, 1, {false, false, false, false}},
        {"a missing middle file is overruled by later ones",
         {1, -1, 0, 0},
         0,
         {false, true, false, false}},
    };
    for (const auto& r : rows) {
        QTemporaryDir dir;
        for (int pen = 0; pen < 4; ++pen)
            if (r.mode[size_t(pen)] >= 0)
                put(penFilePath(dir.path(), pen),
                    fileOf(0x10 + uint32_t(pen), r.mode[size_t(pen)], 5, 400, 0, pen == 1 ? 0 : 1,
                           0, 0, 0, 1, 4));
        ChartSettings s;
        EXPECT_TRUE(loadPenFiles(dir.path(), s).empty()) << r.what;
        EXPECT_EQ(s.ChartXMode, r.want) << r.what;
        for (int pen = 0; pen < 4; ++pen) {
            const QByteArray b = bytesOf(penFilePath(dir.path(), pen));
            EXPECT_EQ(b.size(), 44) << r.what << " pen " << pen;
            const int32_t want =
                r.written[size_t(pen)] ? ChartSettings{}.PenColor[size_t(pen)] : 0x10 + pen;
            EXPECT_EQ(s.PenColor[size_t(pen)], want) << r.what;
        }
        if (!r.written[1]) {
            EXPECT_EQ(s.PenOn[1], 0) << r.what;
        }
    }
}

TEST(PenFiles, StartUpGoesOnPastFilesItCannotUse)
{
    QTemporaryDir dir;
    put(dir.filePath(QStringLiteral("blocked")), "x");
    ChartSettings s;
    s.ChartItv = 40;
    const auto failures = loadPenFiles(dir.filePath(QStringLiteral("blocked")), s);
    EXPECT_EQ(failures.size(), 4u);
    EXPECT_EQ(s.ChartItv, 5); // defaults in memory
    EXPECT_EQ(s.PenColor, ChartSettings{}.PenColor);
}
