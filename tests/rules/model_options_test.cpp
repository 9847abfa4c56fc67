// The model-option dialog's rules without a window: the four exclusions each way round, what the
// enabled states let an operator reach, the opening from the option words in force, and what Change
// does to the data.
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/model_options.h"

#include <gtest/gtest.h>

#include <random>

using namespace qmx;

namespace {

// Group numbers as the dialog shows them, top to bottom.
constexpr int kAlarm2 = 0, kHeatCool = 1, kHB = 2, kSVsel = 3, kOut = 4, kComm = 5;

// The pairs of options a controller cannot have together, as the maker states them: (group,
// "added" test) twice.
bool added(int g, int word)
{
    return g == kOut ? word == 2 : word != 0;
}
bool breaksAnExclusion(const OptionSet& w)
{
    auto both = [&](int a, int b) { return added(a, w[size_t(a)]) && added(b, w[size_t(b)]); };
    return both(kAlarm2, kHeatCool) || both(kHeatCool, kHB) || both(kHB, kOut) ||
           both(kSVsel, kComm);
}

// A panel as the operator gets it from an empty set, with `clicks` made one after the other.
OpsetPanel clicked(std::initializer_list<std::pair<int, int>> clicks, std::vector<int>* messages)
{
    OpsetPanel p = OpsetPanel::laidOut({});
    std::vector<int> m;
    for (auto [g, k] : clicks)
        selectOption(p, g, k, m);
    if (messages)
        *messages = m;
    return p;
}

bool reachable(const OpsetPanel& p, int g, int k)
{
    return p.frameEnabled[size_t(g)] && p.optionEnabled[size_t(g)][size_t(k)];
}

struct Exclusion {
    const char* what;
    std::pair<int, int> first;  // chosen first, accepted
    std::pair<int, int> second; // chosen next (by the program where the option is out of reach)
    int message;
    int wordAfter; // the second group's word afterwards
};

void PrintTo(const Exclusion& c, std::ostream* os)
{
    *os << c.what;
}

class ExclusionRule : public ::testing::TestWithParam<Exclusion> {};

} // namespace

TEST_P(ExclusionRule, RefusesWithItsMessageAndKeepsTheFirstChoice)
{
    const Exclusion& c = GetParam();
    std::vector<int> m;
    OpsetPanel p = clicked({c.first}, &m);
    ASSERT_TRUE(m.empty());
    const OptionSet before = p.words;

    // The option that would break the exclusion is out of the operator's reach ...
    EXPECT_FALSE(reachable(p, c.second.first, c.second.second)) << c.what;
    // ... and refused when the program selects it all the same.
    selectOption(p, c.second.first, c.second.second, m);
    EXPECT_EQ(m, std::vector<int>{c.message}) << c.what;
    EXPECT_EQ(p.words[size_t(c.second.first)], c.wordAfter) << c.what;
    EXPECT_EQ(p.selected[size_t(c.second.first)], c.wordAfter) << c.what;
    EXPECT_EQ(p.words[size_t(c.first.first)], c.first.second) << c.what;
    // Nothing else moves.
    for (int g = 0; g < kOptionGroups; ++g) {
        if (g != c.second.first) {
            EXPECT_EQ(p.words[size_t(g)], before[size_t(g)]) << c.what << " group " << g;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachWayRound, ExclusionRule,
    ::testing::Values(
        Exclusion{"heating/cooling after alarm 2", {kAlarm2, 1}, {kHeatCool, 1}, 286, 0},
        Exclusion{"alarm 2 after heating/cooling", {kHeatCool, 1}, {kAlarm2, 1}, 285, 0},
        Exclusion{"heating/cooling after heater burnout 1", {kHB, 1}, {kHeatCool, 1}, 286, 0},
        Exclusion{"heating/cooling after heater burnout 4", {kHB, 4}, {kHeatCool, 1}, 286, 0},
        Exclusion{"heater burnout 2 after heating/cooling", {kHeatCool, 1}, {kHB, 2}, 287, 0},
        Exclusion{"heater burnout 3 after heating/cooling", {kHeatCool, 1}, {kHB, 3}, 287, 0},
        Exclusion{"DC current after heater burnout 2", {kHB, 2}, {kOut, 2}, 284, 0},
        Exclusion{"heater burnout 1 after DC current", {kOut, 2}, {kHB, 1}, 293, 0},
        Exclusion{"heater burnout 4 after DC current", {kOut, 2}, {kHB, 4}, 293, 0},
        Exclusion{"serial communication after SV selection", {kSVsel, 1}, {kComm, 1}, 289, 0},
        Exclusion{"SV selection after serial communication", {kComm, 1}, {kSVsel, 1}, 288, 0}));

TEST(ModelOptions, RefusedDcCurrentGoesBackToTheOutputTypeInForce)
{
    std::vector<int> m;
    OpsetPanel p = clicked({{kOut, 1}, {kHB, 3}}, &m);
    selectOption(p, kOut, 2, m);
    EXPECT_EQ(m, std::vector<int>{284});
    EXPECT_EQ(p.words[kOut], 1);
    EXPECT_EQ(p.selected[kOut], 1);
}

TEST(ModelOptions, HeaterBurnoutUnderHeatingCoolingAndDcCurrentTellsOnlyTheFirstReason)
{
    std::vector<int> m;
    OpsetPanel p = clicked({{kHeatCool, 1}, {kOut, 2}}, &m);
    ASSERT_TRUE(m.empty());
    selectOption(p, kHB, 4, m);
    EXPECT_EQ(m, std::vector<int>{287});
    EXPECT_EQ(p.words[kHB], 0);
}

TEST(ModelOptions, ChoosingWhatIsAlreadyChosenRunsNothing)
{
    std::vector<int> m;
    OpsetPanel p = clicked({{kAlarm2, 1}}, &m);
    p.words[kAlarm2] = 7; // a rule that ran would write the word
    selectOption(p, kAlarm2, 1, m);
    EXPECT_TRUE(m.empty());
    EXPECT_EQ(p.words[kAlarm2], 7);
}

TEST(ModelOptions, TakingAnOptionBackOpensWhatItExcluded)
{
    // SV selection and serial communication: whichever comes first shuts the other out until it is
    // taken back.
    OpsetPanel p = clicked({{kSVsel, 1}}, nullptr);
    EXPECT_FALSE(p.frameEnabled[kComm] || reachable(p, kComm, 0) || reachable(p, kComm, 1));
    p = clicked({{kSVsel, 1}, {kSVsel, 0}}, nullptr);
    EXPECT_TRUE(reachable(p, kComm, 0) && reachable(p, kComm, 1));

    // Heater burnout taken back while alarm 2 is added: the heater-burnout group and every output
    // type come back, heating/cooling stays out of reach.
    p = clicked({{kAlarm2, 1}, {kHB, 2}, {kHB, 0}}, nullptr);
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(reachable(p, kHB, k)) << k;
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(reachable(p, kOut, k)) << k;
    EXPECT_FALSE(p.frameEnabled[kHeatCool]);

    // A relay output under heating/cooling keeps heater burnout out of reach.
    p = clicked({{kHeatCool, 1}, {kOut, 1}, {kOut, 0}}, nullptr);
    EXPECT_FALSE(p.frameEnabled[kHB]);
    for (int k = 0; k < 5; ++k)
        EXPECT_FALSE(p.optionEnabled[kHB][size_t(k)]) << k;

    // The output-type frame and its relay and voltage options are never shut out.
    p = clicked({{kHB, 1}}, nullptr);
    EXPECT_TRUE(reachable(p, kOut, 0) && reachable(p, kOut, 1));
    EXPECT_FALSE(reachable(p, kOut, 2));
}

// Property: an operator who clicks only what is in reach never meets a refusal, and the option set
// never holds an excluded pair; the words always name the selected options.
TEST(ModelOptions, ReachableClicksAreNeverRefusedAndKeepTheSetConsistent)
{
    std::mt19937 rng(15);
    for (int run = 0; run < 200; ++run) {
        OpsetPanel p = OpsetPanel::laidOut({});
        for (int step = 0; step < 40; ++step) {
            std::vector<std::pair<int, int>> inReach;
            for (int g = 0; g < kOptionGroups; ++g)
                for (int k = 0; k < optionCount(g); ++k)
                    if (reachable(p, g, k))
                        inReach.push_back({g, k});
            ASSERT_FALSE(inReach.empty());
            const auto [g, k] = inReach[rng() % inReach.size()];
            std::vector<int> m;
            selectOption(p, g, k, m);
            ASSERT_TRUE(m.empty()) << "run " << run << " step " << step << " group " << g
                                   << " option " << k << " refused with " << m.front();
            ASSERT_FALSE(breaksAnExclusion(p.words)) << "run " << run << " step " << step;
            for (int x = 0; x < kOptionGroups; ++x)
                ASSERT_EQ(p.words[size_t(x)], p.selected[size_t(x)]);
        }
    }
}

// Property: whatever the program selects, reachable or not, the set stays consistent and a
// refusal changes nothing but its own group's word.
TEST(ModelOptions, AnySelectionKeepsTheSetConsistent)
{
    std::mt19937 rng(151);
    for (int run = 0; run < 200; ++run) {
        OpsetPanel p = OpsetPanel::laidOut({});
        for (int step = 0; step < 40; ++step) {
            const int g = int(rng() % kOptionGroups);
            const int k = int(rng() % unsigned(optionCount(g)));
            OptionSet expected = p.words;
            expected[size_t(g)] = int16_t(k);
            std::vector<int> m;
            selectOption(p, g, k, m);
            ASSERT_FALSE(breaksAnExclusion(p.words));
            ASSERT_LE(m.size(), 1u);
            if (m.empty()) {
                ASSERT_EQ(p.words, expected);
            } else {
                ASSERT_TRUE(breaksAnExclusion(expected)) << "refused a consistent set";
                for (int x = 0; x < kOptionGroups; ++x) {
                    if (x != g) {
                        ASSERT_EQ(p.words[size_t(x)], expected[size_t(x)]);
                    }
                }
            }
        }
    }
}

namespace {

struct Opening {
    const char* what;
    OptionSet words;
    bool haveData;
    bool ct50Before;
    std::vector<int> labels; // English texts' string numbers, Lbl_OP1..6
    std::vector<int> messages;
    OptionSet wordsAfter;
    bool ct50After;
};

void PrintTo(const Opening& c, std::ostream* os)
{
    *os << c.what;
}

class OpeningStep : public ::testing::TestWithParam<Opening> {};

} // namespace

TEST_P(OpeningStep, ShowsTheSetInForce)
{
    const Opening& c = GetParam();
    OpsetPanel p = OpsetPanel::laidOut(c.words);
    bool ct50 = c.ct50Before;
    const OpsetOpening o = openOpset(p, c.haveData, ct50);
    EXPECT_EQ(std::vector<int>(o.labels.begin(), o.labels.end()), c.labels);
    EXPECT_EQ(o.messages, c.messages);
    EXPECT_EQ(p.words, c.wordsAfter);
    EXPECT_EQ(ct50, c.ct50After);
    EXPECT_EQ(o.before, c.words); // what Cancel puts back
    // The selection shows each group's word where the word is one of its options.
    for (int g = 0; g < kOptionGroups; ++g)
        EXPECT_EQ(p.selected[size_t(g)], shownOption(g, p.words[size_t(g)])) << g;
}

INSTANTIATE_TEST_SUITE_P(
    Sets, OpeningStep,
    ::testing::Values(Opening{"empty set",
                              {0, 0, 0, 0, 0, 0},
                              true,
                              true,
                              {184, 184, 184, 184, 190, 184},
                              {},
                              {0, 0, 0, 0, 0, 0},
                              true},
                      Opening{"alarm 2 and 3-phase 20 A",
                              {1, 0, 3, 0, 0, 0},
                              true,
                              true,
                              {185, 184, 188, 184, 190, 184},
                              {},
                              {1, 0, 3, 0, 0, 0},
                              false},
                      Opening{"3-phase 50 A",
                              {0, 0, 4, 0, 1, 1},
                              true,
                              false,
                              {184, 184, 189, 184, 191, 185},
                              {},
                              {0, 0, 4, 0, 1, 1},
                              true},
                      Opening{"single phase 50 A",
                              {0, 0, 2, 1, 0, 0},
                              true,
                              false,
                              {184, 184, 187, 185, 190, 184},
                              {},
                              {0, 0, 2, 1, 0, 0},
                              true},
                      Opening{"no heater burnout keeps the 50 A flag",
                              {0, 1, 0, 0, 2, 0},
                              true,
                              true,
                              {184, 185, 184, 184, 192, 184},
                              {},
                              {0, 1, 0, 0, 2, 0},
                              true},
                      Opening{"a word outside its list shows option 0 and stays",
                              {7, 0, 9, 0, 5, -1},
                              true,
                              false,
                              {184, 184, 184, 184, 190, 184},
                              {},
                              {7, 0, 9, 0, 5, -1},
                              false},
                      Opening{"alarm 2 with heating/cooling from a file",
                              {1, 1, 0, 0, 0, 0},
                              true,
                              false,
                              {185, 185, 184, 184, 190, 184},
                              {286},
                              {1, 0, 0, 0, 0, 0},
                              false},
                      Opening{"SV selection with serial communication from a file",
                              {0, 0, 0, 1, 0, 1},
                              true,
                              false,
                              {184, 184, 184, 185, 190, 185},
                              {289},
                              {0, 0, 0, 1, 0, 0},
                              false},
                      // The output type in force is DC current itself: the refusal falls back to
                      // relay contact instead of refusing itself again without end.
                      Opening{"heater burnout with DC current from a file",
                              {0, 0, 2, 0, 2, 0},
                              true,
                              false,
                              {184, 184, 187, 184, 192, 184},
                              {284},
                              {0, 0, 2, 0, 0, 0},
                              true},
                      Opening{"no settings and no data: an empty set",
                              {1, 0, 4, 0, 1, 1},
                              false,
                              true,
                              {184, 184, 184, 184, 184, 184},
                              {},
                              {0, 0, 0, 0, 0, 0},
                              true}));

TEST(ModelOptions, CaptionsReadAsTheDialogShowsThem)
{
    setUiLanguage(Language::English);
    auto text = [](int id) { return LoadResString(id).toStdString(); };
    EXPECT_EQ(text(groupCaption(kAlarm2)), "Alarm 2");
    EXPECT_EQ(text(groupCaption(kComm)), "Serial communication");
    EXPECT_EQ(text(optionCaption(kAlarm2, 0)), " Not added");
    EXPECT_EQ(text(optionCaption(kSVsel, 1)), " Added");
    EXPECT_EQ(text(optionCaption(kHB, 1)), " Added (single phase 20.0A)");
    EXPECT_EQ(text(optionCaption(kHB, 2)), " Added (single phase 50.0A)");
    EXPECT_EQ(text(optionCaption(kHB, 3)), " Added (3-phase 20.0A)");
    EXPECT_EQ(text(optionCaption(kHB, 4)), " Added (3-phase 50.0A)");
    EXPECT_EQ(text(optionCaption(kOut, 0)), " Relay contact");
    EXPECT_EQ(text(optionCaption(kOut, 1)), " Non-contact voltage");
    EXPECT_EQ(text(optionCaption(kOut, 2)), " DC current");
}

namespace {

struct HbClear {
    int hb;
    bool ct50AtOpening;
    bool clears;
};

class HeaterBurnoutValues : public ::testing::TestWithParam<HbClear> {};

} // namespace

// The alarm values count in the transformer's range: a change between 20 A and 50 A, or no
// heater burnout at all, leaves them meaningless.
TEST_P(HeaterBurnoutValues, ClearedWhenTheRangeChanges)
{
    const HbClear& c = GetParam();
    EXPECT_EQ(clearsHeaterBurnoutValues(c.hb, c.ct50AtOpening), c.clears)
        << "option " << c.hb << " after " << (c.ct50AtOpening ? "50 A" : "20 A");
}

INSTANTIATE_TEST_SUITE_P(Options, HeaterBurnoutValues,
                         ::testing::Values(HbClear{1, false, false}, HbClear{1, true, true},
                                           HbClear{2, false, true}, HbClear{2, true, false},
                                           HbClear{3, false, false}, HbClear{3, true, true},
                                           HbClear{4, false, true}, HbClear{4, true, false},
                                           HbClear{0, false, true}, HbClear{0, true, true},
                                           HbClear{6, true, true}));

TEST(ModelOptions, ChangeMarksTheDataAndTouchesNoOtherValue)
{
    QmxData d;
    d.Set_Defaults();
    for (int item = 11; item <= 66; ++item)
        d.ParaVal(item) = int16_t(item * 3);
    QmxData before = d;
    d.OptSet_HB = 3;
    d.HB_CT50A = false; // 20 A before, 20 A now: the values stay
    commitOptionChange(d);
    EXPECT_TRUE(d.DataValid && d.DataChanged && d.SpecCheck);
    for (int item = 11; item <= 68; ++item) {
        EXPECT_EQ(d.ParaVal(item), before.ParaVal(item)) << item;
    }

    d = before;
    d.OptSet_HB = 4; // 50 A now
    commitOptionChange(d);
    for (int item = 11; item <= 68; ++item)
        EXPECT_EQ(d.ParaVal(item), item == 21 || item == 54 ? 0 : before.ParaVal(item)) << item;
}
