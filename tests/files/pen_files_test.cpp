#include "files/pen_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <tuple>

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

// Little-endian records written out by hand, the way another program reads the file: five of
// 32 bits, then six of 16 bits padded to four bytes.
QByteArray le32(uint32_t v)
{
    QByteArray b;
    for (int shift : {0, 8, 16, 24})
        b.append(char(v >> shift & 0xFF));
    return b;
}
QByteArray le16(uint16_t v)
{
    return QByteArray(1, char(v & 0xFF)) + char(v >> 8 & 0xFF) + QByteArray(2, '\0');
}

QByteArray fileOf(uint32_t color, int mode, int cycle, int high, int low, int trace, int run,
                  int r8, int r9, int r10, int div)
{
    return le32(color) + le32(uint32_t(mode)) + le32(uint32_t(cycle)) + le32(uint32_t(high)) +
           le32(uint32_t(low)) + le16(uint16_t(trace)) + le16(uint16_t(run)) + le16(uint16_t(r8)) +
           le16(uint16_t(r9)) + le16(uint16_t(r10)) + le16(uint16_t(div));
}

} // namespace

TEST(PenFiles, StartUpWithoutFilesWritesTheDefaultsByteForByte)
{
    QTemporaryDir dir;
    ChartSettings s;
    s.ChartItv = 40;
    EXPECT_TRUE(loadPenFiles(dir.path(), s).empty());
    // Magenta, green, blue and pink as 0x00BBGGRR; middle span, 5 s, 400..0, traced, 4 divisions.
    const uint32_t colors[4] = {0xFF00FF, 0x00C000, 0x0000FF, 0xFF8080};
    for (int pen = 0; pen < 4; ++pen)
        EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("QMX%1.txt").arg(pen + 1))),
                  fileOf(colors[pen], 2, 5, 400, 0, 1, 0, 0, 0, 1, 4))
            << pen;
    EXPECT_EQ(bytesOf(dir.filePath(QStringLiteral("QMX4.txt"))).left(4),
              QByteArray("\x80\x80\xFF\x00", 4));
    EXPECT_EQ(s.ChartItv, 5);
}

TEST(PenFiles, RecordsReadAndDamagedOnesTakeTheirDefaultsWithoutARewrite)
{
    // Read into settings that earlier files left at mode 1, cycle 33, 9 divisions: a damaged
    // record takes its default, not what was there.
    const struct {
        const char* what;
        QByteArray bytes;
        int32_t color, mode, cycle, high, low;
        int16_t trace, run, div;
    } rows[] = {
        {"every record valid", fileOf(0x123456, 0, 60, -200, -2000, 0, 1, 7, 8, 9, 10), 0x123456, 0,
         60, -200, -2000, 0, 1, 10},
        {"colour beyond 24 bits", fileOf(0x1000000, 1, 10, 500, 100, 0, 0, 0, 0, 1, 5), 0xFF, 1, 10,
         500, 100, 0, 0, 5},
        {"mode 3, cycle 0, divisions 11", fileOf(0xFF, 3, 0, 400, 0, 1, 0, 0, 0, 1, 11), 0xFF, 2, 5,
         400, 0, 1, 0, 4},
        {"cycle 61, flags 2 and 5", fileOf(0xFF, 0, 61, 400, 0, 2, 5, 0, 0, 1, 4), 0xFF, 0, 5, 400,
         0, 1, 0, 4},
        {"high under low", fileOf(0xFF, 2, 5, 100, 200, 1, 0, 0, 0, 1, 4), 0xFF, 2, 5, 400, 0, 1, 0,
         4},
        {"high out of range", fileOf(0xFF, 2, 5, 10001, 0, 1, 0, 0, 0, 1, 4), 0xFF, 2, 5, 400, 0, 1,
         0, 4},
        {"short: five records", fileOf(0xABCDEF, 0, 30, 300, 50, 1, 0, 0, 0, 1, 4).left(20),
         0xABCDEF, 0, 30, 300, 50, 1, 0, 4},
        {"empty", QByteArray(), 0xFF, 2, 5, 400, 0, 1, 0, 4},
    };
    for (const auto& r : rows) {
        QTemporaryDir dir;
        const QString p = penFilePath(dir.path(), 2);
        put(p, r.bytes);
        ChartSettings s;
        s.ChartXMode = 1, s.ChartItv = 33, s.ChartDiv = 9;
        applyPenFile(s, 2, readPenFile(p));
        EXPECT_EQ(s.PenColor, (std::array<int32_t, 4>{0xFF00FF, 0xC000, r.color, 0xFF8080}))
            << r.what;
        EXPECT_EQ(std::make_tuple(s.ChartXMode, s.ChartItv, s.ChartSH, s.ChartSL),
                  std::make_tuple(r.mode, r.cycle, r.high, r.low))
            << r.what;
        EXPECT_EQ(std::make_tuple(s.PenOn[2], s.PenOn[1], s.ChartRec7, s.ChartDiv),
                  std::make_tuple(r.trace, int16_t(1), r.run, r.div))
            << r.what;
        EXPECT_EQ(bytesOf(p), r.bytes) << r.what << ": reading never rewrites";
    }
}

TEST(PenFiles, AChangeWritesItsRecordsOnlyAndAShortOrMissingFileWhole)
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

    s.ChartItv = 12;
    s.PenColor[3] = 0x0A0B0C;
    const QString q = penFilePath(dir.path(), 3);
    const QByteArray whole = fileOf(0x0A0B0C, 2, 12, 1234, 0, 1, 0, 0, 0, 1, 4);
    ASSERT_TRUE(writePenRecords(q, penRecords(s, 3, 1, 0), penRecordBit(3)));
    EXPECT_EQ(bytesOf(q), whole) << "missing";
    put(q, QByteArray(10, '\x07'));
    ASSERT_TRUE(writePenRecords(q, penRecords(s, 3, 1, 0), penRecordBit(1)));
    EXPECT_EQ(bytesOf(q), whole) << "short";
}

TEST(PenFiles, AFolderThatCannotBeWrittenFailsWithAReasonAndStartUpGoesOn)
{
    // A plain file where the folder should be: no user, root included, can write below it.
    QTemporaryDir dir;
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    put(blocked, "x");
    QString why;
    EXPECT_FALSE(writePenRecords(penFilePath(blocked, 0), penRecords(ChartSettings{}, 0, 1, 0),
                                 kAllPenRecords, &why));
    EXPECT_FALSE(why.isEmpty());

    ChartSettings s;
    s.ChartItv = 40;
    const auto failures = loadPenFiles(blocked, s);
    EXPECT_EQ(failures.size(), 4u);
    EXPECT_EQ(s.ChartItv, 5); // defaults in memory
    EXPECT_EQ(s.PenColor, ChartSettings{}.PenColor);
    EXPECT_EQ(bytesOf(blocked), QByteArray("x"));

    // A folder under a pen file's name cannot be read as one.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("QMX1.txt")));
    const PenFileRead r = readPenFile(penFilePath(dir.path(), 0));
    EXPECT_EQ(r.status, PenFileRead::Status::Unreadable);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(PenFiles, StartUpTakesTheLastFileAndWritesTheMissingOnes)
{
    const struct {
        const char* what;
        std::array<int, 4> mode; // -1: the file is missing
        int want;
    } rows[] = {
        {"three with mode 0, the last missing", {0, 0, 0, -1}, 2},
        {"common records differ: the last counts", {0, 1, 0, 1}, 1},
        {"a missing middle file is overruled by later ones", {1, -1, 0, 0}, 0},
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
            const bool missing = r.mode[size_t(pen)] < 0;
            EXPECT_EQ(bytesOf(penFilePath(dir.path(), pen)).size(), 44) << r.what << pen;
            EXPECT_EQ(s.PenColor[size_t(pen)],
                      missing ? ChartSettings{}.PenColor[size_t(pen)] : 0x10 + pen)
                << r.what;
            EXPECT_EQ(s.PenOn[size_t(pen)], pen == 1 && !missing ? 0 : 1) << r.what;
        }
    }
}
