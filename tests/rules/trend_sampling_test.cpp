#include "rules/trend_sampling.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qmx;

namespace {

// Five ticks a second from `from` to `to` inclusive, as the 200 ms timer asks.
std::vector<int64_t> everyTick(int64_t from, int64_t to)
{
    std::vector<int64_t> t;
    for (int64_t s = from; s <= to; ++s)
        t.insert(t.end(), 5, s);
    return t;
}

std::vector<int64_t> operator+(std::vector<int64_t> a, const std::vector<int64_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(SampleSchedule, SecondsAtWhichSamplesAreTaken)
{
    // The clock is handed in: each row's readings, the run starting at the first.
    const struct {
        const char* what;
        int cycle;
        std::vector<int64_t> ticks;
        std::vector<int64_t> samples;
    } rows[] = {
        {"cycle 5", 5, everyTick(100, 112), {100, 105, 110}},
        {"cycle 1", 1, everyTick(0, 3), {0, 1, 2, 3}},
        {"cycle 60", 60, everyTick(7, 130), {7, 67, 127}},
        {"cycle 0 reads as 1", 0, everyTick(0, 2), {0, 1, 2}},
        {"cycle 500 reads as 60", 500, everyTick(0, 61), {0, 60}},
        {"many ticks in one second",
         1,
         std::vector<int64_t>{10} + std::vector<int64_t>(20, 11),
         {10, 11}},
        // No tick between 102 and 107 (a busy system): the sample due at 105 comes at 107, the
        // next one five seconds after that.
        {"a late tick", 5, everyTick(100, 102) + everyTick(107, 113), {100, 107, 112}},
        // A clock going back an hour starts the schedule over from there: one cycle later, not
        // an hour later, and never twice in a second.
        {"clock stepped back",
         5,
         std::vector<int64_t>{10000, 6400, 6404, 6405, 6406, 6410},
         {10000, 6405, 6410}},
    };
    for (const auto& r : rows) {
        SampleSchedule s;
        s.start(r.ticks.front(), r.cycle);
        std::vector<int64_t> taken{r.ticks.front()};
        for (size_t i = 1; i < r.ticks.size(); ++i)
            if (s.tick(r.ticks[i]))
                taken.push_back(r.ticks[i]);
        EXPECT_EQ(taken, r.samples) << r.what;
    }
}
