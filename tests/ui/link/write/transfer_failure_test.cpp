// An upload or a download whose exchanges fail tells the operator once, whether the line dies
// slowly (silence: the watchdog counts while the run goes on) or at once (a refusal, the cable
// pulled); a run that went well tells nothing.
#include "linked_window.h"

namespace {

struct FailCase {
    const char* name;
    bool download;
    const char* kind; // the simulator's fault, "" for none
    const char* reg;  // on this register
    int count;        // for this many requests
};

void PrintTo(const FailCase& c, std::ostream* os)
{
    *os << c.name;
}

class TransferFailure : public LinkedWindow, public ::testing::WithParamInterface<FailCase> {};

TEST_P(TransferFailure, TellsTheOperatorExactlyOnce)
{
    const FailCase& c = GetParam();
    options(0);
    w->Timer6.start(); // the watchdog runs as it does online
    if (*c.kind)
        fault({{"kind", c.kind}, {"reg", c.reg}, {"count", c.count}});
    if (c.download) {
        d.Downloading = true;
        w->Write_AllPara2();
        EXPECT_FALSE(d.Downloading);
    } else {
        d.Uploading = true;
        w->ReadPara_setflg();
        EXPECT_FALSE(d.Uploading);
    }
    auto boxes = [&](int first) { return int(texts().count(S(first) + '\n' + S(first + 1))); };
    const int told = c.download ? 382 : 380, other = c.download ? 380 : 382;
    EXPECT_EQ(boxes(told), *c.kind ? 1 : 0) << texts().join(" | ").toStdString();
    EXPECT_EQ(boxes(other), 0);
    // Nothing more is said once the run is over, however long the error stays.
    d.ComErr = true;
    for (int i = 0; i < 6; ++i)
        w->Timer6_Timer();
    EXPECT_EQ(boxes(told), *c.kind ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TransferFailure,
    ::testing::Values(
        // Ten silent requests take seconds: the watchdog counts while the run goes on.
        FailCase{"DownloadIntoSilence", true, "silence", "*", 10},
        FailCase{"DownloadOneWriteRefused", true, "nak", "0004", 1},
        FailCase{"DownloadCablePulled", true, "unplug", "0004", 1},
        FailCase{"DownloadAnswered", true, "", "", 0},
        FailCase{"UploadIntoSilence", false, "silence", "*", 10},
        FailCase{"UploadOneReadRefused", false, "nak", "0004", 1},
        FailCase{"UploadCablePulled", false, "unplug", "0004", 1},
        FailCase{"UploadAnswered", false, "", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
