#include "files/setdata_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace qmx;

namespace {

QByteArray lines(const QList<QByteArray>& fields, const char* eol = "\r\n")
{
    QByteArray out;
    for (const auto& f : fields)
        out += f + eol;
    return out;
}

QList<QByteArray> standardFile(const QByteArray& marker = "\"QMX-400\"", int values = 55)
{
    QList<QByteArray> f{marker, "0", "1", "0", "2", "0", "1", "0"};
    for (int k = 0; k < values; ++k)
        f << QByteArray::number(k * 7 - 100);
    return f;
}

// Data with every field set to a recognisable value, to see what a failed load touched.
QmxData sentinelData()
{
    QmxData d;
    for (int i = 11; i <= 68; ++i)
        d.ParaVal(i) = 4242;
    d.FileModel = "before";
    d.FileHead = 9;
    d.OptSet_Alarm2 = d.OptSet_HeatCool = d.OptSet_HB = 9;
    d.OptSet_SVsel = d.OptSet_OutType = d.OptSet_Comm = 9;
    return d;
}

} // namespace

TEST(SetDataFile, FreshDefaultSetSavesAsSixtyThreeLines)
{
    QmxData d;
    d.Set_Defaults();
    const QByteArray text = formatSetData(d);
    const QList<QByteArray> l = text.split('\n');
    ASSERT_EQ(l.size(), 64); // 63 lines and the empty rest after the last line end
    EXPECT_TRUE(l.last().isEmpty());
    EXPECT_EQ(l[0], "\"\"\r");
    EXPECT_EQ(l[1], "0\r");
    EXPECT_EQ(l[8], "0\r");   // item 11
    EXPECT_EQ(l[10], "10\r"); // item 13
    EXPECT_EQ(l[22], "1370\r");
    EXPECT_EQ(l[23], "-200\r");
    EXPECT_EQ(l[62], "0\r"); // item 65
    EXPECT_EQ(text.count("\r\n"), 63);
    EXPECT_EQ(text.count('\n'), 63);
}

TEST(SetDataFile, MarkerFollowsTheInfraredFlag)
{
    QmxData d;
    EXPECT_EQ(setDataMarker(d), "");
    d.ModelName = "QMX-400";
    EXPECT_EQ(setDataMarker(d), "QMX-400");
    d.ModelName.clear();
    d.RDModel = true; // an infrared set saved before going online keeps its item 66
    EXPECT_EQ(setDataMarker(d), "RDQMX");
    EXPECT_EQ(formatSetData(d).count("\r\n"), 64);
}

TEST(SetDataFile, RoundTripsStandardAndInfraredSets)
{
    for (bool rd : {false, true}) {
        QmxData d;
        d.Set_Defaults();
        d.RDModel = rd;
        d.ModelName = rd ? "RDQMX" : "QMX-400";
        d.OptSet_HeatCool = 1;
        d.OptSet_OutType = 2;
        d.OptSet_Comm = 1;
        d.ParaVal(11) = -32768;
        d.ParaVal(65) = 32767;
        d.ParaVal(66) = 975;
        const auto s = parseSetData(formatSetData(d));
        ASSERT_TRUE(s);
        QmxData back;
        back.ParaVal(66) = 1;
        applySetData(back, *s, true);
        EXPECT_EQ(back.RDModel, rd);
        EXPECT_EQ(back.RDModelFile, rd);
        EXPECT_EQ(back.FileModel, rd ? "RDQMX" : "QMX-400");
        EXPECT_EQ(back.OptSet_HeatCool, 1);
        EXPECT_EQ(back.OptSet_OutType, 2);
        EXPECT_EQ(back.OptSet_Comm, 1);
        for (int i = 11; i <= 65; ++i)
            EXPECT_EQ(back.ParaVal(i), d.ParaVal(i)) << i;
        EXPECT_EQ(back.ParaVal(66), rd ? 975 : 1); // a standard file leaves item 66 alone
    }
}

TEST(SetDataFile, ReadingRules)
{
    // LF-only line ends, blanks around numbers, commas ending fields.
    auto s = parseSetData(lines(standardFile(), "\n"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->values[0], -100);
    EXPECT_EQ(s->opt[2], 2);

    QList<QByteArray> f = standardFile();
    f[8] = " -200 ";
    f[9] = "+1370";
    s = parseSetData(lines(f));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->values[0], -200);
    EXPECT_EQ(s->values[1], 1370);

    QByteArray commas = "\"QMX-400\",0,1,0,2,0,1,0\r\n";
    for (int k = 0; k < 55; ++k)
        commas += QByteArray::number(k) + (k % 2 ? "\r\n" : ",");
    s = parseSetData(commas);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->values[54], 54);

    // A 64-line file marked as the standard model loads its 55 values; the rest is ignored.
    s = parseSetData(lines(standardFile("\"QMX-400\"", 56)));
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->infrared);
    // The marker is compared exactly.
    s = parseSetData(lines(standardFile("\"rdqmx\"", 56)));
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->infrared);
    // A file an editor saved with a byte-order mark, or with blanks around the marker, keeps it.
    for (const QByteArray& marker : {QByteArray("\xEF\xBB\xBF\"RDQMX\""), QByteArray(" RDQMX ")}) {
        s = parseSetData(lines(standardFile(marker, 56)));
        ASSERT_TRUE(s);
        EXPECT_TRUE(s->infrared) << marker.toStdString();
        EXPECT_EQ(s->model, "RDQMX");
    }
}

TEST(SetDataFile, HeaderWordOneClearsTheOptionsOnlyForTheMenuLoad)
{
    QList<QByteArray> f = standardFile();
    f[1] = "1";
    const auto s = parseSetData(lines(f));
    ASSERT_TRUE(s);
    QmxData menu, startup;
    applySetData(menu, *s, true);
    applySetData(startup, *s, false);
    EXPECT_EQ(menu.FileHead, 1);
    EXPECT_EQ(menu.OptSet_Alarm2 | menu.OptSet_HB | menu.OptSet_OutType, 0);
    EXPECT_EQ(startup.OptSet_HB, 2);
    EXPECT_EQ(startup.OptSet_OutType, 1);
}

TEST(SetDataFile, MalformedFilesChangeNothing)
{
    QList<QByteArray> nonNumber = standardFile();
    nonNumber[20] = "12a";
    QList<QByteArray> tooBig = standardFile();
    tooBig[30] = "40000";
    QList<QByteArray> decimal = standardFile();
    decimal[9] = "1.5";
    QList<QByteArray> emptyField = standardFile();
    emptyField[40] = "";
    QList<QByteArray> badHeader = standardFile();
    badHeader[1] = "x";

    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"5 lines", lines(standardFile().mid(0, 5))},
        {"30 lines", lines(standardFile().mid(0, 30))},
        {"non-number", lines(nonNumber)},
        {"40000", lines(tooBig)},
        {"decimal", lines(decimal)},
        {"empty field", lines(emptyField)},
        {"bad header", lines(badHeader)},
        {"binary", QByteArray("\x00\xff\x13\x02garbage\x00\r\n\x7f", 16).repeated(40)},
        {"63 lines marked RDQMX", lines(standardFile("\"RDQMX\"", 55))},
    };
    for (const auto& c : cases) {
        QString why;
        EXPECT_FALSE(parseSetData(c.bytes, &why)) << c.name;
        EXPECT_FALSE(why.isEmpty()) << c.name;
    }

    // Through the file reader: nothing reaches the data when a file fails.
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.dat");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(lines(standardFile().mid(0, 30)));
    out.close();
    SetDataError err = SetDataError::None;
    QString why;
    EXPECT_FALSE(readSetDataFile(path, &err, &why));
    EXPECT_EQ(err, SetDataError::Malformed);
    EXPECT_TRUE(why.contains("line 30")) << why.toStdString(); // where the file ends
    EXPECT_FALSE(readSetDataFile(dir.filePath("missing.dat"), &err));
    EXPECT_EQ(err, SetDataError::NotFound);
}

TEST(SetDataFile, AtomicSaveKeepsTheOldFileOnFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.dat");
    QmxData d;
    d.Set_Defaults();
    ASSERT_TRUE(writeSetDataFile(path, d));
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), formatSetData(d));
    in.close();

    // A folder that does not exist cannot take the file: the save says so.
    QString why;
    EXPECT_FALSE(writeSetDataFile(dir.filePath("no/such/dir/set.dat"), d, &why));
    EXPECT_FALSE(why.isEmpty());

    // Reading the saved file back gives the same set.
    const auto s = readSetDataFile(path);
    ASSERT_TRUE(s);
    QmxData back = sentinelData();
    applySetData(back, *s, true);
    for (int i = 11; i <= 65; ++i)
        EXPECT_EQ(back.ParaVal(i), d.ParaVal(i));
    EXPECT_EQ(back.ParaVal(66), 4242);
}
