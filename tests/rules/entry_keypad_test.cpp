// The numeric entry built key by key, what it shows, and the OK step's verdict.
#include "rules/entry_keypad.h"
#include "rules/entry_range.h"

#include "model/qmx_data.h"

#include <gtest/gtest.h>

using namespace qmx;

namespace {

// Keys as the operator presses them: digits, "n" the sign change.
QString press(const char* keys)
{
    QString entry;
    for (const char* k = keys; *k; ++k) {
        if (*k == 'n')
            entry = negateEntry(entry);
        else
            entry = appendDigit(entry, *k - '0');
    }
    return entry;
}

struct KeyCase {
    const char* keys;
    const char* entry;
};

const KeyCase kKeys[] = {
    {"", ""},
    {"123456", " 12345"}, // the sixth digit is ignored
    {"007", " 7"},
    {"05", " 5"},
    {"12n5", "-125"}, // a negative entry stays negative
    {"n", " 0"},      // the sign change of nothing is 0
    {"nn", " 0"},
    {"0n5", " 5"},
    {"1234n5", "-12345"},
    {"1234n56", "-12345"},
    {"99999", " 99999"},
    {"99999n", "-99999"},
};

class Keys : public ::testing::TestWithParam<KeyCase> {};

} // namespace

TEST_P(Keys, EntryText)
{
    EXPECT_EQ(press(GetParam().keys).toStdString(), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(Keypad, Keys, ::testing::ValuesIn(kKeys));

TEST(EntryKeypad, NumberOfAnEntry)
{
    EXPECT_EQ(entryNumber(QString()), 0);
    EXPECT_EQ(entryNumber(QStringLiteral(" 125")), 125);
    EXPECT_EQ(entryNumber(QStringLiteral("-125")), -125);
    EXPECT_EQ(entryText(0).toStdString(), " 0");
    EXPECT_EQ(entryText(-3).toStdString(), "-3");
}

TEST(EntryKeypad, KeysTypedIntoTheBox)
{
    const struct {
        int key;
        EntryKey kind;
    } rows[] = {
        {'0', EntryKey::Digit}, {'9', EntryKey::Digit}, {'-', EntryKey::Negate},
        {13, EntryKey::Commit}, {8, EntryKey::Clear},   {'.', EntryKey::Clear},
        {'+', EntryKey::Other}, {'a', EntryKey::Other}, {27, EntryKey::Other},
        {' ', EntryKey::Other},
    };
    for (const auto& r : rows)
        EXPECT_EQ(classifyKey(r.key), r.kind) << r.key;
}

// What the entry box shows for an entry of item `item`.
struct ShowCase {
    const char* name;
    bool infrared;
    int inputType;
    int decimalPoint;
    int item;
    bool decFlag;
    int value;
    const char* shown; // nullptr: the box is left as it is
};

const ShowCase kShow[] = {
    {"WholeKeepsItsBlank", false, 0, 0, 15, false, 42, " 42"},
    {"WholeNegative", false, 0, 0, 23, false, -42, "-42"},
    {"OneDecimal", false, 1, 0, 11, true, 125, "12.5"},
    {"OneDecimalNegative", false, 1, 0, 11, true, -125, "-12.5"},
    {"OneDecimalBelowOne", false, 1, 0, 11, true, 5, "0.5"},
    {"DcTwoDecimals", false, 30, 2, 59, true, 1234, "12.34"},
    {"DcTwoDecimalsNegative", false, 30, 2, 59, true, -125, "-1.25"},
    {"DcThreeDecimals", false, 33, 3, 25, true, 5, "0.005"},
    {"DcNoDecimals", false, 35, 0, 26, true, 7, "7"},
    {"DcDecimalPointOutOfList", false, 30, 5, 59, true, 1234, nullptr},
    {"DcItemOffTheList", false, 30, 2, 40, false, 1234, " 1234"},
    {"InfraredEmissivity", true, 1, 0, 66, false, 500, "0.500"},
    {"InfraredOneDecimal", true, 2, 0, 11, false, 4820, "482.0"},
    {"InfraredWhole", true, 1, 0, 58, false, 99, "99"},
};

class Show : public ::testing::TestWithParam<ShowCase> {};

TEST_P(Show, EntryBoxText)
{
    const ShowCase& c = GetParam();
    QmxData d;
    d.Set_Defaults();
    d.RDModel = c.infrared;
    d.ParaVal(50) = int16_t(c.inputType);
    d.ParaVal(27) = int16_t(c.decimalPoint);
    const auto shown = entryValueText(d, c.item, c.decFlag, c.value);
    if (!c.shown) {
        EXPECT_FALSE(shown.has_value());
        return;
    }
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->toStdString(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Display, Show, ::testing::ValuesIn(kShow),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(EntryKeypad, Verdicts)
{
    const struct {
        const char* entry;
        const char* shown;
        EntryVerdict verdict;
    } rows[] = {
        {"", "", EntryVerdict::Empty},
        {" 12", "", EntryVerdict::Empty}, // the box was emptied: nothing the operator can read
        {"", "12", EntryVerdict::Empty},  // the entry was emptied under an old box text
        {" 120", "120", EntryVerdict::Accepted},
        {" 1", "1", EntryVerdict::Accepted},
        {" 121", "121", EntryVerdict::OutOfRange},
        {" 0", "0", EntryVerdict::OutOfRange},
        {"-5", "-5", EntryVerdict::OutOfRange},
    };
    for (const auto& r : rows)
        EXPECT_EQ(judgeEntry(QString::fromLatin1(r.entry), QString::fromLatin1(r.shown), 1, 120),
                  r.verdict)
            << r.entry << " / " << r.shown;
}
