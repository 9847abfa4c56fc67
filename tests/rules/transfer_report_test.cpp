// When a transfer tells the operator that its exchanges failed: once a run, early when the
// watchdog has counted its ticks, else at the end.
#include "rules/transfer_report.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qmx::TransferReport;

// One run as a string of events: 'f' an exchange failed, 'o' one succeeded, a digit a safe point
// between exchanges with that watchdog count, 'e' the end. The result is where the box came.
std::vector<char> run(const char* events)
{
    TransferReport r;
    std::vector<char> told;
    for (const char* p = events; *p; ++p) {
        bool due = false;
        if (*p == 'f')
            r.exchangeFailed();
        else if (*p >= '0' && *p <= '9')
            due = r.dueNow(*p - '0');
        else if (*p == 'e')
            due = r.dueAtEnd();
        if (due) {
            r.told();
            told.push_back(*p);
        }
    }
    return told;
}

struct Case {
    const char* events;
    std::vector<char> told;
};

class TransferReportRun : public ::testing::TestWithParam<Case> {};

TEST_P(TransferReportRun, TellsOnceAtTheRightMoment)
{
    EXPECT_EQ(run(GetParam().events), GetParam().told) << GetParam().events;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TransferReportRun,
    ::testing::Values(Case{"o0o0o0e", {}},            // all went well
                      Case{"o0f1f2f3f4o0e", {'e'}},   // failures, never five ticks in a row
                      Case{"f1f2f3f4f5f5f5e", {'5'}}, // a slow dead line: early, and only once
                      Case{"ffffffffffe", {'e'}},     // failures too fast for the watchdog
                      Case{"f5e", {'5'}},             // told early, not again at the end
                      Case{"o5o5e", {}},              // the count alone (an old error) is not
                      Case{"fe", {'e'}}));            // a single refusal at the very end

} // namespace
