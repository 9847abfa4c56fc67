// The list choice's OK step without the window: what it stores, zeroes and clears. The rows it
// shows or hides are judged on the window, against a reload of the same data.
#include "rules/list_commit.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "register_table.h"
#include "rules/entry_range.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace qmx;

namespace {

constexpr int kDependants[] = {11, 59, 60, 61, 19, 20};

class Commit : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUiLanguage(Language::English);
        d.Set_Defaults();
        markDependants();
    }
    void markDependants()
    {
        for (int item : kDependants)
            d.ParaVal(item) = int16_t(100 + item);
    }
    // The operator chose `chosen` for `item`, whose value was as stored when the dialog opened.
    void choose(int item, int chosen)
    {
        ops.clear();
        listCommit(d, ListChoice{item, d.ParaVal(item), chosen}, ops);
    }
    // The dependants that no longer hold their mark.
    int clearedDependants()
    {
        int n = 0;
        for (int item : kDependants)
            n += d.ParaVal(item) != 100 + item;
        return n;
    }

    QmxData d;
    DisplayOps ops;
};

} // namespace

// Every input type puts the scaling limits to the range the simulated standard controller measures
// for it, on the infrared variant as well; the set and alarm values are cleared only when the type
// changed.
TEST_F(Commit, OfflineInputTypeResetsTheScalingLimits)
{
    for (bool infrared : {false, true}) {
        for (int t = 0; t <= 35; ++t) {
            for (bool changed : {true, false}) {
                d.Set_Defaults();
                markDependants();
                d.RDModel = infrared;
                d.ParaVal(50) = int16_t(changed ? (t == 7 ? 8 : 7) : t);
                d.ParaVal(25) = 3;
                d.ParaVal(26) = 2;
                choose(50, t);
                // The infrared variant takes the standard rows for its own four types; a type it
                // does not list is scaled as a DC input (type 30) is.
                const bool listed = t < qmxsim::inputTypeCount(infrared);
                const auto range = qmxsim::inputRange(listed ? t : 30, false);
                EXPECT_EQ(d.ParaVal(50), t);
                EXPECT_EQ(d.ParaVal(25), range->high) << t;
                EXPECT_EQ(d.ParaVal(26), range->low) << t;
                EXPECT_EQ(clearedDependants(), changed ? 6 : 0) << t << " changed " << changed;
            }
        }
    }
}

// A new input type clears the set values to 0 or, where the new range leaves 0 out (the infrared
// Fahrenheit types start at 32.0 deg.F), to its low end, a value the entry takes; the alarm values
// to 0. The simulated controller measures the range; a DC input, what its scaling limits say.
TEST_F(Commit, OfflineInputTypeClearsToZeroOrTheLowEndOfTheNewRange)
{
    const struct {
        bool infrared;
        int from, to;
    } rows[] = {{false, 0, 2}, {false, 0, 31}, {true, 0, 1},
                {true, 0, 2},  {true, 3, 2},   {true, 2, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message()
                     << "infrared " << r.infrared << ", " << r.from << " to " << r.to);
        d.Set_Defaults();
        markDependants();
        d.RDModel = r.infrared;
        d.ParaVal(50) = int16_t(r.from);
        choose(50, r.to);
        const auto range = qmxsim::inputRange(r.to, r.infrared);
        ASSERT_TRUE(range);
        const int low = r.to >= 30 ? d.ParaVal(26) : range->low;
        const int high = r.to >= 30 ? d.ParaVal(25) : range->high;
        const int cleared = low <= 0 && 0 <= high ? 0 : low;
        for (int item : kDependants)
            EXPECT_EQ(d.ParaVal(item), item == 19 || item == 20 ? 0 : cleared) << item;
        const EntryRange sv = Set_Range(d, 11, Limits{});
        EXPECT_TRUE(sv.ParaMin <= cleared && cleared <= sv.ParaMax);
    }
}

// Online the controller decides what follows: the choice is stored, one upload asked for, and
// nothing else changes.
TEST_F(Commit, OnlineInputOrAlarmTypeAsksForAnUploadOnly)
{
    for (const auto& [item, value] : {std::pair{50, 4}, std::pair{36, 3}, std::pair{37, 2}}) {
        QmxData before = d;
        d.OnLine = true;
        d.ReUpload = false;
        choose(item, value);
        EXPECT_EQ(d.ParaVal(item), value);
        EXPECT_TRUE(d.ReUpload) << item;
        before.ParaVal(item) = int16_t(value);
        for (int other = 11; other <= 66; ++other)
            EXPECT_EQ(d.ParaVal(other), before.ParaVal(other)) << item << "/" << other;
        EXPECT_EQ(ops.size(), 0u) << item;
    }
}

// Offline an alarm type that changed zeroes its alarm value, which no longer means anything; the
// other alarm keeps its own.
TEST_F(Commit, OfflineAlarmTypeChangeZeroesItsValue)
{
    for (int item : {36, 37}) {
        const int value = item == 36 ? 19 : 20, other = item == 36 ? 20 : 19;
        for (const auto& [from, to] : {std::pair{1, 0}, std::pair{0, 3}, std::pair{3, 3}}) {
            markDependants();
            d.ParaVal(item) = int16_t(from);
            choose(item, to);
            EXPECT_EQ(d.ParaVal(value) == 0, from != to) << item << " " << from << "->" << to;
            EXPECT_EQ(d.ParaVal(other), 100 + other);
        }
    }
}

TEST_F(Commit, AutoTuningCancelClearsATrunOnlineAndOffline)
{
    for (bool online : {false, true}) {
        d.OnLine = online;
        d.ATrun = true;
        choose(12, 1);
        EXPECT_TRUE(d.ATrun) << online;
        choose(12, 0);
        EXPECT_FALSE(d.ATrun) << online;
    }
}

// No choice, a value outside the list, or an item that is no list: the value stays.
TEST_F(Commit, NoChoiceKeepsTheValue)
{
    const std::tuple<int, int, int> rows[] = {{22, 2, -1}, {55, 40, -1}, {15, 77, 3}};
    for (const auto& [item, stored, chosen] : rows) {
        d.ParaVal(item) = int16_t(stored);
        choose(item, chosen);
        EXPECT_EQ(d.ParaVal(item), stored) << item;
    }
    EXPECT_EQ(ops.size(), 0u) << "a numeric item shows nothing";
}
