// The real qmx-sim over its pseudo-terminals: golden frames of the three protocols, the access
// key, the Modbus key switching to the maker's protocol, faults, the control socket, the wire
// log, and READY / SIGTERM with the links.
#include "sim_harness.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace simtest;

namespace {
const Bytes kReadPv = hex("0220202030303830033239");
const Bytes kAckPv250 = hex("062030203030383030304641033341");
const Bytes kKeyWriteInst1 = hex("022120503030303038323137033543");
const Bytes kAckKeyInst1 = hex("062130503030303038323137033438");
const Bytes kWriteP20 = hex("022020503030303430303134033530");
const Bytes kAckP20 = hex("062030503030303430303134033434");
const Bytes kNak6P = hex("1520365030303034033534");
const Bytes kRtuKeyWrite = hex("010600008217A964");
const Bytes kRtuReadPv = hex("01030080000185E2");
const Bytes kRtuPv250 = hex("01030200FA3807");

bool waitFor(const std::function<bool()>& condition, int ms)
{
    const double until = monotonicMs() + ms;
    while (!condition()) {
        if (monotonicMs() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool okReply(const std::string& reply)
{
    return reply.find("\"ok\":true") != std::string::npos;
}

std::string wire(const Bytes& b)
{
    return qmxsim::toHex(b);
}

class SimTest : public ::testing::Test {
protected:
    void start(const std::vector<std::string>& args)
    {
        sim = std::make_unique<SimProcess>(args);
        ASSERT_TRUE(sim->ready());
    }
    void ctl(const std::string& json) { ASSERT_TRUE(okReply(sim->control(json))) << json; }
    std::unique_ptr<SimProcess> sim;
};
} // namespace

TEST_F(SimTest, ReadyLinksAndSigtermRemovesThem)
{
    start({"--port", "COM1", "--port", "COM2:19200:ascii:1", "--silent", "COM3"});
    for (const char* name : {"COM1", "COM2", "COM3", "ctl"})
        EXPECT_TRUE(exists(sim->path(name))) << name;
    EXPECT_FALSE(exists(sim->path("COM4")));
    EXPECT_EQ(sim->terminate(), 0);
    for (const char* name : {"COM1", "COM2", "COM3", "ctl"})
        EXPECT_FALSE(exists(sim->path(name))) << name;
}

TEST_F(SimTest, GoldenMakerFrames)
{
    start({"--port", "COM1:9600:maker:0", "--port", "COM2:9600:maker:1"});
    ctl(R"({"cmd":"set","port":"COM1","reg":"0080","value":250})");
    Line com1(sim->path("COM1"));
    ASSERT_TRUE(com1.isOpen());
    EXPECT_EQ(wire(com1.exchange(kReadPv, kAckPv250.size())), wire(kAckPv250));
    Line com2(sim->path("COM2"));
    EXPECT_EQ(wire(com2.exchange(kKeyWriteInst1, kAckKeyInst1.size())), wire(kAckKeyInst1));
    // Instrument 1 ignores a request for instrument 0.
    EXPECT_TRUE(com2.exchange(kReadPv, 1, 200).empty());
}

TEST_F(SimTest, GoldenModbusFrames)
{
    start({"--preset", "trio"});
    ctl(R"({"cmd":"set","port":"COM2","reg":"0080","value":250})");
    ctl(R"({"cmd":"set","port":"COM3","reg":"0080","value":250})");
    Line ascii(sim->path("COM2"));
    const std::string reply = ":01030200FA00\r\n";
    const Bytes got = ascii.exchange(qmxsim::bytesOf(":0103008000017B\r\n"), reply.size());
    EXPECT_EQ(std::string(got.begin(), got.end()), reply);
    Line rtu(sim->path("COM3"), B9600, false);
    EXPECT_EQ(wire(rtu.exchange(kRtuReadPv, kRtuPv250.size())), wire(kRtuPv250));
}

TEST_F(SimTest, ModbusKeyMovesTheLinkToTheMakerProtocolUntilPowerCycle)
{
    start({"--port", "COM3:9600:rtu:1"});
    ctl(R"({"cmd":"set","port":"COM3","reg":"0080","value":250})");
    Line rtu(sim->path("COM3"), B9600, false);
    EXPECT_EQ(wire(rtu.exchange(kRtuKeyWrite, kRtuKeyWrite.size())), wire(kRtuKeyWrite));
    EXPECT_TRUE(rtu.exchange(kRtuReadPv, 1, 250).empty()) << "no more Modbus";
    const Bytes readPvInst1 = makerRequest(1, ' ', "0080");
    const Bytes ack = rtu.exchange(readPvInst1, 15);
    ASSERT_EQ(ack.size(), 15u);
    EXPECT_EQ(ack[0], 0x06);
    EXPECT_EQ(std::string(ack.begin() + 8, ack.begin() + 12), "00FA");
    ctl(R"({"cmd":"powercycle","port":"COM3"})");
    EXPECT_TRUE(rtu.exchange(readPvInst1, 1, 250).empty()) << "back to Modbus";
    EXPECT_EQ(wire(rtu.exchange(kRtuReadPv, kRtuPv250.size())), wire(kRtuPv250));
}

TEST_F(SimTest, KeyUnlocksAndLocksWrites)
{
    start({"--port", "COM1"});
    Line com1(sim->path("COM1"));
    EXPECT_EQ(wire(com1.exchange(kWriteP20, kNak6P.size())), wire(kNak6P));
    const Bytes ack = com1.exchange(makerRequest(0, 'P', "0000", "8217"), 15);
    ASSERT_EQ(ack.size(), 15u);
    EXPECT_EQ(ack[0], 0x06);
    EXPECT_EQ(wire(com1.exchange(kWriteP20, kAckP20.size())), wire(kAckP20));
    const Bytes lock = makerRequest(0, 'P', "0000", "0000");
    EXPECT_EQ(com1.exchange(lock, 15).at(0), 0x06);
    EXPECT_EQ(wire(com1.exchange(kWriteP20, kNak6P.size())), wire(kNak6P));
    const std::string got = sim->control(R"({"cmd":"get","port":"COM1","reg":"0004"})");
    EXPECT_NE(got.find("\"value\":20"), std::string::npos) << got;
}

TEST_F(SimTest, BadBccIsAnsweredWithNak1)
{
    start({"--port", "COM1"});
    Line com1(sim->path("COM1"));
    Bytes bad = kReadPv;
    bad.back() = '8';
    const Bytes nak = com1.exchange(bad, 11);
    ASSERT_EQ(nak.size(), 11u);
    EXPECT_EQ(nak[0], 0x15);
    EXPECT_EQ(nak[2], '1');
}

TEST_F(SimTest, WrongSpeedIsNotHeard)
{
    start({"--port", "COM1:19200"});
    Line slow(sim->path("COM1"), B9600);
    EXPECT_TRUE(slow.exchange(kReadPv, 1, 250).empty());
    Line right(sim->path("COM1"), B19200);
    EXPECT_EQ(right.exchange(kReadPv, 15).size(), 15u);
    bool logged = false;
    for (const std::string& l : sim->logLines())
        logged = logged || l.find("wrong-speed") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST_F(SimTest, SilentPortAndGlobalInstrument)
{
    start({"--port", "COM1", "--silent", "COM2"});
    Line silent(sim->path("COM2"));
    EXPECT_TRUE(silent.exchange(kReadPv, 1, 250).empty());
    Line com1(sim->path("COM1"));
    ctl(R"({"cmd":"set","port":"COM1","key":true})");
    // Instrument 95 writes P = 0x14 to everyone and nobody answers.
    const Bytes global = makerRequest(95, 'P', "0004", "0014");
    EXPECT_TRUE(com1.exchange(global, 1, 250).empty());
    EXPECT_NE(sim->control(R"({"cmd":"get","port":"COM1","reg":"0004"})").find("\"value\":20"),
              std::string::npos);
}

struct FaultCase {
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.fault; }
    const char* name;
    const char* fault;  // JSON fields after "cmd" and "port"
    std::size_t length; // bytes expected (0: nothing)
    int minMs;          // the reply must not come sooner
    std::uint8_t lead;  // first byte expected
    char code;          // third byte expected
};

class PtyFaults : public SimTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(PtyFaults, OneRequestIsAffectedThenAllIsNormal)
{
    start({"--port", "COM1"});
    ctl(R"({"cmd":"set","port":"COM1","reg":"0080","value":250})");
    ctl(std::string(R"({"cmd":"fault","port":"COM1",)") + GetParam().fault + "}");
    Line com1(sim->path("COM1"));
    const double t0 = monotonicMs();
    const Bytes got = com1.exchange(kReadPv, 15, 1000);
    if (GetParam().length == 0) {
        EXPECT_TRUE(got.empty()) << wire(got);
    } else {
        const Bytes& all = got;
        ASSERT_GE(all.size(), 1u);
        EXPECT_EQ(all.size(), GetParam().length) << wire(all);
        EXPECT_EQ(all[0], GetParam().lead);
        if (GetParam().code != 0 && all.size() > 2) {
            EXPECT_EQ(all[2], GetParam().code);
        }
        EXPECT_GE(monotonicMs() - t0, GetParam().minMs);
        if (GetParam().length == 15) {
            EXPECT_NE(wire(all), wire(kAckPv250)) << "damaged, so it must differ";
        }
    }
    com1.receiveQuiet(100);
    EXPECT_EQ(wire(com1.exchange(kReadPv, 15)), wire(kAckPv250)) << "the fault is used up";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PtyFaults,
    ::testing::Values(
        FaultCase{"Silence", R"("kind":"silence")", 0, 0, 0, 0},
        FaultCase{"Nak3", R"("kind":"nak","code":3)", 11, 0, 0x15, '3'},
        FaultCase{"Esc", R"("kind":"esc","reg":"0080")", 11, 0, 0x1B, 0},
        FaultCase{"GarbleCheck", R"("kind":"garble","how":"check")", 15, 0, 0x06, '0'},
        FaultCase{"GarbleAddress", R"("kind":"garble","how":"address")", 15, 0, 0x06, '0'},
        FaultCase{"Truncate", R"("kind":"garble","how":"truncate")", 12, 0, 0x06, '0'}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimTest, DelayAndLateReplies)
{
    start({"--port", "COM1"});
    Line com1(sim->path("COM1"));
    ctl(R"({"cmd":"fault","port":"COM1","kind":"delay","ms":250})");
    double t0 = monotonicMs();
    EXPECT_EQ(com1.exchange(kReadPv, 15, 1000).size(), 15u);
    const double delayed = monotonicMs() - t0;
    EXPECT_GE(delayed, 240);
    EXPECT_LT(delayed, 600);
    // A late reply misses a 300 ms wait, then turns up anyway.
    ctl(R"({"cmd":"fault","port":"COM1","kind":"late","ms":500})");
    EXPECT_TRUE(com1.exchange(kReadPv, 15, 300).empty());
    EXPECT_EQ(com1.receive(15, 600).size(), 15u);
}

TEST_F(SimTest, InputTypeWriteIsAnsweredAfter350Ms)
{
    start({"--port", "COM1"});
    ctl(R"({"cmd":"set","port":"COM1","key":true})");
    Line com1(sim->path("COM1"));
    const Bytes write = makerRequest(0, 'P', "0044", "0001");
    const double t0 = monotonicMs();
    const Bytes ack = com1.exchange(write, 15, 1000);
    ASSERT_EQ(ack.size(), 15u);
    EXPECT_EQ(ack[0], 0x06);
    EXPECT_GE(monotonicMs() - t0, 340);
}

TEST_F(SimTest, BusyKeysOverModbusGiveException12)
{
    start({"--port", "COM3:9600:rtu:1"});
    ctl(R"({"cmd":"busy","port":"COM3","on":true})");
    Line rtu(sim->path("COM3"), B9600, false);
    EXPECT_EQ(wire(rtu.exchange(kRtuKeyWrite, 5)), "018612C26D");
    ctl(R"({"cmd":"busy","port":"COM3","on":false})");
    EXPECT_EQ(wire(rtu.exchange(kRtuKeyWrite, 8)), wire(kRtuKeyWrite));
}

TEST_F(SimTest, UnplugAndReplug)
{
    start({"--port", "COM1"});
    ctl(R"({"cmd":"unplug","port":"COM1"})");
    EXPECT_FALSE(exists(sim->path("COM1")));
    ctl(R"({"cmd":"replug","port":"COM1"})");
    ASSERT_TRUE(exists(sim->path("COM1")));
    Line com1(sim->path("COM1"));
    EXPECT_EQ(com1.exchange(kReadPv, 15).size(), 15u);
    // A fault can pull the cable in the middle of a request, and put it back later.
    ctl(R"({"cmd":"fault","port":"COM1","kind":"unplug","ms":600})");
    com1.send(kReadPv);
    const std::string link = sim->path("COM1");
    EXPECT_TRUE(waitFor([&] { return !exists(link); }, 500));
    EXPECT_TRUE(com1.receive(1, 100).empty());
    EXPECT_TRUE(waitFor([&] { return exists(link); }, 3000));
}

TEST_F(SimTest, ControlChannelAnswersEveryLine)
{
    start({"--preset", "demo"});
    EXPECT_TRUE(okReply(sim->control(R"({"cmd":"ping"})")));
    const std::string dump = sim->control(R"({"cmd":"dump","port":"COM1"})");
    EXPECT_NE(dump.find("\"0001\":150"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"0018\":1370"), std::string::npos);
    EXPECT_NE(dump.find("\"00A1\":36"), std::string::npos);
    EXPECT_FALSE(okReply(sim->control(R"({"cmd":"nonsense","port":"COM1"})")));
    EXPECT_FALSE(okReply(sim->control("not json")));
    EXPECT_FALSE(okReply(sim->control(R"({"cmd":"get","port":"COM9","reg":"0080"})")));
    EXPECT_FALSE(okReply(sim->control(R"({"cmd":"fault","port":"COM1","kind":"gremlin"})")));
    ctl(R"({"cmd":"log","text":"hello"})");
    bool marker = false;
    for (const std::string& l : sim->logLines())
        marker = marker || l.find("\"marker\":\"hello\"") != std::string::npos;
    EXPECT_TRUE(marker);
}

TEST_F(SimTest, DemoPvRises)
{
    start({"--preset", "demo"});
    const auto pv = [this] {
        const std::string r = sim->control(R"({"cmd":"get","port":"COM1","reg":"0080"})");
        const auto at = r.find("\"value\":");
        return at == std::string::npos ? -9999 : std::stoi(r.substr(at + 8));
    };
    const int first = pv();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_GT(pv(), first + 3);
}

TEST_F(SimTest, WireLogRecordsBothDirections)
{
    start({"--port", "COM1"});
    ctl(R"({"cmd":"set","port":"COM1","reg":"0080","value":250})");
    Line com1(sim->path("COM1"));
    ASSERT_EQ(com1.exchange(kReadPv, 15).size(), 15u);
    bool rx = false;
    bool tx = false;
    for (const std::string& l : sim->logLines()) {
        rx = rx || (l.find("\"dir\":\"rx\"") != std::string::npos &&
                    l.find("\"hex\":\"0220202030303830033239\"") != std::string::npos &&
                    l.find("\"cmd\":\"20\"") != std::string::npos &&
                    l.find("\"reg\":\"0080\"") != std::string::npos);
        tx = tx || (l.find("\"dir\":\"tx\"") != std::string::npos &&
                    l.find("\"proto\":\"maker\"") != std::string::npos &&
                    l.find("\"data\":\"00FA\"") != std::string::npos);
    }
    EXPECT_TRUE(rx);
    EXPECT_TRUE(tx);
}

TEST_F(SimTest, EmulatedLineSpeedPacesTheReply)
{
    // At 1200 baud, 7E1 (10 bits), the 11-byte request and the 15-byte reply take 217 ms.
    start({"--port", "COM1:1200", "--emulate-baud"});
    Line com1(sim->path("COM1"), B1200);
    const double t0 = monotonicMs();
    EXPECT_EQ(com1.exchange(kReadPv, 15, 2000).size(), 15u);
    EXPECT_GE(monotonicMs() - t0, 200);
}

TEST_F(SimTest, ModbusFaultsAnswerWithExceptions)
{
    start({"--port", "COM3:9600:rtu:1"});
    Line rtu(sim->path("COM3"), B9600, false);
    ctl(R"({"cmd":"fault","port":"COM3","kind":"exception","code":2,"reg":"0080"})");
    EXPECT_EQ(wire(rtu.exchange(kRtuReadPv, 5)), "018302C0F1");
    ctl(R"({"cmd":"fault","port":"COM3","kind":"nak","code":5})");
    EXPECT_EQ(wire(rtu.exchange(kRtuKeyWrite, 5)), "018612C26D");
    // A request with a bad CRC is not answered at all.
    Bytes bad = kRtuReadPv;
    bad[7] ^= 0x01;
    EXPECT_TRUE(rtu.exchange(bad, 1, 250).empty());
    EXPECT_EQ(rtu.exchange(kRtuReadPv, 7).size(), 7u);
}
