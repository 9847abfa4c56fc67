// When a transfer tells the operator that its exchanges failed: once a run, early when the
// watchdog has counted its ticks, else at the end.
#include "rules/transfer_report.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One run as a string of events: 'f' an exchange failed, 'o' one succeeded, a digit a safe point
// between exchanges with that watchdog count, 'e' the end. The result is where the box came.
std::string told(const std::string& events)
{
    qmx::TransferReport r;
    std::string out;
    for (char ev : events) {
        if (ev == 'f')
            r.exchangeFailed();
        if ((ev >= '0' && ev <= '9' && r.dueNow(ev - '0')) || (ev == 'e' && r.dueAtEnd())) {
            r.told();
            out += ev;
        }
    }
    return out;
}

struct Case {
    const char* events;
    const char* told;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.events;
}

class TransferReportRun : public ::testing::TestWithParam<Case> {};

TEST_P(TransferReportRun, TellsOnceAtTheRightMoment)
{
    EXPECT_EQ(told(GetParam().events), GetParam().told) << GetParam().events;
}

INSTANTIATE_TEST_SUITE_P(Runs, TransferReportRun,
                         ::testing::Values(Case{"o0o0o0e", ""},          // all went well
                                           Case{"o0f1f2f3f4o0e", "e"},   // never five in a row
                                           Case{"f1f2f3f4f5f5f5e", "5"}, // slow: early, once
                                           Case{"ffffffffffe", "e"},     // too fast to count
                                           Case{"f5e", "5"},             // not again at the end
                                           Case{"o5o5e", ""},            // an old error's count
                                           Case{"fe", "e"}));            // one refusal at the end

} // namespace
