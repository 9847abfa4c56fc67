// The scheduler as the window runs it: one step a tick, requests never lost, mode 5's endings.
#include "online_fixture.h"

#include <QPushButton>
#include <QTimer>

namespace {

using Scheduler = OnlineWindow;

TEST_F(Scheduler, WriteAskedDuringAnUploadsWaitRunsAfterIt)
{
    goOnline();
    w->Timer1.stop();
    w->requestComMode(4);
    int modeDuringUpload = -1;
    // The entry dialog's OK comes while the upload lets events run.
    QTimer::singleShot(20, [&] {
        modeDuringUpload = d.ComMode;
        d.ParaNo = 13;
        d.ParaBak(13) = d.ParaVal(13);
        d.ParaVal(13) = 42;
        d.Req_Write();
        d.ParaNo = 50; // the operator opens another item meanwhile
    });
    sim->mark();
    w->Timer1_Timer();
    EXPECT_EQ(modeDuringUpload, 4);
    EXPECT_TRUE(wire().contains(QStringLiteral("50 0070 0001")));
    EXPECT_TRUE(wire().contains(read("0004"))) << "read for what the controller holds";
    EXPECT_EQ(d.ParaVal(13), 42) << "the entered value stays on screen";
    EXPECT_EQ(d.ComMode, 2) << "the write waits for the next tick";
    EXPECT_EQ(d.ParaNo, 50) << "the item the operator opened is still the open one";

    sim->mark();
    w->Timer1_Timer();
    ASSERT_FALSE(wire().isEmpty());
    EXPECT_TRUE(wire().contains(QStringLiteral("50 0004 002A"))) << "item 13 with its new value";
    EXPECT_FALSE(wire().contains(QStringLiteral("50 0044 002A")));
    EXPECT_EQ(d.ComMode, 1);
    EXPECT_EQ(d.ParaNo, 50);
}

TEST_F(Scheduler, UnknownModeReturnsToMonitoringWithoutAnExchange)
{
    goOnline();
    w->Timer1.stop();
    for (int mode : {7, -1}) {
        d.ComMode = mode;
        sim->mark();
        w->Timer1_Timer();
        EXPECT_EQ(d.ComMode, 1);
        EXPECT_TRUE(wire().isEmpty());
    }
}

TEST_F(Scheduler, TickDuringALongStepDoesNothing)
{
    goOnline();
    w->Timer1.stop();
    const int step = d.MonStep;
    {
        qmx::MainDisp::LongStep busy(*w);
        sim->mark();
        w->Timer1_Timer();
        EXPECT_TRUE(wire().isEmpty());
        EXPECT_EQ(d.MonStep, step);
        // Buttons that would talk to the controller wait too.
        w->Cmd_ONOFF_Click();
        EXPECT_TRUE(d.OnLine);
        EXPECT_EQ(texts().last(), QStringLiteral("<beep>"));
    }
    w->Timer1_Timer();
    EXPECT_EQ(d.MonStep, step + 1);
}

TEST_F(Scheduler, ModeTwoWithReUploadIsFollowedByExactlyOneUpload)
{
    goOnline();
    w->Timer1.stop();
    d.ParaNo = 13;
    d.ParaBak(13) = d.ParaVal(13);
    d.Req_Write();
    d.ReUpload = true;
    sim->mark();
    w->Timer1_Timer();
    EXPECT_EQ(d.ComMode, 4);
    w->Timer1_Timer();
    EXPECT_EQ(d.ComMode, 1);
    EXPECT_FALSE(d.ReUpload);
    w->Timer1_Timer();
    EXPECT_EQ(wire().count(QStringLiteral("50 0070 0001")), 1);
}

// A download asked from offline: the link opened only for it, as the Download menu opens it.
class DownloadFromOffline : public OnlineWindow {
protected:
    void openTemporaryLink()
    {
        w->Cmd_ONOFF->setEnabled(false);
        d.Downloading = true;
        w->Timer1.start();
        w->Timer6.start();
        ASSERT_TRUE(w->QMXCom->Com_Open());
        d.ComOK = true;
        w->requestComMode(5);
        w->Timer1.stop();
    }
    void expectOfflineAgain()
    {
        EXPECT_FALSE(w->QMXCom->isOpen());
        EXPECT_FALSE(d.ComOK);
        EXPECT_FALSE(d.OnLine);
        EXPECT_FALSE(w->Timer1.isActive());
        EXPECT_FALSE(w->Timer6.isActive());
        EXPECT_TRUE(w->Cmd_ONOFF->isEnabled());
        EXPECT_EQ(w->Label2->text(), S(75));
        EXPECT_EQ(d.ComMode, 1);
        EXPECT_FALSE(d.Downloading);
    }
};

TEST_F(DownloadFromOffline, EndsWithTheLinkClosedAndTheOfflineLook)
{
    controllerOptions(0x24, 0);
    d.OptSet_Alarm2 = 1;
    d.OptSet_HB = 1;
    openTemporaryLink();
    answers({QStringLiteral("OK"), QStringLiteral("OK"), QStringLiteral("OK")});
    w->Timer1_Timer();
    expectOfflineAgain();
    EXPECT_TRUE(wire().contains(QStringLiteral("20 00A2")));
    EXPECT_EQ(wire().last(), lock()) << "the controller is locked before the port closes";
}

TEST_F(DownloadFromOffline, OptionsThatDoNotMatchRefuseBeforeAnythingIsWritten)
{
    controllerOptions(0x24, 0);
    openTemporaryLink();
    answers({QStringLiteral("OK")});
    w->Timer1_Timer();
    EXPECT_EQ(texts(), QStringList{S(295)});
    expectOfflineAgain();
    // Only the lock follows the check: the controller is never left unlocked.
    EXPECT_EQ(wire(), (QStringList{read("00A2"), read("00A1"), lock()}));
}

} // namespace
