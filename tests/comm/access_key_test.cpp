// Write_Key and Clear_Key against a scripted controller: which frames go out in which protocol,
// what the operator is told, and where the repeats stop.
#include "exchange_fixture.h"
#include "model/string_table.h"

#include <QElapsedTimer>
#include <QThread>

using namespace testline;
using qmx::ExchangeHost;
using qmx::LoadResString;

namespace {

using AccessKey = ExchangeLine;

const QString kKey = QStringLiteral("8217");

QString busyText()
{
    return LoadResString(455) + "\n" + LoadResString(456);
}

QString atText()
{
    return LoadResString(357) + "\n" + LoadResString(358);
}

TEST_F(AccessKey, MakerAcceptedAtOnce)
{
    data.Protocol = 0;
    data.ComErr = true;
    ex.Write_Key(kKey);
    EXPECT_EQ(wire(), QStringList{"P 0000 8217"});
    EXPECT_FALSE(data.ComErr);
    EXPECT_EQ(data.Protocol, 0);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(host.events.isEmpty()) << "Write_Key never touches the status bar";
}

TEST_F(AccessKey, ModbusNoAnswerSendsOnceAndLeavesTheMakerProtocol)
{
    data.strAdr = "01";
    data.Protocol = 1;
    data.ProtocolSel = 1;
    data.ComErr = true;
    ctl.script(0x06, "0000", {Scripted::silent()});
    comm.setCom_TimeOut(100);
    ex.Write_Key(kKey);
    EXPECT_EQ(wire(), QStringList{"A06 0000 8217"});
    EXPECT_EQ(data.Protocol, 0);
    EXPECT_FALSE(data.ComErr);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(AccessKey, ModbusAcceptedInRtu)
{
    data.strAdr = "01";
    data.Protocol = 2;
    ex.Write_Key(kKey);
    ASSERT_EQ(wire(), QStringList{"R06 0000 8217"});
    EXPECT_EQ(peer->seen()[0].request.raw.toHex(' '), "01 06 00 00 82 17 a9 64");
    EXPECT_EQ(data.Protocol, 0);
}

TEST_F(AccessKey, ModbusInstrumentZeroIsBroadcastAndNotWaitedFor)
{
    data.strAdr = "00";
    data.Protocol = 1;
    comm.setCom_TimeOut(2000);
    QElapsedTimer t;
    t.start();
    ex.Write_Key(kKey);
    EXPECT_LT(t.elapsed(), 500);
    EXPECT_EQ(data.Protocol, 0);
    QThread::msleep(30);
    EXPECT_EQ(wire(), QStringList{"A06 0000 8217"});
}

TEST_F(AccessKey, ModbusKeysBusyTellsTheOperatorAndRepeatsInTheMakerProtocol)
{
    data.strAdr = "01";
    data.Protocol = 2;
    data.ProtocolSel = 2;
    ctl.script(0x06, "0000", {Scripted::exception(0x12)});
    ex.Write_Key(kKey);
    EXPECT_EQ(wire(), (QStringList{"R06 0000 8217", "P 0000 8217"}));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, busyText());
    EXPECT_EQ(host.boxes[0].icon, ExchangeHost::Icon::Exclamation);
    EXPECT_EQ(host.boxes[0].title, LoadResString(1));
    EXPECT_EQ(data.Protocol, 0);
}

TEST_F(AccessKey, ModbusOtherExceptionRepeatsWithoutAMessage)
{
    data.strAdr = "01";
    data.Protocol = 1;
    ctl.script(0x06, "0000", {Scripted::exception(0x02)});
    ex.Write_Key(kKey);
    EXPECT_EQ(wire(), (QStringList{"A06 0000 8217", "P 0000 8217"}));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(AccessKey, MakerRefusalIsSilentWhenTheControllerIsSetToTheMakerProtocol)
{
    data.Protocol = 0;
    data.ProtocolSel = 0;
    ctl.script('P', "0000", {Scripted::nak('6')});
    ex.Write_Key(kKey);
    EXPECT_EQ(wire().size(), 1);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(AccessKey, MakerRefusalTellsAboutAutoTuningWhenTheControllerIsSetToModbus)
{
    data.Protocol = 0;
    data.ProtocolSel = 2;
    ctl.script('P', "0000", {Scripted::nak('6')});
    ex.Write_Key(kKey);
    EXPECT_EQ(wire().size(), 1);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, atText());
    EXPECT_EQ(host.boxes[0].icon, ExchangeHost::Icon::Exclamation);
    EXPECT_EQ(host.boxes[0].title, LoadResString(1));
}

TEST_F(AccessKey, MakerEscapeRepeatsButNotForEver)
{
    data.Protocol = 0;
    ctl.script('P', "0000", std::vector<Scripted>(10, Scripted::esc()));
    ex.Write_Key(kKey);
    EXPECT_EQ(wire().size(), qmx::Exchange::kKeyMaxOwnSends);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(AccessKey, ModbusExceptionThenEscapesStopsAtTheBound)
{
    data.strAdr = "01";
    data.Protocol = 2;
    ctl.script(0x06, "0000", {Scripted::exception(0x02)});
    ctl.script('P', "0000", std::vector<Scripted>(10, Scripted::esc()));
    ex.Write_Key(kKey);
    EXPECT_EQ(wire(), (QStringList{"R06 0000 8217", "P 0000 8217", "P 0000 8217"}));
}

TEST_F(AccessKey, BusyRepeatsDoNotUseUpThePlainRepeats)
{
    data.strAdr = "01";
    data.Protocol = 2;
    ctl.script(0x06, "0000", {Scripted::exception(0x12)});
    ctl.script('P', "0000", std::vector<Scripted>(10, Scripted::esc()));
    ex.Write_Key(kKey);
    // The send after the operator's OK is paced by the message, then three of its own.
    EXPECT_EQ(wire().size(), 1 + qmx::Exchange::kKeyMaxOwnSends);
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(AccessKey, ClearKeyWritesZeroInTheMakerProtocolAndRestoresTheProtocol)
{
    data.Protocol = 0;
    data.ProtocolSel = 2;
    comm.setCom_TimeOut(400);
    ex.Clear_Key();
    EXPECT_EQ(wire(), QStringList{"P 0000 0000"});
    EXPECT_EQ(data.Protocol, 2);
    EXPECT_EQ(comm.Com_TimeOut(), 300);
}

TEST_F(AccessKey, ClearKeyRestoresTheProtocolWithoutAnAnswer)
{
    data.Protocol = 0;
    data.ProtocolSel = 1;
    ctl.script('P', "0000", {Scripted::silent()});
    ex.Clear_Key();
    EXPECT_EQ(wire().size(), 1) << "silence is not sent again";
    EXPECT_EQ(data.Protocol, 1);
}

TEST_F(AccessKey, ClearKeyGarbledIsSentTwice)
{
    data.ProtocolSel = 0;
    ctl.script('P', "0000", {Scripted::badCheck(), Scripted::badCheck(), Scripted::badCheck()});
    ex.Clear_Key();
    EXPECT_EQ(wire().size(), 2);
    EXPECT_EQ(data.Protocol, 0);
}

} // namespace
