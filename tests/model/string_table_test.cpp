#include "model/string_table.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QSet>

using namespace qmx;

namespace {

QSet<int> presentNumbers()
{
    // Everything from 1 to 803 except the numbers no screen ever asks for.
    const std::pair<int, int> absent[] = {
        {36, 38},   {51, 51},   {199, 199}, {272, 273}, {296, 296}, {334, 334},
        {343, 349}, {364, 365}, {371, 373}, {375, 379}, {385, 399}, {402, 410},
        {415, 449}, {457, 499}, {518, 519}, {521, 531}, {536, 549}, {560, 657},
        {684, 684}, {688, 699}, {703, 713}, {720, 749}, {786, 786}};
    QSet<int> s;
    for (int n = 1; n <= 803; ++n)
        s.insert(n);
    for (auto [a, b] : absent)
        for (int n = a; n <= b; ++n)
            s.remove(n);
    return s;
}

QHash<int, QString> loadFile(const QString& name)
{
    QFile f(QStringLiteral(QMX_SOURCE_DIR "/resources/strings/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    QHash<int, QString> t;
    QString err;
    EXPECT_TRUE(parseStringTable(f.readAll(), t, &err)) << err.toStdString();
    return t;
}

} // namespace

TEST(StringTable, BothLanguagesHoldExactlyThePresentNumbers)
{
    const QSet<int> want = presentNumbers();
    ASSERT_EQ(want.size(), 495);
    for (auto lang : {Language::English, Language::Japanese}) {
        const QList<int> ids = stringNumbers(lang);
        EXPECT_EQ(QSet<int>(ids.begin(), ids.end()), want);
    }
}

TEST(StringTable, EnglishTextsAsTheControllerManualWritesThem)
{
    const struct {
        int id;
        const char* text;
    } rows[] = {
        {1, "DFX-QMX07K"},
        {72, "PV color changes continuously "},
        {184, " Not added"},
        {233, "Setting item selection "},
        {215, "deg.C"},
        {451, "Communication error"},
        {718, "While online, set values can be  changed after uploading."},
        {791, "QMX-52C Console Software\r\n"},
        {803, "Online communication is impossible since specifications of the controller and "
              "data on the main display do not match.\r\n"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(LoadResString(r.id, Language::English), QString::fromUtf8(r.text)) << r.id;
}

TEST(StringTable, GivenJapaneseTexts)
{
    const struct {
        int id;
        const char* text;
    } rows[] = {
        {3, "ファイル(&F)"},
        {41, "メイン画面"},
        {56, "本モニタソフトは、既に起動しています。"},
        {74, "オンライン"},
        {75, "オフライン"},
        {95, "本コンソールソフトを終了します。よろしいですか？"},
        {215, "℃"},
        {216, "゜F"},
        {335, "℃／分"},
        {338, "%／分"},
        {374, "秒"},
        {401, "分"},
        {451, "通信異常"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(LoadResString(r.id, Language::Japanese), QString::fromUtf8(r.text)) << r.id;
}

TEST(StringTable, JapaneseIsCompleteAndKeepsTheLineBreaks)
{
    const auto en = loadFile(QStringLiteral("en.tsv"));
    const auto ja = loadFile(QStringLiteral("ja.tsv"));
    for (auto it = ja.cbegin(); it != ja.cend(); ++it)
        EXPECT_FALSE(it->trimmed().isEmpty()) << it.key();
    // The English export title breaks its line; the Japanese one stays on one line.
    EXPECT_FALSE(ja.value(791).contains(u'\n'));
    EXPECT_TRUE(ja.value(803).endsWith(QLatin1String("\r\n")));
    EXPECT_NE(ja.value(2), en.value(2)); // the help file is chosen by this text
    // Entries that must stay as they are: codes, names and "*".
    for (int id : {1, 22, 23, 26, 77, 78, 79, 80, 100, 102})
        EXPECT_EQ(ja.value(id), en.value(id)) << id;
}

TEST(StringTable, EscapesRoundTrip)
{
    QHash<int, QString> t;
    ASSERT_TRUE(parseStringTable("1\t  lead and trail  \n2\ta\\r\\nb\\tc\\\\d\n3\t\\q\n", t));
    EXPECT_EQ(t.value(1), "  lead and trail  ");
    EXPECT_EQ(t.value(2), "a\r\nb\tc\\d");
    EXPECT_EQ(t.value(3), "\\q"); // an unknown escape stays as written

    for (const char* bad : {"x\ttext\n", "1 text\n", "1\ta\n1\tb\n", "0\tzero\n"})
        EXPECT_FALSE(parseStringTable(bad, t)) << bad;
    EXPECT_TRUE(t.isEmpty());
}

TEST(StringTable, AbsentNumberGivesAVisibleMarker)
{
    EXPECT_EQ(LoadResString(999, Language::English), "#STR 999#");
    EXPECT_EQ(LoadResString(36, Language::Japanese), "#STR 36#");
    EXPECT_EQ(LoadResString(0), "#STR 0#");
}

TEST(StringTable, LanguageCanBePinned)
{
    setUiLanguage(Language::Japanese);
    EXPECT_EQ(LoadResString(451), QString::fromUtf8("通信異常"));
    setUiLanguage(Language::English);
    EXPECT_EQ(LoadResString(451), "Communication error");
}
