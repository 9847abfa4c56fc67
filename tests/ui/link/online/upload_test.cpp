// Upload of every parameter: order and skipped items, the controller's keys in use, and the
// error watchdog while the controller is silent.
#include "online_fixture.h"

#include <QLabel>
#include <QProgressBar>

namespace {

const QString kTransfer = QStringLiteral("50 0070 0001");

// Items 11 to 45 and 48 to 58, as their registers: never auto/manual (0038) or the manual output
// (0039).
const QStringList kOrdinary =
    QStringLiteral("0001 0003 0004 0005 0006 0007 0008 0009 000B 000C 000F 0012 "
                   "0015 0016 0018 0019 001A 001B 001C 001D 001E 001F 0020 0021 "
                   "0022 0023 0024 0025 0026 0029 002A 0032 0033 0034 0037 0040 "
                   "0041 0044 0045 0047 0048 0049 0050 0051 0052 0053")
        .split(QLatin1Char(' '));

struct UploadCase {
    const char* what;
    int model;
    int option1;
    bool autoTuning;
    QStringList specials; // after item 58
    QStringList last;     // after the specials
    int count;            // the progress count at the end
};

void PrintTo(const UploadCase& c, std::ostream* os)
{
    *os << c.what;
}

class Upload : public OnlineWindow, public ::testing::WithParamInterface<UploadCase> {
protected:
    QStringList simArgs() const override
    {
        return {QStringLiteral("--port"),
                QStringLiteral("COM1:9600:maker:0:%1").arg(GetParam().model)};
    }
};

TEST_P(Upload, ReadsEveryItemInOrder)
{
    const UploadCase& c = GetParam();
    controllerOptions(c.option1, 0);
    d.SpecCheck = false;
    answers({QStringLiteral("Yes")});
    goOnline();
    if (c.autoTuning)
        sim->control({{"cmd", "at"}, {"port", "COM1"}, {"seconds", 60}});
    w->Label6->setText(QStringLiteral("old.dat"));
    sim->mark();

    w->mnuUpload_Click();
    EXPECT_TRUE(d.Uploading);
    EXPECT_EQ(w->Label6->text(), QString());
    ASSERT_TRUE(runUntil([&] { return !d.Uploading && d.ComMode == 1; }));

    QStringList expected;
    for (const QString& reg : kOrdinary)
        if (c.model != 1605 || (reg != u"0018" && reg != u"0019" && reg != u"001A"))
            expected << read(qPrintable(reg));
    expected << c.specials << c.last;
    const QStringList all = wire();
    const int start = int(all.indexOf(kTransfer));
    ASSERT_GE(start, 0);
    EXPECT_EQ(all.mid(start + 1, expected.size()), expected) << c.what;
    EXPECT_EQ(w->ProgressBar1->value(), c.count) << c.what;
    EXPECT_TRUE(w->ProgressBar1->isHidden());
    EXPECT_TRUE(w->Frame4->isHidden());
    EXPECT_TRUE(d.DataValid);
    EXPECT_FALSE(d.ReUpload);
    EXPECT_EQ(all.count(kTransfer), 1) << "one upload";
}

const QStringList kOutOffKey = {QStringLiteral("50 0000 8217"), QStringLiteral("61 FC96")};

INSTANTIATE_TEST_SUITE_P(
    Models, Upload,
    ::testing::Values(
        UploadCase{"standard", 1364, 0x24, false, kOutOffKey, {QStringLiteral("20 004A")}, 55},
        UploadCase{"infrared: its range items stay, emissivity last",
                   1605,
                   0x24,
                   false,
                   kOutOffKey,
                   {QStringLiteral("20 004A"), QStringLiteral("20 0054")},
                   53},
        UploadCase{"set-value memory: SV2-4 and contact input through special reads",
                   1364,
                   0x01,
                   false,
                   {QStringLiteral("50 0000 8217"), QStringLiteral("61 FC32"),
                    QStringLiteral("62 001D"), QStringLiteral("50 0000 8217"),
                    QStringLiteral("61 FC34"), QStringLiteral("50 0000 8217"),
                    QStringLiteral("61 FC36"), QStringLiteral("50 0000 8217"),
                    QStringLiteral("61 FC92"), QStringLiteral("50 0000 8217"),
                    QStringLiteral("61 FC96")},
                   {QStringLiteral("20 004A")},
                   55},
        UploadCase{"auto-tuning running: no special reads",
                   1364,
                   0x01,
                   true,
                   {},
                   {QStringLiteral("20 004A")},
                   55}));

using UploadRefused = OnlineWindow;

TEST_F(UploadRefused, ControllerKeysInUseRefuseOnceAndNothingIsRead)
{
    answers({QStringLiteral("Yes"), QStringLiteral("OK")});
    goOnline();
    sim->control({{"cmd", "busy"}, {"port", "COM1"}, {"on", true}});
    sim->mark();
    w->mnuUpload_Click();
    ASSERT_TRUE(runUntil([&] { return wire().contains(kTransfer) && d.ComMode == 1; }));
    EXPECT_EQ(texts().count(S(291)), 1);
    EXPECT_FALSE(d.Uploading);
    EXPECT_TRUE(w->Lbl_UPmsg->isHidden()) << "no progress display";

    // A second refused upload, asked by the scheduler, is refused silently.
    w->requestComMode(4);
    ASSERT_TRUE(runUntil([&] { return wire().count(kTransfer) == 2 && d.ComMode == 1; }));
    ASSERT_TRUE(runRequests(int(wire().size()) + 5));
    EXPECT_EQ(texts().count(S(291)), 1);
    for (const QString& r : wire())
        EXPECT_TRUE(r == kTransfer ||
                    QStringList({"20 0080", "20 0081", "20 0083", "20 0085", "20 0086", "20 0038"})
                        .contains(r))
            << r.toStdString() << ": only monitoring reads";
}

TEST_F(UploadRefused, UploadMenuOfflineRefusesAndSendsNothing)
{
    answers({QStringLiteral("OK")});
    w->mnuUpload_Click();
    EXPECT_EQ(texts(), (QStringList{S(98), QStringLiteral("<beep>")}));
    EXPECT_FALSE(d.Uploading);
    EXPECT_TRUE(wire().isEmpty());
}

TEST_F(UploadRefused, AnsweringNoUploadsNothing)
{
    answers({QStringLiteral("No")});
    goOnline();
    w->mnuUpload_Click();
    EXPECT_FALSE(d.Uploading);
    ASSERT_TRUE(runRequests(int(wire().size()) + 5));
    EXPECT_FALSE(wire().contains(kTransfer));
}

using UploadWatchdog = OnlineWindow;

TEST_F(UploadWatchdog, SilentControllerDuringUploadIsReported)
{
    QStringList answers{QStringLiteral("Yes")};
    for (int i = 0; i < 40; ++i)
        answers << QStringLiteral("OK");
    this->answers(answers);
    goOnline();
    w->Timer1.stop();
    w->mnuUpload_Click();
    // The first requests of the upload go unanswered: long enough for five watchdog ticks.
    fault({{"kind", "silence"}, {"count", 14}});

    w->Timer1_Timer();

    const QString message = joined({380, 381});
    EXPECT_GE(texts().count(message), 1);
    EXPECT_FALSE(texts().contains(joined({382, 383})));
    EXPECT_FALSE(d.Uploading);
    EXPECT_EQ(d.ComMode, 1);
    // Once the transfer has ended, an error no longer speaks of it.
    const int told = int(texts().count(message));
    d.ComErr = true;
    for (int i = 0; i < 6; ++i)
        w->Timer6_Timer();
    EXPECT_EQ(texts().count(message), told);
}

} // namespace
