// The model-option rules without a window. The expectations are the controller's option list and
// its four pairs of options that exclude each other, written out here as the operator reads them.
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/model_options.h"

#include <gtest/gtest.h>

#include <random>

using namespace qmx;

namespace {

constexpr int kAlarm2 = 0, kHeatCool = 1, kHB = 2, kSVsel = 3, kOut = 4, kComm = 5;

// Each group's caption, then its options' texts in word order.
const std::vector<std::vector<const char*>> kTexts = {
    {"Alarm 2", " Not added", " Added"},
    {"Heating/Cooling control", " Not added", " Added"},
    {"Heater burnout alarm", " Not added", " Added (single phase 20.0A)",
     " Added (single phase 50.0A)", " Added (3-phase 20.0A)", " Added (3-phase 50.0A)"},
    {"SV2 to SV4 selection", " Not added", " Added"},
    {"Output type", " Relay contact", " Non-contact voltage", " DC current"},
    {"Serial communication", " Not added", " Added"}};

std::string text(int id)
{
    return LoadResString(id, Language::English).toStdString();
}
// The option a word shows: itself when it is one of the group's options, else the first.
int shown(int g, int word)
{
    return word >= 0 && word < int(kTexts[size_t(g)].size()) - 1 ? word : 0;
}

// Whether selection `s` with option `k` of group `g` holds a pair a controller cannot have.
bool breaksAnExclusion(std::array<int, kOptionGroups> s, int g, int k)
{
    s[size_t(g)] = k;
    const bool a2 = s[kAlarm2] == 1, hc = s[kHeatCool] == 1, hb = s[kHB] != 0;
    return (a2 && hc) || (hc && hb) || (hb && s[kOut] == 2) || (s[kSVsel] == 1 && s[kComm] == 1);
}
bool reachable(const OpsetPanel& p, int g, int k)
{
    return p.frameEnabled[size_t(g)] && p.optionEnabled[size_t(g)][size_t(k)];
}
// Every other option is within the operator's reach exactly when it keeps the set consistent.
void expectReachFollowsTheExclusions(const OpsetPanel& p, const char* what)
{
    for (int g = 0; g < kOptionGroups; ++g)
        for (int k = 0; k < optionCount(g); ++k)
            if (k != p.selected[size_t(g)]) {
                ASSERT_EQ(reachable(p, g, k), !breaksAnExclusion(p.selected, g, k))
                    << what << ": group " << g << " option " << k;
            }
}

} // namespace

TEST(ModelOptions, CaptionsReadAsTheDialogShowsThem)
{
    for (int g = 0; g < kOptionGroups; ++g) {
        const auto& t = kTexts[size_t(g)];
        EXPECT_EQ(text(groupCaption(g)), t[0]);
        ASSERT_EQ(optionCount(g), int(t.size()) - 1) << g;
        for (int k = 0; k < optionCount(g); ++k)
            EXPECT_EQ(text(optionCaption(g, k)), t[size_t(k) + 1]) << g << ' ' << k;
    }
}

// Random walks: the operator clicks what is in reach, and from each state the program tries any
// selection, which is accepted exactly when the set stays consistent. A refusal touches no other
// group and selects option 0 instead, for DC current the output type before it.
TEST(ModelOptions, ReachAndRefusalFollowTheExclusions)
{
    std::mt19937 rng(15);
    for (int run = 0; run < 200; ++run) {
        OpsetPanel p = OpsetPanel::laidOut({});
        for (int step = 0; step < 30; ++step) {
            expectReachFollowsTheExclusions(p, "walk");
            const int g = int(rng() % kOptionGroups), k = int(rng() % unsigned(optionCount(g)));
            OpsetPanel q = p;
            std::vector<int> m;
            selectOption(q, g, k, m);
            const bool allowed = !breaksAnExclusion(p.selected, g, k);
            ASSERT_EQ(m.empty(), allowed) << "group " << g << " option " << k;
            for (int x = 0; x < kOptionGroups; ++x) {
                ASSERT_EQ(q.words[size_t(x)], q.selected[size_t(x)]);
                const int fallback = x == kOut ? p.selected[size_t(x)] : 0;
                ASSERT_EQ(q.selected[size_t(x)], x != g    ? p.selected[size_t(x)]
                                                 : allowed ? k
                                                           : fallback);
            }
            if (allowed && reachable(p, g, k))
                p = q;
        }
    }
}

TEST(ModelOptions, ARefusalTellsItsReason)
{
    // After the clicks `before`, `chosen` is refused with `message`.
    const struct {
        std::vector<std::pair<int, int>> before;
        std::pair<int, int> chosen;
        int message;
    } cases[] = {{{{kAlarm2, 1}}, {kHeatCool, 1}, 286},
                 {{{kHeatCool, 1}}, {kAlarm2, 1}, 285},
                 {{{kHB, 4}}, {kHeatCool, 1}, 286},
                 {{{kHeatCool, 1}}, {kHB, 2}, 287},
                 {{{kHeatCool, 1}, {kOut, 2}}, {kHB, 3}, 287},
                 {{{kOut, 2}}, {kHB, 1}, 293},
                 {{{kOut, 1}, {kHB, 2}}, {kOut, 2}, 284},
                 {{{kSVsel, 1}}, {kComm, 1}, 289},
                 {{{kComm, 1}}, {kSVsel, 1}, 288}};
    for (const auto& c : cases) {
        OpsetPanel p = OpsetPanel::laidOut({});
        std::vector<int> m;
        for (auto [g, k] : c.before)
            selectOption(p, g, k, m);
        selectOption(p, c.chosen.first, c.chosen.second, m);
        EXPECT_EQ(m, std::vector<int>{c.message}) << "group " << c.chosen.first;
    }
}

TEST(ModelOptions, TheOpeningShowsTheSetInForceAndRefusesWhatBreaksAnExclusion)
{
    // A file's set breaking two pairs is refused pair by pair; DC current with heater burnout from
    // a file falls back to relay contact instead of refusing itself without end.
    const struct {
        const char* what;
        OptionSet words;
        bool haveData, ct50Before;
        std::vector<int> messages;
        OptionSet wordsAfter;
        bool ct50After;
    } cases[] = {
        {"3-phase 20 A", {1, 0, 3, 0, 1, 1}, true, true, {}, {1, 0, 3, 0, 1, 1}, false},
        {"no heater burnout", {0, 1, 0, 0, 2, 0}, true, true, {}, {0, 1, 0, 0, 2, 0}, true},
        {"outside the lists", {7, 0, 9, 0, 5, -1}, true, true, {}, {7, 0, 9, 0, 5, -1}, true},
        {"two pairs", {1, 1, 0, 1, 0, 1}, true, false, {286, 289}, {1, 0, 0, 1, 0, 0}, false},
        {"DC, 50 A", {0, 0, 2, 0, 2, 0}, true, false, {284}, {0, 0, 2, 0, 0, 0}, true},
        {"no data", {1, 0, 4, 0, 1, 1}, false, true, {}, {0, 0, 0, 0, 0, 0}, true}};
    for (const auto& c : cases) {
        OpsetPanel p = OpsetPanel::laidOut(c.words);
        bool ct50 = c.ct50Before;
        const OpsetOpening o = openOpset(p, c.haveData, ct50);
        EXPECT_EQ(o.messages, c.messages) << c.what;
        EXPECT_EQ(p.words, c.wordsAfter) << c.what;
        EXPECT_EQ(ct50, c.ct50After) << c.what;
        EXPECT_EQ(o.before, c.words) << c.what; // what Cancel puts back
        for (int g = 0; g < kOptionGroups; ++g) {
            // The label shows the word as found; without data every label reads " Not added".
            const std::string want =
                c.haveData ? kTexts[size_t(g)][size_t(shown(g, c.words[size_t(g)])) + 1]
                           : " Not added";
            EXPECT_EQ(text(o.labels[size_t(g)]), want) << c.what << " group " << g;
            EXPECT_EQ(p.selected[size_t(g)], shown(g, c.wordsAfter[size_t(g)])) << c.what;
        }
        // Option 0 comes selected: a word 0 runs no rule that could open an excluded group.
        expectReachFollowsTheExclusions(p, c.what);
    }
}

// The heater-burnout alarm values count in the transformer's range: 1 and 3 are 20 A, 2 and 4 are
// 50 A. Change clears them when the range differs from the one in force at the opening, or when
// there is no heater burnout, and touches no other value.
TEST(ModelOptions, ChangeMarksTheDataAndClearsTheAlarmValuesOfAnotherRange)
{
    const struct {
        int hb;
        bool ct50AtOpening, clears;
    } cases[] = {{1, false, false}, {1, true, true}, {2, false, true}, {2, true, false},
                 {3, false, false}, {3, true, true}, {4, false, true}, {4, true, false},
                 {0, false, true},  {0, true, true}, {6, true, true}};
    for (const auto& c : cases) {
        QmxData d;
        d.Set_Defaults();
        for (int item = 11; item <= 68; ++item)
            d.ParaVal(item) = int16_t(item * 3);
        d.OptSet_HB = int16_t(c.hb);
        d.HB_CT50A = c.ct50AtOpening;
        commitOptionChange(d);
        EXPECT_TRUE(d.DataValid && d.DataChanged && d.SpecCheck);
        for (int item = 11; item <= 68; ++item) {
            const bool cleared = c.clears && (item == 21 || item == 54);
            EXPECT_EQ(d.ParaVal(item), cleared ? 0 : item * 3)
                << "option " << c.hb << (c.ct50AtOpening ? " after 50 A" : " after 20 A");
        }
    }
}
