// The numeric entry built key by key, what a typed key does, and the OK step's verdict.
#include "rules/entry_keypad.h"

#include <gtest/gtest.h>

using namespace qmx;

namespace {

// Keys as the operator presses them: digits, "n" the sign change.
QString press(const char* keys)
{
    QString entry;
    for (const char* k = keys; *k; ++k)
        entry = *k == 'n' ? negateEntry(entry) : appendDigit(entry, *k - '0');
    return entry;
}

} // namespace

TEST(EntryKeypad, EntryBuiltKeyByKey)
{
    const struct {
        const char* keys;
        const char* entry;
        int number;
    } rows[] = {
        {"", "", 0},
        {"123456", " 12345", 12345}, // a blank and five digits: the sixth is
                                     // ignored
        {"007", " 7", 7},
        {"12n5", "-125", -125}, // a negative entry stays negative
        {"n", " 0", 0},         // the sign change of nothing is 0
        {"0n5", " 5", 5},
        {"1234n56", "-12345", -12345},
        {"99999n", "-99999", -99999},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(press(r.keys).toStdString(), r.entry) << r.keys;
        EXPECT_EQ(entryNumber(press(r.keys)), r.number) << r.keys;
    }
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
        {' ', EntryKey::Other}, {'/', EntryKey::Other}, {':', EntryKey::Other},
    };
    for (const auto& r : rows)
        EXPECT_EQ(classifyKey(r.key), r.kind) << r.key;
}

// Limits 1..120, both ends included; an empty entry or box is refused before the range.
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
