#include "rules/trend_sampling.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qmx;

namespace {

// Runs the 200 ms tick over the clock readings given (seconds) and returns the seconds at which a
// sample was taken; the run starts at the first reading.
std::vector<int64_t> samplesAt(const std::vector<int64_t>& ticks, int cycle)
{
    SampleSchedule s;
    std::vector<int64_t> out;
    s.start(ticks.front(), cycle);
    out.push_back(ticks.front());
    for (size_t i = 1; i < ticks.size(); ++i)
        if (s.tick(ticks[i]))
            out.push_back(ticks[i]);
    return out;
}

// Five ticks a second from `from` to `to` inclusive.
std::vector<int64_t> everyTick(int64_t from, int64_t to)
{
    std::vector<int64_t> t;
    for (int64_t s = from; s <= to; ++s)
        for (int i = 0; i < 5; ++i)
            t.push_back(s);
    return t;
}

} // namespace

TEST(SampleSchedule, OneSamplePerCycle)
{
    EXPECT_EQ(samplesAt(everyTick(100, 112), 5), (std::vector<int64_t>{100, 105, 110}));
    EXPECT_EQ(samplesAt(everyTick(0, 3), 1), (std::vector<int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(samplesAt(everyTick(7, 130), 60), (std::vector<int64_t>{7, 67, 127}));
}

TEST(SampleSchedule, AcrossMidnight)
{
    // Started at 23:59:58 (second 86398 of the day) with a cycle of 5: the clock runs on past the
    // day's end and the next sample comes at 00:00:03, then every five seconds.
    EXPECT_EQ(samplesAt(everyTick(86398, 86409), 5), (std::vector<int64_t>{86398, 86403, 86408}));
}

TEST(SampleSchedule, ALateTickSamplesAtOnceAndRunsOnFromThere)
{
    // Ticks stop between 102 and 107 (a busy system): the sample due at 105 comes at 107, the next
    // five seconds after that.
    std::vector<int64_t> t = everyTick(100, 102);
    for (int64_t s : everyTick(107, 113))
        t.push_back(s);
    EXPECT_EQ(samplesAt(t, 5), (std::vector<int64_t>{100, 107, 112}));
}

TEST(SampleSchedule, ManyTicksInOneSecondGiveOneSample)
{
    SampleSchedule s;
    s.start(10, 1);
    int taken = 0;
    for (int i = 0; i < 20; ++i)
        taken += s.tick(11) ? 1 : 0;
    EXPECT_EQ(taken, 1);
}

TEST(SampleSchedule, AClockSteppedBackNeitherStallsNorDoubles)
{
    // A clock handed in that goes back an hour starts the schedule over from there: the next
    // sample one cycle later, not an hour later.
    SampleSchedule s;
    s.start(10000, 5);
    EXPECT_FALSE(s.tick(6400));
    EXPECT_FALSE(s.tick(6404));
    EXPECT_TRUE(s.tick(6405));
    EXPECT_FALSE(s.tick(6406));
    EXPECT_TRUE(s.tick(6410));
}

TEST(SampleSchedule, CycleHeldToItsRange)
{
    SampleSchedule s;
    s.start(0, 0);
    EXPECT_EQ(s.cycle(), 1);
    s.start(0, 500);
    EXPECT_EQ(s.cycle(), 60);
}
