// Decoding the controller's option words and comparing them with the screen's option set.
#include "model/option_set.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using qmx::OptionSet;

struct DecodeCase {
    const char* what;
    int ob, ob2;
    OptionSet expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.what;
}

class Decode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, GivesTheOptionSet)
{
    const DecodeCase& c = GetParam();
    EXPECT_EQ(qmx::decodeOptions(c.ob, c.ob2), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Words, Decode,
    ::testing::Values(
        DecodeCase{"nothing", 0x00, 0x00, {0, 0, 0, 0, 0, 0}},
        DecodeCase{"alarm 2", 0x20, 0x00, {1, 0, 0, 0, 0, 0}},
        DecodeCase{"heating/cooling", 0x40, 0x00, {0, 1, 0, 0, 0, 0}},
        DecodeCase{"heater burnout single-phase 20 A", 0x04, 0x00, {0, 0, 1, 0, 0, 0}},
        DecodeCase{"single-phase 50 A", 0x0C, 0x00, {0, 0, 2, 0, 0, 0}},
        DecodeCase{"three-phase 20 A", 0x14, 0x00, {0, 0, 3, 0, 0, 0}},
        DecodeCase{"three-phase 50 A", 0x1C, 0x00, {0, 0, 4, 0, 0, 0}},
        DecodeCase{"50 A and three-phase flags without the option", 0x18, 0x00, {0, 0, 0, 0, 0, 0}},
        DecodeCase{"SV selection by contact", 0x01, 0x00, {0, 0, 0, 1, 0, 0}},
        DecodeCase{"serial communication", 0x02, 0x00, {0, 0, 0, 0, 0, 1}},
        DecodeCase{"both bits of the shared terminal name neither", 0x03, 0x00, {0, 0, 0, 0, 0, 0}},
        DecodeCase{"voltage output", 0x00, 0x08, {0, 0, 0, 0, 1, 0}},
        DecodeCase{"current output", 0x00, 0x10, {0, 0, 0, 0, 2, 0}},
        DecodeCase{"voltage tested before current", 0x00, 0x18, {0, 0, 0, 0, 1, 0}},
        DecodeCase{"SV memory bit of word 2 is no output type", 0x00, 0x01, {0, 0, 0, 0, 0, 0}},
        DecodeCase{"high bytes do not count", 0x7F00, 0x1800, {0, 0, 0, 0, 0, 0}},
        DecodeCase{"demo controller 0x24", 0x24, 0x00, {1, 0, 1, 0, 0, 0}},
        DecodeCase{"0x5C with 0x11", 0x5C, 0x11, {0, 1, 4, 0, 2, 0}}));

struct CompareCase {
    const char* what;
    OptionSet screen, controller;
    int first;
};

void PrintTo(const CompareCase& c, std::ostream* os)
{
    *os << c.what;
}

class Compare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(Compare, FindsTheFirstDifference)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(qmx::firstOptionDifference(c.screen, c.controller), c.first) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Sets, Compare,
    ::testing::Values(
        CompareCase{"equal", {1, 0, 3, 0, 2, 1}, {1, 0, 3, 0, 2, 1}, -1},
        CompareCase{"alarm 2", {0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, 0},
        CompareCase{"alarm 2 and heater burnout: the first only",
                    {0, 0, 0, 0, 0, 0},
                    {1, 0, 2, 0, 0, 0},
                    0},
        CompareCase{"serial communication last", {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1}, 5},
        CompareCase{"a screen word out of range", {0, 0, 7, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, 2}));

} // namespace
