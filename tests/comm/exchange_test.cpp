// Sendcomm's mapping of a request into each protocol (seen on the wire by a scripted controller),
// the reply verdicts, ReadDataSet, ComCheck and the two waits.
#include "comm/exchange.h"
#include "comm/reply_verdict.h"
#include "exchange_fixture.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

using namespace testline;
using namespace qmx;

namespace {

QString ch(int c)
{
    return QString(QChar(c));
}

TEST_F(ExchangeLine, MakerMapping)
{
    data.Protocol = 0;
    struct Row {
        const char* name;
        QString stAdr, command, code, value;
        int wireAddress, wireCommand;
    };
    const Row rows[] = {
        {"instrument 00 read", "00", "03", "0080", "", 0x20, 0x20},
        {"one digit", "5", "03", "0080", "", 0x25, 0x20},
        {"write 06 becomes P", "01", "06", "0001", "00FA", 0x21, 'P'},
        {"0x70 goes as P", "00", ch(0x70), "FF1A", "0000", 0x20, 'P'},
        {"any other command goes as P", "00", "10", "0001", "0001", 0x20, 'P'},
        {"0x60 unchanged", "00", ch(0x60), "FF13", "", 0x20, 0x60},
        {"0x61 unchanged", "00", ch(0x61), "FC32", "", 0x20, 0x61},
        {"0x62 unchanged", "00", ch(0x62), "001D", "", 0x20, 0x62},
        {"0x71 unchanged", "00", ch(0x71), "FC30", "0064", 0x20, 0x71},
        {"0x72 unchanged", "00", ch(0x72), "001C", "0064", 0x20, 0x72},
        {"instrument 94", "94", "03", "0080", "", 0x7E, 0x20},
    };
    size_t sent = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString reply = ex.Sendcomm(row.stAdr, "", row.command, row.code, row.value, 3);
        ASSERT_EQ(peer->count(), ++sent);
        const auto r = last();
        ASSERT_EQ(r.kind, peer::Decoded::Maker);
        EXPECT_EQ(static_cast<unsigned char>(r.raw[1]), row.wireAddress);
        EXPECT_EQ(r.raw[2], ' ') << "sub-address";
        EXPECT_EQ(r.command, row.wireCommand);
        EXPECT_EQ(r.reg, row.code);
        EXPECT_EQ(r.data, row.value);
        EXPECT_EQ(reply.left(1), ch(0x06));
    }
    EXPECT_EQ(comm.Com_Protocol(), 0);
}

TEST_F(ExchangeLine, InstrumentNinetyFiveIsTheGlobalAddress)
{
    data.Protocol = 0;
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(ex.Sendcomm("95", "", "06", "0000", "0000", 3).isEmpty());
    EXPECT_LT(t.elapsed(), 200);
    QThread::msleep(30);
    ASSERT_EQ(peer->count(), 1u);
    EXPECT_EQ(static_cast<unsigned char>(last().raw[1]), 0x7F);
}

TEST_F(ExchangeLine, ModbusMapping)
{
    struct Row {
        const char* name;
        int protocol;
        QString stAdr, command, code, value;
        peer::Decoded::Kind kind;
        int address;
        int quantity;
    };
    const Row rows[] = {
        {"ASCII read appends 0001", 1, "01", "03", "0080", "", peer::Decoded::Ascii, 1, 1},
        {"RTU read appends 0001", 2, "01", "03", "0081", "", peer::Decoded::Rtu, 1, 1},
        {"instrument 10 is 0A", 1, "10", "03", "0080", "", peer::Decoded::Ascii, 0x0A, 1},
        {"instrument 95 is 5F", 2, "95", "03", "0080", "", peer::Decoded::Rtu, 0x5F, 1},
        {"one digit", 2, "7", "03", "0080", "", peer::Decoded::Rtu, 7, 1},
        {"write passes code and data", 1, "01", "06", "0038", "0001", peer::Decoded::Ascii, 1, 0},
        {"RTU write", 2, "01", "06", "0000", "8217", peer::Decoded::Rtu, 1, 0},
    };
    size_t sent = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        data.Protocol = row.protocol;
        const QString reply = ex.Sendcomm(row.stAdr, "", row.command, row.code, row.value, 3);
        ASSERT_EQ(peer->count(), ++sent);
        const auto r = last();
        EXPECT_EQ(r.kind, row.kind);
        EXPECT_EQ(r.address, row.address);
        EXPECT_EQ(r.command, row.command.toInt(nullptr, 16));
        EXPECT_EQ(r.reg, row.code);
        EXPECT_EQ(r.data, row.value);
        EXPECT_EQ(r.quantity, row.quantity);
        EXPECT_EQ(reply.mid(3, 2), row.command);
        EXPECT_EQ(comm.Com_Protocol(), row.protocol == 1 ? 2 : 3);
    }
}

TEST_F(ExchangeLine, ModbusInstrumentZeroIsSentAsAddress00)
{
    data.Protocol = 2;
    EXPECT_TRUE(ex.Sendcomm("00", "", "06", "0000", "0000", 3).isEmpty());
    QThread::msleep(30);
    ASSERT_EQ(peer->count(), 1u);
    EXPECT_EQ(last().address, 0);
}

TEST_F(ExchangeLine, RequestsThatSendNothing)
{
    struct Row {
        const char* name;
        int protocol;
        QString stAdr, command;
    };
    const Row rows[] = {
        {"protocol 3", 3, "01", "03"},
        {"protocol -1", -1, "01", "03"},
        {"decimal point", 0, "5.4", "03"},
        {"exponent", 0, "1e1", "03"},
        {"letters", 0, "abc", "03"},
        {"above 95", 0, "96", "03"},
        {"three digits", 0, "200", "03"},
        {"leading zero, three digits", 0, "007", "03"},
        {"empty", 0, "", "03"},
        {"space", 1, " 7", "03"},
        {"sign", 2, "-1", "03"},
        {"hex", 1, "0A", "03"},
        {"special read in ASCII", 1, "01", ch(0x61)},
        {"special write in RTU", 2, "01", ch(0x71)},
        {"memory read in RTU", 2, "01", ch(0x60)},
        {"standby write in ASCII", 1, "01", ch(0x70)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        data.Protocol = row.protocol;
        data.strAdr = row.stAdr;
        EXPECT_TRUE(ex.Sendcomm(data.strAdr, "", row.command, "0080", "", 3).isEmpty());
        EXPECT_EQ(data.strAdr, row.stAdr) << "the text is kept as typed";
    }
    QThread::msleep(30);
    EXPECT_EQ(peer->count(), 0u);
}

TEST_F(ExchangeLine, NoAnswerIsAnEmptyReply)
{
    data.Protocol = 0;
    ctl.script(' ', "0080", {Scripted::silent()});
    comm.setCom_TimeOut(100);
    EXPECT_TRUE(ex.Sendcomm("00", "", "03", "0080", "", 3).isEmpty());
    EXPECT_EQ(peer->count(), 1u);
}

// --- verdicts and stores (no line needed) --------------------------------------------------------

TEST(ExchangeVerdict, ReplyClassification)
{
    const QString ack = QString::fromLatin1("\x06 0 008000FA\x03");
    const QString busy = QString::fromLatin1("\x15 5P0000\x03");
    const QString nak = QString::fromLatin1("\x15 3P0000\x03");
    const QString esc = QString::fromLatin1("\x1B 0 0080\x03");
    struct Row {
        const char* name;
        int protocol;
        QString reply, function;
        Verdict verdict;
    };
    const Row rows[] = {
        {"maker empty", 0, "", "03", Verdict::NoAnswer},
        {"maker ACK", 0, ack, "03", Verdict::Accepted},
        {"maker NAK 5", 0, busy, "06", Verdict::Busy},
        {"maker NAK 3", 0, nak, "06", Verdict::Refused},
        {"maker ESC", 0, esc, "03", Verdict::Other},
        {"maker other", 0, "x", "03", Verdict::Other},
        {"modbus empty", 1, "", "03", Verdict::NoAnswer},
        {"modbus read", 1, ":01030200FA", "03", Verdict::Accepted},
        {"modbus write", 2, ":010600008217", "06", Verdict::Accepted},
        {"modbus read answered as write", 2, ":010600008217", "03", Verdict::Other},
        {"modbus 86 12", 2, ":018612", "06", Verdict::Busy},
        {"modbus 83 12", 1, ":018312", "03", Verdict::Busy},
        {"modbus 86 02", 2, ":018602", "06", Verdict::Refused},
        {"modbus 84 12", 2, ":018412", "03", Verdict::Other},
        {"modbus short", 2, ":01", "03", Verdict::Other},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(judgeReply(row.protocol, row.reply, row.function), row.verdict);
    }
    EXPECT_EQ(verdictText(Verdict::Accepted), "OK");
    EXPECT_EQ(verdictText(Verdict::Busy), "NG");
    EXPECT_EQ(verdictText(Verdict::Other), "NG");
    EXPECT_EQ(verdictText(Verdict::NoAnswer), "");
}

TEST(ExchangeVerdict, HexWords)
{
    EXPECT_EQ(toHex4(-1), "FFFF");
    EXPECT_EQ(toHex4(250), "00FA");
    EXPECT_EQ(toHex4(-32768), "8000");
    EXPECT_EQ(fromHex4("FFFF"), -1);
    EXPECT_EQ(fromHex4("8000"), -32768);
    EXPECT_EQ(fromHex4("7FFF"), 32767);
    EXPECT_EQ(fromHex4(""), 0);
    EXPECT_EQ(fromHex4("12"), 0);
}

class ExchangeNoLine : public ::testing::Test {
protected:
    Velder_Comm comm;
    QmxData data;
    FakeHost host;
    Exchange ex{data, comm, host};
};

TEST_F(ExchangeNoLine, ReadDataSetStoresByItem)
{
    const auto makerAck = [](const char* value) {
        return QString::fromLatin1("\x06 0 0080") + QString::fromLatin1(value) + QChar(0x03);
    };
    ex.ReadDataSet(makerAck("FFFF"), 11);
    EXPECT_EQ(data.ParaVal(11), -1);
    ex.ReadDataSet(makerAck("8000"), 68);
    EXPECT_EQ(data.ParaVal(68), -32768);
    ex.ReadDataSet(makerAck("00FA"), 0);
    EXPECT_EQ(data.MonVal(0), 250);
    ex.ReadDataSet(makerAck("0085"), 8);
    EXPECT_EQ(data.MonVal(8), 0x85);
    data.ParaVal(67) = 9;
    ex.ReadDataSet(makerAck("0002"), 67);
    EXPECT_EQ(data.MonVal(67), 2);
    EXPECT_EQ(data.ParaVal(67), 9) << "item 67 lives in MonVal";
    ex.ReadDataSet(":01030200FA", 12);
    EXPECT_EQ(data.ParaVal(12), 250);
    ex.ReadDataSet(":0103021234", 13);
    EXPECT_EQ(data.ParaVal(13), 0x1234);
    ex.ReadDataSet(":010600388001", 46);
    EXPECT_EQ(data.ParaVal(46), -32767);
    data.ParaVal(14) = 5;
    ex.ReadDataSet("", 14);
    EXPECT_EQ(data.ParaVal(14), 0) << "an empty field stores 0";
    ex.ReadDataSet(makerAck("1234"), 9);  // no such item: nothing happens
    ex.ReadDataSet(makerAck("1234"), 69); // no such item: nothing happens
}

TEST_F(ExchangeNoLine, ComCheck)
{
    struct Row {
        const char* name;
        QString reply;
        QString panel;
    };
    const Row rows[] = {
        {"ACK", QString::fromLatin1("\x06 0q FC3000FA\x03"), "OK"},
        {"NAK", QString::fromLatin1("\x15 6q FC30\x03"), "NG"},
        {"ESC", QString::fromLatin1("\x1B 0q FC30\x03"), "NG"},
        {"empty", "", "(before)"},
        {"Modbus text", ":010600008217", "(before)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        host.panel1 = "(before)";
        data.ComErr = true;
        ex.ComCheck(row.reply);
        EXPECT_FALSE(data.ComErr);
        EXPECT_EQ(host.panel1, row.panel);
    }
}

TEST_F(ExchangeNoLine, Wait100msLetsEventsRun)
{
    bool ticked = false;
    QTimer::singleShot(10, [&] { ticked = true; });
    QElapsedTimer t;
    t.start();
    ex.Wait_100ms();
    EXPECT_GE(t.elapsed(), 99);
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(ex.WaitFlag);
    EXPECT_GT(host.eventRounds, 0);
    ex.Dummy_Wait();
}

} // namespace
