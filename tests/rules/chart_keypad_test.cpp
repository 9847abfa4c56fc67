#include "rules/chart_keypad.h"

#include <gtest/gtest.h>

using namespace qmx;

TEST(ChartKeypad, DigitsGrowTheEntry)
{
    const struct {
        const char* entry;
        int digit;
        const char* want;
    } rows[] = {
        {"", 0, " 0"},           {" 0", 5, " 5"},        {" 12", 5, " 125"},
        {"-4", 0, "-40"},        {" 1234", 5, " 12345"}, {" 12345", 6, " 12345"}, // six characters
        {"-12345", 1, "-12345"}, {"-1234", 9, "-12349"}, {"", 9, " 9"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(appendDigit(QString::fromLatin1(r.entry), r.digit).toStdString(), r.want)
            << r.entry << "+" << r.digit;

    QString e;
    for (int d = 1; d <= 6; ++d)
        e = appendDigit(e, d);
    EXPECT_EQ(e, QStringLiteral(" 12345"));
}

TEST(ChartKeypad, SignChange)
{
    const struct {
        const char* entry;
        const char* want;
    } rows[] = {{"", " 0"}, {" 5", "-5"}, {"-40", " 40"}, {" 0", " 0"}, {" 5000", "-5000"}};
    for (const auto& r : rows)
        EXPECT_EQ(negateEntry(QString::fromLatin1(r.entry)).toStdString(), r.want) << r.entry;
}

TEST(ChartKeypad, RangesPerMode)
{
    // The "+/-" button checks the cycle against 1..60 and every other setting against the scale's
    // limits; OK then holds each setting to its own range.
    const struct {
        EntryMode mode;
        int okLo, okHi, signLo, signHi;
    } rows[] = {
        {EntryMode::ScaleHigh, -2000, 10000, -2000, 10000},
        {EntryMode::ScaleLow, -2000, 10000, -2000, 10000},
        {EntryMode::Cycle, 1, 60, 1, 60},
        {EntryMode::Divisions, 2, 10, -2000, 10000},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(keypadRange(r.mode).lo, r.okLo);
        EXPECT_EQ(keypadRange(r.mode).hi, r.okHi);
        EXPECT_EQ(signRange(r.mode).lo, r.signLo);
        EXPECT_EQ(signRange(r.mode).hi, r.signHi);
    }
}

TEST(ChartKeypad, RangeTexts)
{
    EXPECT_EQ(keypadRangeText(EntryMode::ScaleHigh, 400, -50), QStringLiteral("-49 to 10000"));
    EXPECT_EQ(keypadRangeText(EntryMode::ScaleLow, 400, 0), QStringLiteral("-2000 to 399"));
    EXPECT_EQ(keypadRangeText(EntryMode::Cycle, 400, 0), QStringLiteral("1 to 60"));
    EXPECT_EQ(keypadRangeText(EntryMode::Divisions, 400, 0), QStringLiteral("2 to 10"));
}

TEST(ChartKeypad, OkVerdicts)
{
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
}
