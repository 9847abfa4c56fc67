// The scheduler's requests: order of the steps, nothing lost, what ComMode shows.
#include "comm/scheduler.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

using qmx::OneShots;
using qmx::SchedStep;
using qmx::takeTick;

// Runs ticks until the scheduler rests and returns the steps as text ("W13 U M").
std::string drain(int& comMode, std::deque<int>& writes, OneShots& pending, int ticks = 8)
{
    std::string out;
    for (int i = 0; i < ticks; ++i) {
        const qmx::Tick t = takeTick(comMode, 0, writes, pending);
        if (!out.empty())
            out += ' ';
        switch (t.step) {
        case SchedStep::Idle:
            out += "I";
            break;
        case SchedStep::Monitor:
            out += "M";
            break;
        case SchedStep::Write:
            // A char: GCC 12 falsely warns of an overlapping copy in a literal + string.
            out += 'W' + std::to_string(t.item);
            break;
        case SchedStep::Download:
            out += "D3";
            break;
        case SchedStep::Upload:
            out += "U";
            break;
        case SchedStep::CheckAndLoad:
            out += "D5";
            break;
        case SchedStep::Reset:
            out += "R";
            break;
        }
        comMode = t.step == SchedStep::Idle ? comMode : qmx::waitingMode(writes, pending, 1);
        if (t.step == SchedStep::Monitor || t.step == SchedStep::Idle)
            break;
    }
    return out;
}

struct OrderCase {
    const char* what;
    int comMode;
    std::vector<int> writes;
    std::vector<int> oneShots;
    const char* steps;
};

void PrintTo(const OrderCase& c, std::ostream* os)
{
    *os << c.what;
}

class Order : public ::testing::TestWithParam<OrderCase> {};

TEST_P(Order, RunsEveryRequestOnce)
{
    const OrderCase& c = GetParam();
    int comMode = c.comMode;
    std::deque<int> writes(c.writes.begin(), c.writes.end());
    OneShots pending;
    for (int m : c.oneShots)
        qmx::addOneShot(pending, m);
    EXPECT_EQ(drain(comMode, writes, pending), c.steps) << c.what;
    EXPECT_TRUE(writes.empty());
    EXPECT_FALSE(pending.any());
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Order,
    ::testing::Values(
        OrderCase{"monitoring", 1, {}, {}, "M"}, OrderCase{"idle", 0, {}, {}, "I"},
        OrderCase{"writes in request order, then monitoring", 1, {13, 22, 13}, {}, "W13 W22 W13 M"},
        OrderCase{"an upload asked before a write runs after it", 1, {40}, {4}, "W40 U M"},
        OrderCase{"a download before an upload", 1, {}, {4, 3}, "D3 U M"},
        OrderCase{"the option check and download", 1, {}, {5}, "D5 M"},
        OrderCase{"a second download request replaces the first", 1, {}, {3, 5}, "D5 M"},
        OrderCase{"two upload requests make one upload", 1, {}, {4, 4}, "U M"},
        OrderCase{"requests wake an idle scheduler; it then monitors", 0, {11}, {4}, "W11 U M"},
        OrderCase{"not a request", 1, {}, {2, 1, 0, 7}, "M"},
        OrderCase{"a mode word set directly to 4 uploads once", 4, {}, {}, "U M"},
        OrderCase{"a mode word set directly to 3 downloads once", 3, {}, {}, "D3 M"},
        OrderCase{"a mode word set directly to 5", 5, {}, {}, "D5 M"},
        OrderCase{"an unknown mode word returns to monitoring", 7, {}, {}, "R M"},
        OrderCase{"a negative mode word returns to monitoring", -1, {}, {}, "R M"}));

TEST(Scheduler, ModeWordTwoWithoutQueueWritesTheItemInParaNo)
{
    std::deque<int> writes;
    OneShots pending;
    const qmx::Tick t = takeTick(2, 47, writes, pending);
    EXPECT_EQ(t.step, SchedStep::Write);
    EXPECT_EQ(t.item, 47);
    EXPECT_EQ(t.comMode, 2);
}

TEST(Scheduler, QueuedItemWinsOverParaNo)
{
    // The item being edited now is not the one whose write was asked.
    std::deque<int> writes{13};
    OneShots pending;
    const qmx::Tick t = takeTick(2, 50, writes, pending);
    EXPECT_EQ(t.item, 13);
}

struct ShownCase {
    const char* what;
    std::vector<int> writes;
    std::vector<int> oneShots;
    int resting;
    int shown;
    int running; // what ComMode shows while the next step runs
};

void PrintTo(const ShownCase& c, std::ostream* os)
{
    *os << c.what;
}

class Shown : public ::testing::TestWithParam<ShownCase> {};

TEST_P(Shown, ModeWordNamesTheNextStep)
{
    const ShownCase& c = GetParam();
    std::deque<int> writes(c.writes.begin(), c.writes.end());
    OneShots pending;
    for (int m : c.oneShots)
        qmx::addOneShot(pending, m);
    EXPECT_EQ(qmx::waitingMode(writes, pending, c.resting), c.shown) << c.what;
    EXPECT_EQ(takeTick(c.resting, 0, writes, pending).comMode, c.running) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Words, Shown,
                         ::testing::Values(ShownCase{"resting monitor", {}, {}, 1, 1, 1},
                                           ShownCase{"resting idle", {}, {}, 0, 0, 0},
                                           ShownCase{"a write waits", {12}, {4}, 1, 2, 2},
                                           ShownCase{"a download waits", {}, {4, 5}, 1, 5, 5},
                                           ShownCase{"an upload waits", {}, {4}, 0, 4, 4}));

} // namespace
