// The map-file reader: the forms the files come in, and every way a file is unusable.
#include "files/user_map_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

// Records 2 to 17 as the files write them: address 100 + k, number k.
QByteArray rest(const QByteArray& separator = "\r\n", int last = 17)
{
    QByteArray t;
    for (int k = 2; k <= last; ++k)
        t += separator + "\"SPC" + QByteArray::number(k) + "\"," + QByteArray::number(100 + k) +
             "," + QByteArray::number(k);
    return t;
}

struct ParseCase {
    const char* name;
    QByteArray text;
    bool usable;
    int address; // record 1's
    const char* label;
};

// Parameterised tests are listed by their case names.
void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.name;
}

const ParseCase kParses[] = {
    {"QuotedName", "\"SV1\",28,1" + rest(), true, 28, "SV1"},
    {"LinuxLineEnds", "\"SV1\",28,1" + rest("\n") + "\n", true, 28, "SV1"},
    {"AllOnOneLine", "\"SV1\",28,1" + rest(","), true, 28, "SV1"},
    {"BlankLinesBetween", "\"SV1\",28,1" + rest("\r\n\r\n"), true, 28, "SV1"},
    {"UnquotedWithSpaces", " SV one , 28 , 1" + rest(), true, 28, "SV one"},
    {"CommaInQuotes", "\"SV, one\",-1,1" + rest(), true, -1, "SV, one"},
    {"LargestValues", "a,2147483647,-32768" + rest(), true, 2147483647, "a"},
    {"MoreRecordsIgnored", "a,28,1" + rest() + "\r\nx,y,z", true, 28, "a"},
    {"SixteenRecords", "a,28,1" + rest("\r\n", 16), false, 0, ""},
    {"LastRecordCut", "a,28,1" + rest().chopped(3), false, 0, ""},
    {"HexAddress", "a,1C,1" + rest(), false, 0, ""},
    {"DecimalAddress", "a,28.5,1" + rest(), false, 0, ""},
    {"AddressTooLarge", "a,2147483648,1" + rest(), false, 0, ""},
    {"NumberTooLarge", "a,28,32768" + rest(), false, 0, ""},
    {"EmptyNumber", "a,28," + rest(), false, 0, ""},
};

class MapParse : public ::testing::TestWithParam<ParseCase> {};

} // namespace

TEST_P(MapParse, ReadsSeventeenRecordsOrNothing)
{
    const ParseCase& c = GetParam();
    const auto map = qmx::parseUserMap(c.text);
    ASSERT_EQ(map.has_value(), c.usable);
    if (!map)
        return;
    EXPECT_EQ((*map)[0].address, c.address);
    EXPECT_EQ((*map)[0].name, QLatin1String(c.label));
    EXPECT_EQ((*map)[16].address, 117);
    EXPECT_EQ((*map)[16].number, 17);
}

INSTANTIATE_TEST_SUITE_P(UserMap, MapParse, ::testing::ValuesIn(kParses),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MapFile, IsFoundWhateverTheCaseOfItsNameAndTheExactNameWins)
{
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& text) {
        QFile f(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write("dadrqmx2.dat", "a,28,1" + rest());
    EXPECT_TRUE(qmx::readUserMapFile(dir.path(), 2).has_value());
    EXPECT_TRUE(qmx::readUserMapFile(dir.path(), 7).has_value()); // any ROM but 1 uses file 2
    EXPECT_FALSE(qmx::readUserMapFile(dir.path(), 1).has_value());
    write("DADRQMX1.DAT", "short");
    write("DadrQMX1.DAT", "a,28,1" + rest());
    EXPECT_TRUE(qmx::readUserMapFile(dir.path(), 1).has_value());
}
