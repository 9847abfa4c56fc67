// The export's text: quoting, the block of one export and the default name.
#include "rules/para_csv.h"

#include "model/string_table.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace qmx;

// RFC 4180: every field between double quotes, a quote inside doubled, a line break kept inside.
TEST(ParaCsv, RecordsAreQuotedAsRfc4180Says)
{
    const struct {
        QStringList fields;
        const char* record;
    } cases[] = {
        {{""}, "\"\"\r\n"},
        {{"-0.5"}, "\"-0.5\"\r\n"},
        {{"a,b"}, "\"a,b\"\r\n"},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\"\r\n"},
        {{"\""}, "\"\"\"\"\r\n"},
        {{"two\r\nlines"}, "\"two\r\nlines\"\r\n"},
        {{"a", "", "c "}, "\"a\",\"\",\"c \"\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(csvRecord(c.fields), QString::fromUtf8(c.record)) << c.record;
}

// A Japanese block is UTF-8 without a byte-order mark, ends every line in CR LF, has the
// operator's language's heading and only the flagged rows, in row order.
TEST(ParaCsv, BlockIsUtf8WithFlaggedRowsInOrder)
{
    setUiLanguage(Language::Japanese);
    ReportRows r;
    for (int k : {60, 2, 40}) {
        r.RptFlag[size_t(k)] = true;
        r.RptItem[size_t(k)] = QStringLiteral("項目%1").arg(k);
        r.RptData[size_t(k)] = QStringLiteral("v\"%1").arg(k);
        r.RptUnit[size_t(k)] = QStringLiteral("℃");
    }
    r.RptItem[7] = QStringLiteral("not flagged");
    const QByteArray block = paraCsvBlock(r);
    setUiLanguage(Language::English);
    EXPECT_FALSE(block.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(block.count("\n"), block.count("\r\n"));
    EXPECT_TRUE(QString::fromUtf8(block).contains(LoadResString(792, Language::Japanese)));
    EXPECT_TRUE(block.endsWith(QStringLiteral("\"項目2\",\"v\"\"2\",\"℃\"\r\n"
                                              "\"項目40\",\"v\"\"40\",\"℃\"\r\n"
                                              "\"項目60\",\"v\"\"60\",\"℃\"\r\n")
                                   .toUtf8()));
    EXPECT_FALSE(block.contains("not flagged"));
}

TEST(ParaCsv, DefaultNameHasNoLeadingZeros)
{
    EXPECT_EQ(Make_CsvName(QStringLiteral("QMX-52C"), QDateTime(QDate(2026, 1, 5), QTime(9, 3, 7))),
              QStringLiteral("QMX-52C2026_1_5_9_3_7.csv"));
    EXPECT_EQ(Make_CsvName(QStringLiteral("P"), QDateTime(QDate(2030, 12, 31), QTime(23, 0, 59))),
              QStringLiteral("P2030_12_31_23_0_59.csv"));
}

// An export of the same second gets "-2", "-3" ...; a free name stays as it is.
TEST(ParaCsv, FreeNameNeverTakesATakenOne)
{
    const struct {
        QSet<QString> taken;
        const char* expect;
    } cases[] = {
        {{}, "A.csv"},
        {{"A.csv"}, "A-2.csv"},
        {{"A.csv", "A-2.csv"}, "A-3.csv"},
        {{"A-2.csv"}, "A.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(freeName(QStringLiteral("A.csv"),
                           [&](const QString& n) { return c.taken.contains(n); }),
                  QLatin1String(c.expect));
}
