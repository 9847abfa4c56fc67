// An upload or a download whose exchanges fail tells the operator once, whether the line dies
// slowly (silence: the watchdog counts while the run goes on) or at once (a refusal, the cable
// pulled): never a run that looks finished while the controller and the screen disagree.
#include "linked_window.h"

namespace {

enum class Run { Download, Upload };

struct FailCase {
    const char* name;
    Run run;
    const char* kind; // the simulator's fault
    const char* reg;  // on this register
    int count;        // for this many requests
};

void PrintTo(const FailCase& c, std::ostream* os)
{
    *os << c.name;
}

class TransferFailure : public LinkedWindow, public ::testing::WithParamInterface<FailCase> {
protected:
    void SetUp() override
    {
        LinkedWindow::SetUp();
        options(0);
        // The watchdog runs as it does online.
        w->Timer6.start();
    }
    int boxes(int first) const
    {
        return int(texts().count(S(first) + QLatin1Char('\n') + S(first + 1)));
    }
};

TEST_P(TransferFailure, TellsTheOperatorExactlyOnce)
{
    const FailCase& c = GetParam();
    fault({{"kind", c.kind}, {"reg", c.reg}, {"count", c.count}});
    if (c.run == Run::Download) {
        d.Downloading = true;
        w->Write_AllPara2();
        EXPECT_FALSE(d.Downloading);
    } else {
        d.Uploading = true;
        w->ReadPara_setflg();
        EXPECT_FALSE(d.Uploading);
    }
    const int told = c.run == Run::Download ? 382 : 380;
    EXPECT_EQ(boxes(told), 1) << texts().join(" | ").toStdString();
    EXPECT_EQ(boxes(told == 382 ? 380 : 382), 0);
    // Nothing more is said once the run is over, however long the error stays.
    d.ComErr = true;
    for (int i = 0; i < 6; ++i)
        w->Timer6_Timer();
    EXPECT_EQ(boxes(told), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TransferFailure,
    ::testing::Values(
        // Ten silent writes take about three seconds: the watchdog's five ticks come mid-run.
        FailCase{"DownloadIntoSilence", Run::Download, "silence", "*", 10},
        FailCase{"DownloadOneWriteRefused", Run::Download, "nak", "0004", 1},
        FailCase{"DownloadCablePulled", Run::Download, "unplug", "0004", 1},
        FailCase{"UploadIntoSilence", Run::Upload, "silence", "*", 10},
        FailCase{"UploadOneReadRefused", Run::Upload, "nak", "0004", 1},
        FailCase{"UploadCablePulled", Run::Upload, "unplug", "0004", 1}),
    [](const auto& info) { return std::string(info.param.name); });

using TransferSuccess = TransferFailure;

TEST_F(TransferSuccess, AnAnsweredRunTellsNothing)
{
    d.Downloading = true;
    w->Write_AllPara2();
    d.Uploading = true;
    w->ReadPara_setflg();
    EXPECT_EQ(boxes(380), 0);
    EXPECT_EQ(boxes(382), 0);
}

} // namespace
