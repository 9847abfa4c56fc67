// The export's text: field quoting, records, the header block and the default name.
#include "rules/para_csv.h"

#include "model/string_table.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace qmx;

TEST(ParaCsv, FieldsAreQuotedAsRfc4180Says)
{
    const struct {
        const char *in, *out;
    } cases[] = {
        {"", "\"\""},
        {"1370", "\"1370\""},
        {"-0.5", "\"-0.5\""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"PV color changes continuously ", "\"PV color changes continuously \""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(csvField(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(ParaCsv, RecordEndsWithCrLf)
{
    EXPECT_EQ(csvRecord({QStringLiteral("a"), QString(), QStringLiteral("c")}),
              QStringLiteral("\"a\",\"\",\"c\"\r\n"));
    EXPECT_EQ(csvRecord({QStringLiteral("x")}), QStringLiteral("\"x\"\r\n"));
}

TEST(ParaCsv, HeaderOnlyWhenNoRowIsShown)
{
    setUiLanguage(Language::English);
    const ReportRows none;
    // The English title carries its own line break, so its record spans two lines.
    EXPECT_EQ(paraCsvBlock(none), QByteArray("\"QMX-52C Console Software\r\n\"\r\n"
                                             "\"Parameter\"\r\n"
                                             "\"Data Item\",\"Data\",\"Unit\"\r\n"));
}

TEST(ParaCsv, JapaneseIsUtf8WithoutByteOrderMark)
{
    setUiLanguage(Language::Japanese);
    const QByteArray block = paraCsvBlock(ReportRows{});
    setUiLanguage(Language::English);
    EXPECT_EQ(block, QStringLiteral("\"QMX-52C コンソールソフトウェア\"\r\n\"パラメータ\"\r\n"
                                    "\"データ項目\",\"データ\",\"単位\"\r\n")
                         .toUtf8());
    EXPECT_FALSE(block.startsWith("\xEF\xBB\xBF"));
}

TEST(ParaCsv, FlaggedRowsInRowOrder)
{
    setUiLanguage(Language::English);
    ReportRows r;
    for (int k : {60, 2, 40}) {
        r.RptFlag[size_t(k)] = true;
        r.RptItem[size_t(k)] = QStringLiteral("item %1").arg(k);
        r.RptData[size_t(k)] = QStringLiteral("v\"%1").arg(k);
    }
    r.RptItem[7] = QStringLiteral("not flagged");
    const QByteArray block = paraCsvBlock(r);
    EXPECT_TRUE(block.endsWith("\"item 2\",\"v\"\"2\",\"\"\r\n"
                               "\"item 40\",\"v\"\"40\",\"\"\r\n"
                               "\"item 60\",\"v\"\"60\",\"\"\r\n"));
    EXPECT_FALSE(block.contains("not flagged"));
}

TEST(ParaCsv, DefaultNameHasNoLeadingZeros)
{
    const struct {
        int y, mo, d, h, mi, s;
        const char* name;
    } cases[] = {
        {2026, 1, 5, 9, 3, 7, "QMX-52C2026_1_5_9_3_7.csv"},
        {2026, 12, 31, 23, 59, 59, "QMX-52C2026_12_31_23_59_59.csv"},
        {2027, 2, 1, 0, 0, 0, "QMX-52C2027_2_1_0_0_0.csv"},
        {2030, 10, 10, 10, 10, 10, "QMX-52C2030_10_10_10_10_10.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Make_CsvName(QStringLiteral("QMX-52C"),
                               QDateTime(QDate(c.y, c.mo, c.d), QTime(c.h, c.mi, c.s))),
                  QLatin1String(c.name));
}

TEST(ParaCsv, FreeNameNeverTakesATakenOne)
{
    const struct {
        QSet<QString> taken;
        const char* expect;
    } cases[] = {
        {{}, "A2026_1_5_9_3_7.csv"},
        {{"A2026_1_5_9_3_7.csv"}, "A2026_1_5_9_3_7-2.csv"},
        {{"A2026_1_5_9_3_7.csv", "A2026_1_5_9_3_7-2.csv"}, "A2026_1_5_9_3_7-3.csv"},
        {{"A2026_1_5_9_3_7-2.csv"}, "A2026_1_5_9_3_7.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(freeName(QStringLiteral("A2026_1_5_9_3_7.csv"),
                           [&](const QString& n) { return c.taken.contains(n); }),
                  QLatin1String(c.expect));
}
