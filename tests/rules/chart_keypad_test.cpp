// What the chart keypad's OK and "+/-" decide; the entry itself is built by the numeric entry
// rules.
#include "rules/chart_keypad.h"

#include <gtest/gtest.h>

using namespace qmx;

TEST(ChartKeypad, OkVerdictsAndRangeTexts)
{
    // Scale 400..0 unless the row says otherwise; each setting checked at and past its ends.
    const struct {
        EntryMode mode;
        const char* entry;
        int sh, sl;
        int message, value;
    } rows[] = {
        {EntryMode::ScaleHigh, "", 400, 0, 559, 0},
        {EntryMode::ScaleHigh, " 0", 400, 0, 554, 0}, // not above the low end
        {EntryMode::ScaleHigh, " 1", 400, 0, 0, 1},
        {EntryMode::ScaleHigh, " 10000", 400, 0, 0, 10000},
        {EntryMode::ScaleHigh, " 10001", 400, 0, 229, 0},
        {EntryMode::ScaleLow, "-2000", 400, 0, 0, -2000},
        {EntryMode::ScaleLow, "-2001", 400, 0, 229, 0},
        {EntryMode::ScaleLow, "-5000", 6000, 0, 229, 0}, // the range holds, whatever the high end
        {EntryMode::ScaleLow, " 400", 400, 0, 554, 0},
        {EntryMode::ScaleLow, " 399", 400, 0, 0, 399},
        {EntryMode::Cycle, " 60", 400, 0, 0, 60},
        {EntryMode::Cycle, " 61", 400, 0, 229, 0},
        {EntryMode::Cycle, " 0", 400, 0, 229, 0},
        {EntryMode::Divisions, "-5", 400, 0, 229, 0},
        {EntryMode::Divisions, " 2", 400, 0, 0, 2},
        {EntryMode::Divisions, " 11", 400, 0, 229, 0},
    };
    for (const auto& r : rows) {
        const KeypadVerdict v = keypadOk(r.mode, QString::fromLatin1(r.entry), r.sh, r.sl);
        EXPECT_EQ(v.message, r.message) << int(r.mode) << " '" << r.entry << "'";
        if (r.message == 0) {
            EXPECT_EQ(v.value, r.value) << int(r.mode) << " '" << r.entry << "'";
        }
    }
    // The texts name the ends the verdicts above hold to, the scale's from the other end.
    EXPECT_EQ(keypadRangeText(EntryMode::ScaleHigh, 400, -50), QStringLiteral("-49 to 10000"));
    EXPECT_EQ(keypadRangeText(EntryMode::ScaleLow, 400, 0), QStringLiteral("-2000 to 399"));
    EXPECT_EQ(keypadRangeText(EntryMode::Cycle, 400, 0), QStringLiteral("1 to 60"));
    EXPECT_EQ(keypadRangeText(EntryMode::Divisions, 400, 0), QStringLiteral("2 to 10"));
}

TEST(ChartKeypad, SignButtonChecksLooserThanOk)
{
    // "+/-" holds the cycle to 1..60 but everything else only to the scale's -2000..10000, so a
    // negative division count passes it and is refused by OK.
    const struct {
        EntryMode mode;
        int value;
        bool passes;
    } rows[] = {
        {EntryMode::Cycle, -5, false},       {EntryMode::Cycle, 60, true},
        {EntryMode::Divisions, -5, true},    {EntryMode::ScaleLow, -5000, false},
        {EntryMode::ScaleHigh, -2000, true}, {EntryMode::ScaleHigh, 10001, false},
    };
    for (const auto& r : rows) {
        const KeypadRange s = signRange(r.mode);
        EXPECT_EQ(r.value >= s.lo && r.value <= s.hi, r.passes) << int(r.mode) << " " << r.value;
    }
}
