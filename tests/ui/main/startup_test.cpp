// Start-up: the command line rule and the start-up file reader.
#include "app/startup.h"
#include "files/setdata_file.h"
#include "files/settings_store.h"
#include "model/qmx_data.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace qmx;

TEST(CommandLine, OnlyAPathEndingInLowerCaseDatIsTaken)
{
    const QString start = QStringLiteral("/home/op/work");
    const struct {
        QStringList words;
        const char* expected; // "" for none
    } cases[] = {
        {{QStringLiteral("/data/set1.dat")}, "/data/set1.dat"},
        {{QStringLiteral("set1.dat")}, "/home/op/work/set1.dat"},
        {{QStringLiteral("../sets/a.dat")}, "/home/op/sets/a.dat"},
        {{QStringLiteral("/data/my"), QStringLiteral("set.dat")},
         "/data/my set.dat"},                                 // split by an unquoted blank
        {{QStringLiteral("\"/data/q.dat\"")}, "/data/q.dat"}, // quotes kept by the caller
        {{QStringLiteral("a.dat")}, "/home/op/work/a.dat"},   // seven characters quoted
        {{QStringLiteral(".dat")}, ""},                       // six: treated as empty
        {{QStringLiteral("/data/SET1.DAT")}, ""},
        {{QStringLiteral("/data/set1.Dat")}, ""},
        {{QStringLiteral("/data/set1.txt")}, ""},
        {{QStringLiteral("/data/setdat")}, ""},
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandLineSetData(c.words, start), QLatin1String(c.expected))
            << c.words.join(QLatin1Char('|')).toStdString();
}

TEST(StartupFile, MissingBadAndGoodFiles)
{
    QTemporaryDir dir;
    auto write = [&dir](const char* name, const QStringList& lines) {
        QFile f(dir.filePath(QLatin1String(name)));
        f.open(QIODevice::WriteOnly);
        for (const QString& l : lines)
            f.write(l.toLatin1() + "\r\n");
        return f.fileName();
    };
    QStringList good{QStringLiteral("\"RDQMX\""), QStringLiteral("1"), QStringLiteral("1"),
                     QStringLiteral("0"),         QStringLiteral("4"), QStringLiteral("0"),
                     QStringLiteral("1"),         QStringLiteral("0")};
    for (int item = 11; item <= 66; ++item)
        good << QString::number(-item);
    QStringList bad = good;
    bad[20] = QStringLiteral("40000"); // does not fit 16 bits

    {
        QmxData d;
        EXPECT_EQ(loadStartupData(d, QString()), 0);
        EXPECT_EQ(d.ParaVal(25), defaultValue(25));
        EXPECT_FALSE(d.StartDataRead);
        EXPECT_FALSE(d.DataValid);
    }
    {
        QmxData d;
        EXPECT_EQ(loadStartupData(d, dir.filePath(QStringLiteral("none.dat"))), 39);
        EXPECT_EQ(d.ParaVal(25), defaultValue(25));
        EXPECT_FALSE(d.StartDataRead);
        EXPECT_FALSE(d.DataValid);
    }
    {
        QmxData d;
        EXPECT_EQ(loadStartupData(d, write("bad.dat", bad)), 27);
        EXPECT_EQ(d.ParaVal(11), defaultValue(11)); // nothing of the bad file
        EXPECT_EQ(d.OptSet_Alarm2, 0);
        EXPECT_FALSE(d.RDModel);
        EXPECT_FALSE(d.DataValid);
    }
    {
        QmxData d;
        EXPECT_EQ(loadStartupData(d, write("good.dat", good)), 0);
        EXPECT_TRUE(d.RDModel);
        EXPECT_TRUE(d.RDModelFile);
        EXPECT_EQ(d.ParaVal(66), -66);
        EXPECT_EQ(d.ParaVal(11), -11);
        // The start-up reader keeps header word 1 as it is.
        EXPECT_EQ(d.FileHead, 1);
        EXPECT_EQ(d.OptSet_Alarm2, 1);
        EXPECT_EQ(d.OptSet_HB, 4);
        EXPECT_TRUE(d.DataValid);
        EXPECT_TRUE(d.StartDataRead);
        EXPECT_TRUE(d.StartDataFile);
        EXPECT_FALSE(d.DataChanged);
        EXPECT_FALSE(d.SpecCheck);
    }
}

TEST(Folders, TheWorkingFoldersAreMade)
{
    QTemporaryDir dir;
    ASSERT_TRUE(prepareFolders(dir.path()));
    for (const char* sub : {"Logging", "Setdata", "csvdata"})
        EXPECT_TRUE(QDir(dir.filePath(QLatin1String(sub))).exists()) << sub;
    EXPECT_TRUE(prepareFolders(dir.path())); // again: nothing to do
}
