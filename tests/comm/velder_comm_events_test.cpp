// The port owner's waits let the program live: timers and sockets run while an exchange waits for
// the controller, and what they ask of the port meanwhile cannot disturb the exchange under them.
#include "comm/velder_comm.h"
#include "fake_controller.h"
#include "pty_line.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace testline;
using qmx::Velder_Comm;

namespace {

const QString kRead = QStringLiteral(" ");

class VelderCommEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(line.ok());
        env = std::make_unique<PortDir>(line.dir());
        peer = std::make_unique<ScriptedPeer>(line.peerSide(), ctl.handler());
        ASSERT_TRUE(peer->ok());
        comm.setCom_Port("COM1");
        comm.setCom_TimeOut(600);
        ASSERT_TRUE(comm.Com_Open());
    }
    QString read(const QString& reg) { return comm.Com_Send(kRead, kRead, kRead, reg, "", 3); }

    PtyPair line;
    std::unique_ptr<PortDir> env;
    FakeController ctl;
    std::unique_ptr<ScriptedPeer> peer;
    Velder_Comm comm;
};

TEST_F(VelderCommEvents, TimersTickWhileTheControllerIsSilent)
{
    ctl.script(' ', "0080", {Scripted::silent()});
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    EXPECT_TRUE(read("0080").isEmpty());
    // A 600 ms wait holds about twelve ticks; a loaded machine may lose some, never all.
    EXPECT_GE(ticks, 3);
}

TEST_F(VelderCommEvents, AnExchangeAskedDuringAWaitIsRefusedAndTheWaitingOneGoesOn)
{
    ctl.script(' ', "0080", {Scripted::ack("0123", 150)});
    ctl.setValue("0081", "0456");
    QString nested = QStringLiteral("not asked");
    QTimer::singleShot(30, [&] { nested = read("0081"); });
    const QString reply = read("0080");
    EXPECT_EQ(comm.Com_GetData(reply, 1), "0123");
    EXPECT_TRUE(nested.isEmpty());
    EXPECT_EQ(peer->count(), 1u) << "the nested request never went on the line";
}

TEST_F(VelderCommEvents, ACloseAskedDuringAWaitTakesEffectWhenTheExchangeEnds)
{
    ctl.script(' ', "0080", {Scripted::ack("0123", 150)});
    bool openDuringWait = false;
    QTimer::singleShot(30, [&] {
        comm.Com_Close();
        openDuringWait = comm.isOpen();
    });
    const QString reply = read("0080");
    EXPECT_TRUE(openDuringWait) << "the port stays under the waiting exchange";
    EXPECT_TRUE(reply.isEmpty()) << "a closed link has no answer to give";
    EXPECT_FALSE(comm.isOpen());
    EXPECT_TRUE(read("0080").isEmpty()) << "closed by the program: not opened again by itself";
}

TEST_F(VelderCommEvents, AChangedSettingDuringAWaitReopensAfterIt)
{
    ctl.script(' ', "0080", {Scripted::ack("0123", 150)});
    QTimer::singleShot(30, [&] { comm.setCom_Speed("19200"); });
    const QString reply = read("0080");
    EXPECT_EQ(comm.Com_GetData(reply, 1), "0123");
    EXPECT_TRUE(comm.isOpen());
    EXPECT_EQ(comm.Com_Speed(), "19200");
}

} // namespace
