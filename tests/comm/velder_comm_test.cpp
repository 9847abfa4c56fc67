// The port owner over a real pseudo-terminal: the timing and repeat rules of one exchange, with a
// scripted controller on the far end.
#include "comm/line_settings.h"
#include "comm/velder_comm.h"
#include "fake_controller.h"
#include "pty_line.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace testline;
using qmx::parseLineSettings;
using qmx::Velder_Comm;

namespace {

const QString kReadCmd = QStringLiteral(" ");
const QString kSub = QStringLiteral(" ");

class VelderCommLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(line.ok());
        env = std::make_unique<PortDir>(line.dir());
        peer = std::make_unique<ScriptedPeer>(line.peerSide(), ctl.handler());
        ASSERT_TRUE(peer->ok());
        comm.setCom_Port("COM1");
        comm.setCom_TimeOut(300);
        ASSERT_TRUE(comm.Com_Open());
    }
    QString read(const QString& reg, int count = 3)
    {
        return comm.Com_Send(kReadCmd, kSub, kReadCmd, reg, "", count);
    }
    // Runs `f` and returns how long it took in ms.
    template <typename F> qint64 timed(F&& f)
    {
        QElapsedTimer t;
        t.start();
        f();
        return t.elapsed();
    }

    PtyPair line;
    std::unique_ptr<PortDir> env;
    FakeController ctl;
    std::unique_ptr<ScriptedPeer> peer;
    Velder_Comm comm;
};

TEST_F(VelderCommLine, ReadAnsweredAtOnce)
{
    ctl.setValue("0080", "00FA");
    const QString reply = read("0080");
    EXPECT_EQ(reply, QString::fromLatin1("\x06 0 008000FA\x03"));
    EXPECT_EQ(comm.Com_GetData(reply, 1), "00FA");
    EXPECT_EQ(comm.Com_GetData(reply, 2), "");
    ASSERT_EQ(peer->count(), 1u);
    EXPECT_EQ(peer->seen()[0].request.raw.toHex(' '), "02 20 20 20 30 30 38 30 03 32 39");
}

TEST_F(VelderCommLine, AReplyDelayed250AtTimeOut300IsAccepted)
{
    ctl.script(' ', "0080", {Scripted::ack("0123", 250)});
    QString reply;
    const qint64 ms = timed([&] { reply = read("0080"); });
    EXPECT_EQ(comm.Com_GetData(reply, 1), "0123");
    EXPECT_GE(ms, 240);
    EXPECT_EQ(peer->count(), 1u);
}

TEST_F(VelderCommLine, AReplyDelayed350IsNoAnswerAndNotTakenForTheNextRequest)
{
    ctl.script(' ', "0080", {Scripted::ack("0123", 350)});
    ctl.setValue("0081", "0456");
    QString first;
    const qint64 ms = timed([&] { first = read("0080"); });
    EXPECT_TRUE(first.isEmpty());
    EXPECT_GE(ms, 290);
    const QString second = read("0081");
    EXPECT_EQ(comm.Com_GetData(second, 1), "0456");
    EXPECT_EQ(peer->count(), 2u) << "silence is never sent again";
}

TEST_F(VelderCommLine, SilenceCostsExactlyOneFrame)
{
    ctl.script(' ', "0080", {Scripted::silent()});
    QString reply;
    const qint64 ms = timed([&] { reply = read("0080", 3); });
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_GE(ms, 290);
    EXPECT_LT(ms, 580) << "a silent frame is not sent again";
    EXPECT_EQ(peer->count(), 1u);
}

// A request goes to the line the moment it is made, before whatever waits in the event queue (a
// repaint, a timer): the first pending event, holding the event loop (and any write still queued
// in the port), looks whether the peer has the request yet. In Modbus RTU the second request first
// waits out the silent interval after the first one's reply.
TEST_F(VelderCommLine, TheRequestIsOnTheLineBeforeAnyPendingEventRuns)
{
    ctl.setValue("0080", "00FA");
    const auto onTheLineFirst = [&](auto exchange) {
        const size_t before = peer->count();
        bool onLine = false;
        QTimer::singleShot(0, [&] {
            for (int i = 0; i < 2000 && peer->count() == before; ++i)
                QThread::msleep(1);
            onLine = peer->count() > before;
        });
        const QString reply = exchange();
        QCoreApplication::processEvents(); // the look runs even when the exchange ran no loop
        return onLine && !reply.isEmpty();
    };
    EXPECT_TRUE(onTheLineFirst([&] { return read("0080"); }));
    comm.setCom_Databit("8");
    comm.setCom_Parity("NONE");
    comm.setCom_Protocol(3);
    const auto rtuRead = [&] { return comm.Com_Send("01", "", "03", "00800001", "", 3); };
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(onTheLineFirst(rtuRead)) << "RTU request " << i;
}

// A peer that answers register 0080 in two pieces: the first `firstMs` after the request, the rest
// `restMs` later. The frame's first byte counts against the time-out; the rest may follow within
// the frame's own allowance (17 characters + 50 ms, about 68 ms at 9600 7E1).
ScriptedPeer::Handler splitAnswer(int firstMs, int restMs, int times)
{
    auto left = std::make_shared<int>(times);
    return [=](const peer::Decoded& r) -> std::vector<Piece> {
        const QByteArray frame = peer::makerAck(' ', ' ', r.reg.toLatin1(), "0ABC");
        if ((*left)-- <= 0)
            return {{frame, 0}};
        return {{frame.left(3), firstMs}, {frame.mid(3), restMs}};
    };
}

TEST_F(VelderCommLine, AFrameBegunBeforeTheTimeOutMayCompleteAfterIt)
{
    peer.reset();
    peer = std::make_unique<ScriptedPeer>(line.peerSide(), splitAnswer(280, 50, 1));
    EXPECT_EQ(comm.Com_GetData(read("0080"), 1), "0ABC");
    EXPECT_EQ(peer->count(), 1u);
}

TEST_F(VelderCommLine, AFrameThatTakesTooLongIsRejectedAndSentAgain)
{
    peer.reset();
    peer = std::make_unique<ScriptedPeer>(line.peerSide(), splitAnswer(250, 150, 1));
    EXPECT_EQ(comm.Com_GetData(read("0080", 2), 1), "0ABC");
    EXPECT_EQ(peer->count(), 2u);
}

TEST_F(VelderCommLine, AGarbledReplyIsSentAgainUpToTheCount)
{
    comm.setCom_TimeOut(100);
    ctl.script(
        ' ', "0080",
        {Scripted::badCheck(), Scripted::badCheck(), Scripted::badCheck(), Scripted::badCheck()});
    EXPECT_TRUE(read("0080", 3).isEmpty());
    EXPECT_EQ(peer->count(), 3u);
    EXPECT_TRUE(read("0080", 1).isEmpty());
    EXPECT_EQ(peer->count(), 4u);
}

TEST_F(VelderCommLine, AGarbledReplyThenAGoodOne)
{
    comm.setCom_TimeOut(100);
    ctl.script(' ', "0080", {Scripted::badCheck(), Scripted::ack("7FFF")});
    EXPECT_EQ(comm.Com_GetData(read("0080", 2), 1), "7FFF");
    EXPECT_EQ(peer->count(), 2u);
}

TEST_F(VelderCommLine, AValidRefusalIsNeverSentAgain)
{
    ctl.script('P', "0000", {Scripted::nak('5')});
    const QString reply = comm.Com_Send("!", " ", "P", "0000", "8217", 3);
    EXPECT_EQ(reply, QString::fromLatin1("\x15!5P0000\x03"));
    EXPECT_EQ(comm.Com_GetData(reply, 1), "");
    ctl.script(' ', "0080", {Scripted::esc()});
    EXPECT_EQ(read("0080").left(1), QString(QChar(0x1B)));
    EXPECT_EQ(peer->count(), 2u);
}

TEST_F(VelderCommLine, TheGlobalInstrumentIsNotWaitedFor)
{
    comm.setCom_TimeOut(1000);
    QString reply;
    const qint64 ms =
        timed([&] { reply = comm.Com_Send(QString(QChar(0x7F)), " ", "P", "0000", "0000", 3); });
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_LT(ms, 600) << "the time-out of 1000 ms is not waited for";
    QThread::msleep(50);
    EXPECT_EQ(peer->count(), 1u);
}

TEST_F(VelderCommLine, ModbusAddressZeroIsNotWaitedFor)
{
    comm.setCom_TimeOut(1000);
    comm.setCom_Protocol(3);
    QString reply;
    const qint64 ms = timed([&] { reply = comm.Com_Send("00", "", "06", "0000", "0000", 3); });
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_LT(ms, 600) << "the time-out of 1000 ms is not waited for";
    QThread::msleep(50);
    ASSERT_EQ(peer->count(), 1u);
    EXPECT_EQ(peer->seen()[0].request.raw.toHex(' '), "00 06 00 00 00 00 88 1b");
}

TEST_F(VelderCommLine, AReplyArrivingByteByByteWithNoiseIsAccepted)
{
    ScriptedPeer::Handler h = [](const peer::Decoded& r) {
        std::vector<Piece> pieces{{QByteArray("\xFF\x06 1", 4), 5}};
        const QByteArray frame =
            peer::makerAck(char(0x20 + r.address), ' ', r.reg.toLatin1(), "1234");
        for (char c : frame)
            pieces.push_back({QByteArray(1, c), 2});
        pieces.push_back({"trailing", 1});
        return pieces;
    };
    peer.reset();
    peer = std::make_unique<ScriptedPeer>(line.peerSide(), h);
    EXPECT_EQ(comm.Com_GetData(read("0080"), 1), "1234");
}

TEST_F(VelderCommLine, StaleInputIsDiscardedBeforeSending)
{
    ctl.script(' ', "0080", {Scripted::ack("2222", 30)});
    peer->inject(peer::makerAck(' ', ' ', "0080", "1111"));
    QThread::msleep(50);
    EXPECT_EQ(comm.Com_GetData(read("0080"), 1), "2222");
}

TEST_F(VelderCommLine, SpecialCommandsInModbusSendNothing)
{
    comm.setCom_Protocol(2);
    EXPECT_TRUE(comm.Com_Send("01", "", QString(QChar(0x61)), "FC32", "", 3).isEmpty());
    comm.setCom_Protocol(7);
    EXPECT_TRUE(read("0080").isEmpty());
    QThread::msleep(30);
    EXPECT_EQ(peer->count(), 0u);
}

TEST_F(VelderCommLine, ALostPortEndsTheExchangeAndClosesIt)
{
    ctl.script(' ', "0080", {Scripted::silent()});
    peer.reset();
    line.stop(); // the line is gone under the open port, as when a USB adapter is pulled
    const QString reply = read("0080");
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_FALSE(comm.isOpen());
}

// --- Modbus RTU line timing ----------------------------------------------------------------------

class VelderCommRtu : public VelderCommLine {
protected:
    void SetUp() override
    {
        VelderCommLine::SetUp();
        comm.setCom_Databit("8");
        comm.setCom_Parity("NONE");
        comm.setCom_Protocol(3);
        ASSERT_TRUE(comm.isOpen());
    }
};

TEST_F(VelderCommRtu, BackToBackRequestsKeepTheSilentInterval)
{
    ctl.setValue("0080", "00FA");
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(comm.Com_Send("01", "", "03", "00800001", "", 3), ":01030200FA");
    const auto seen = peer->seen();
    ASSERT_EQ(seen.size(), 20u);
    std::vector<double> gaps;
    for (size_t i = 1; i < seen.size(); ++i)
        gaps.push_back(
            std::chrono::duration<double, std::milli>(seen[i].at - seen[i - 1].at).count());
    std::sort(gaps.begin(), gaps.end());
    // 3.5 characters of 10 bits at 9600 baud: 3.65 ms from the reply to the next request.
    EXPECT_GE(gaps.front(), 3.6);
}

TEST(LineSettings, TheSilentIntervalIsOwedOnlyForWhatIsLeftOfIt)
{
    const auto at9600 = parseLineSettings("9600", "8", "1", "NONE");
    ASSERT_TRUE(at9600);
    EXPECT_EQ(at9600->bitsPerChar(), 10);
    const qint64 t35 = at9600->t35Ns();
    EXPECT_EQ(t35, 3'645'833); // 3.5 characters of 10 bits
    EXPECT_EQ(at9600->silenceLeftNs(1'000'000, 1'000'000), t35);
    EXPECT_EQ(at9600->silenceLeftNs(1'000'000, 2'000'000), t35 - 1'000'000);
    EXPECT_EQ(at9600->silenceLeftNs(1'000'000, 1'000'000 + t35), 0);
    EXPECT_EQ(at9600->silenceLeftNs(0, 10'000'000), 0) << "a quiet line is not waited for again";

    const auto at38400 = parseLineSettings("38400", "7", "1", "EVEN");
    ASSERT_TRUE(at38400);
    EXPECT_EQ(at38400->t35Ns(), 1'750'000) << "never below 1.75 ms at high speeds";
    EXPECT_FALSE(parseLineSettings("fast", "8", "1", "NONE"));
}

// While an exchange waits for the controller, timers and sockets run; what they ask of the port
// meanwhile cannot disturb the exchange under them.
TEST_F(VelderCommLine, TimersTickAndANestedExchangeIsRefusedDuringAWait)
{
    ctl.script(' ', "0080", {Scripted::ack("0123", 250)});
    ctl.setValue("0081", "0456");
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    QString nested = QStringLiteral("not asked");
    QTimer::singleShot(30, [&] { nested = read("0081"); });
    EXPECT_EQ(comm.Com_GetData(read("0080"), 1), "0123");
    // The wait holds about twelve ticks; a loaded machine may lose some, never all.
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(nested.isEmpty());
    EXPECT_EQ(peer->count(), 1u) << "the nested request never went on the line";
}

TEST_F(VelderCommLine, ANewSettingOrACloseAskedDuringAWaitTakesEffectWhenTheExchangeEnds)
{
    ctl.script(' ', "0080", {Scripted::ack("0123", 150), Scripted::ack("0123", 150)});
    QTimer::singleShot(30, [&] { comm.setCom_Speed("19200"); });
    EXPECT_EQ(comm.Com_GetData(read("0080"), 1), "0123");
    EXPECT_TRUE(comm.isOpen()) << "reopened with the new setting";
    EXPECT_EQ(comm.Com_Speed(), "19200");

    bool openDuringWait = false;
    QTimer::singleShot(30, [&] {
        comm.Com_Close();
        openDuringWait = comm.isOpen();
    });
    EXPECT_TRUE(read("0080").isEmpty()) << "a closed link has no answer to give";
    EXPECT_TRUE(openDuringWait) << "the port stays under the waiting exchange";
    EXPECT_FALSE(comm.isOpen());
    EXPECT_TRUE(read("0080").isEmpty()) << "closed by the program: not opened again by itself";
}

} // namespace
