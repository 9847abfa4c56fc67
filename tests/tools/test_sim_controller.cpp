// The simulated controller without any port: factory values, access key, range checks, special
// commands, auto-tuning, busy keys, transfer mode, Modbus key switching and the process model.
#include "controller.h"
#include "faults.h"
#include "register_table.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace qmxsim;

namespace {
Command read(std::uint16_t reg, bool modbus = false)
{
    Command c;
    c.op = Op::Read;
    c.reg = reg;
    c.modbus = modbus;
    return c;
}

Command write(std::uint16_t reg, int value, Op op = Op::Write, bool modbus = false)
{
    Command c;
    c.op = op;
    c.reg = reg;
    c.value = static_cast<std::uint16_t>(value);
    c.modbus = modbus;
    return c;
}

Command special(Op op, std::uint16_t reg, int value = 0)
{
    return write(reg, value, op);
}

Controller unlocked(ControllerConfig config = {})
{
    Controller c(config);
    EXPECT_EQ(c.handle(write(kKeyRegister, kKeyValue), 0).verdict, Verdict::Ack);
    return c;
}
} // namespace

// Factory values of every parameter register, written out here independently of the table.
struct Factory {
    friend void PrintTo(const Factory& c, std::ostream* os) { *os << std::hex << c.reg; }
    std::uint16_t reg;
    int value;
};

class FactoryValues : public ::testing::TestWithParam<Factory> {};

TEST_P(FactoryValues, ReadBackOverTheMakerProtocol)
{
    Controller c;
    const Answer a = c.handle(read(GetParam().reg), 0);
    ASSERT_EQ(a.verdict, Verdict::Ack);
    EXPECT_EQ(static_cast<std::int16_t>(a.value), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Items, FactoryValues,
    ::testing::Values(
        Factory{0x0001, 0}, Factory{0x0003, 0}, Factory{0x0004, 10}, Factory{0x0005, 10},
        Factory{0x0006, 200}, Factory{0x0007, 50}, Factory{0x0008, 30}, Factory{0x0009, 30},
        Factory{0x000B, 0}, Factory{0x000C, 0}, Factory{0x000F, 0}, Factory{0x0012, 0},
        Factory{0x0015, 0}, Factory{0x0016, 0}, Factory{0x0018, 1370}, Factory{0x0019, -200},
        Factory{0x001A, 0}, Factory{0x001B, 0}, Factory{0x001C, 100}, Factory{0x001D, 0},
        Factory{0x001E, 10}, Factory{0x001F, 0}, Factory{0x0020, 100}, Factory{0x0021, 0},
        Factory{0x0022, 10}, Factory{0x0023, 0}, Factory{0x0024, 0}, Factory{0x0025, 10},
        Factory{0x0026, 10}, Factory{0x0029, 0}, Factory{0x002A, 0}, Factory{0x0032, 0},
        Factory{0x0033, 0}, Factory{0x0034, 0}, Factory{0x0037, 0}, Factory{0x0038, 0},
        Factory{0x0039, 0}, Factory{0x0040, 0}, Factory{0x0041, 0}, Factory{0x0044, 0},
        Factory{0x0045, 0}, Factory{0x0047, 20}, Factory{0x0048, 50}, Factory{0x0049, 0},
        Factory{0x004A, 0}, Factory{0x0050, 0}, Factory{0x0051, 0}, Factory{0x0052, 50},
        Factory{0x0053, 0}));

TEST(Registers, EmissivityOnlyOnTheInfraredModel)
{
    Controller standard;
    EXPECT_EQ(standard.handle(read(kEmissivity), 0).verdict, Verdict::NoRegister);
    ControllerConfig ir;
    ir.model = kModelInfrared;
    Controller infrared(ir);
    const Answer a = infrared.handle(read(kEmissivity), 0);
    EXPECT_EQ(a.verdict, Verdict::Ack);
    EXPECT_EQ(a.value, 950);
}

struct ReadCase {
    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    ControllerConfig config;
    std::uint16_t reg;
    Verdict verdict;
    int value;
};

class IdentityReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IdentityReads, Answer)
{
    Controller c(GetParam().config);
    const Answer a = c.handle(read(GetParam().reg), 0);
    EXPECT_EQ(a.verdict, GetParam().verdict);
    if (a.verdict == Verdict::Ack) {
        EXPECT_EQ(a.value, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IdentityReads,
    ::testing::Values(
        ReadCase{"ModelStandard", {}, 0x0000, Verdict::Ack, 1364},
        ReadCase{
            "ModelInfrared", {1605, 1, 0, 0, 0, Protocol::Maker, 9600}, 0x0000, Verdict::Ack, 1605},
        ReadCase{
            "ModelUserMap", {1706, 2, 0, 0, 0, Protocol::Maker, 9600}, 0x0000, Verdict::Ack, 1706},
        ReadCase{"RomNumber", {1706, 2, 0, 0, 0, Protocol::Maker, 9600}, 0x00A0, Verdict::Ack, 2},
        ReadCase{
            "Option1", {1364, 1, 0x24, 0x10, 0, Protocol::Maker, 9600}, 0x00A1, Verdict::Ack, 0x24},
        ReadCase{
            "Option2", {1364, 1, 0x24, 0x10, 0, Protocol::Maker, 9600}, 0x00A2, Verdict::Ack, 0x10},
        ReadCase{"NoRegister0002", {}, 0x0002, Verdict::NoRegister, 0},
        ReadCase{"NoRegister0084", {}, 0x0084, Verdict::NoRegister, 0},
        ReadCase{"SpecialCodeIsNotARegister", {}, 0xFC30, Verdict::NoRegister, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AccessKey, GuardsMakerWritesAndLocksAgain)
{
    Controller c;
    EXPECT_EQ(c.handle(write(kProportional, 20), 0).verdict, Verdict::RefusedInState);
    EXPECT_EQ(c.handle(write(kKeyRegister, 0x1234), 0).verdict, Verdict::OutOfRange);
    EXPECT_FALSE(c.keyUnlocked());
    EXPECT_EQ(c.handle(write(kKeyRegister, kKeyValue), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.handle(write(kProportional, 20), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.handle(read(kProportional), 0).value, 20);
    EXPECT_EQ(c.handle(write(kKeyRegister, 0), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.handle(write(kProportional, 30), 0).verdict, Verdict::RefusedInState);
    EXPECT_EQ(c.handle(read(kProportional), 0).value, 20);
    // Reading the key register always gives the model code, whatever was written to it.
    EXPECT_EQ(c.handle(read(kKeyRegister), 0).value, 1364);
}

TEST(AccessKey, ModbusKeySwitchesToMakerUntilPowerCycle)
{
    ControllerConfig rtu;
    rtu.protocol = Protocol::Rtu;
    rtu.instrument = 1;
    Controller c(rtu);
    EXPECT_EQ(c.speaking(), Protocol::Rtu);
    EXPECT_EQ(c.handle(write(kKeyRegister, kKeyValue, Op::Write, true), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.speaking(), Protocol::Maker);
    EXPECT_TRUE(c.keyUnlocked());
    c.powerCycle();
    EXPECT_EQ(c.speaking(), Protocol::Rtu);
    EXPECT_FALSE(c.keyUnlocked());
}

TEST(AccessKey, RefusedWhileAutoTuningButLockingIsAllowed)
{
    Controller c = unlocked();
    c.startAutoTuning(0, 30);
    EXPECT_EQ(c.handle(write(kKeyRegister, kKeyValue), 1).verdict, Verdict::RefusedInState);
    EXPECT_EQ(c.handle(write(kKeyRegister, 0), 1).verdict, Verdict::Ack);
    Controller d;
    EXPECT_EQ(d.handle(write(kKeyRegister, kKeyValue), 0, {false, true}).verdict,
              Verdict::RefusedInState);
}

struct RangeCase {
    friend void PrintTo(const RangeCase& c, std::ostream* os)
    {
        *os << std::hex << c.reg << std::dec << "=" << c.value;
    }
    std::uint16_t reg;
    int value;
    Verdict verdict;
    int model = kModelStandard;
};

class Ranges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(Ranges, EnumerationsAndLimits)
{
    ControllerConfig config;
    config.model = GetParam().model;
    Controller c = unlocked(config);
    const int before = static_cast<std::int16_t>(c.handle(read(GetParam().reg), 0).value);
    EXPECT_EQ(c.handle(write(GetParam().reg, GetParam().value), 0).verdict, GetParam().verdict);
    const int after = static_cast<std::int16_t>(c.handle(read(GetParam().reg), 0).value);
    EXPECT_EQ(after, GetParam().verdict == Verdict::Ack ? GetParam().value : before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Ranges,
    ::testing::Values(
        RangeCase{0x0012, 3, Verdict::Ack}, RangeCase{0x0012, 4, Verdict::OutOfRange},
        RangeCase{0x001A, 3, Verdict::Ack}, RangeCase{0x001A, -1, Verdict::OutOfRange},
        RangeCase{0x001C, 100, Verdict::Ack}, RangeCase{0x001C, 101, Verdict::OutOfRange},
        RangeCase{0x001F, 2, Verdict::Ack}, RangeCase{0x001F, 3, Verdict::OutOfRange},
        RangeCase{0x0023, 9, Verdict::Ack}, RangeCase{0x0023, 10, Verdict::OutOfRange},
        RangeCase{0x0024, 7, Verdict::Ack}, RangeCase{0x0032, 4, Verdict::OutOfRange},
        RangeCase{0x0037, 2, Verdict::OutOfRange}, RangeCase{0x0038, 1, Verdict::Ack},
        RangeCase{0x0040, 2, Verdict::OutOfRange}, RangeCase{0x0044, 35, Verdict::Ack},
        RangeCase{0x0044, 36, Verdict::OutOfRange},
        RangeCase{0x0044, 3, Verdict::Ack, kModelInfrared},
        RangeCase{0x0044, 4, Verdict::OutOfRange, kModelInfrared},
        RangeCase{0x0045, 1, Verdict::Ack}, RangeCase{0x0050, 6, Verdict::Ack},
        RangeCase{0x0050, 7, Verdict::OutOfRange}, RangeCase{0x0051, 7, Verdict::OutOfRange},
        RangeCase{0x0039, -1000, Verdict::Ack}, RangeCase{0x0039, 1001, Verdict::OutOfRange},
        RangeCase{0x0018, -1, Verdict::Ack}, RangeCase{0x0004, 0, Verdict::Ack},
        RangeCase{0x0080, 5, Verdict::NoRegister}, RangeCase{0x00A1, 5, Verdict::NoRegister},
        RangeCase{0x0002, 5, Verdict::NoRegister}));

TEST(InputType, AnswersLateAndBringsItsRange)
{
    Controller c = unlocked();
    c.inputDelayMs = 350;
    const Answer a = c.handle(write(kInputType, 1), 0);
    EXPECT_EQ(a.verdict, Verdict::Ack);
    EXPECT_EQ(a.delayMs, 350);
    EXPECT_EQ(c.handle(read(kScalingHigh), 0).value, 4000);
    EXPECT_EQ(static_cast<std::int16_t>(c.handle(read(kScalingLow), 0).value), -2000);
    EXPECT_EQ(c.handle(read(kProportional), 0).delayMs, 0);
}

TEST(FrontKeys, BusyRefusesWritesNotReadsAndFlagsChanges)
{
    Controller c = unlocked();
    c.setBusy(true);
    EXPECT_EQ(c.handle(write(kProportional, 20), 0).verdict, Verdict::KeysBusy);
    EXPECT_EQ(c.handle(write(kKeyRegister, kKeyValue), 0).verdict, Verdict::KeysBusy);
    EXPECT_EQ(c.handle(special(Op::SpecialWrite1, 0xFC30, 5), 0).verdict, Verdict::KeysBusy);
    EXPECT_EQ(c.handle(read(kProportional), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.statusWord() & kStChangedAtFront, 0);
    c.setBusy(false);
    EXPECT_NE(c.statusWord() & kStChangedAtFront, 0);
    // Transfer mode 0001 is the program's acknowledgement of the change.
    EXPECT_EQ(c.handle(write(kTransferMode, 1), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.statusWord() & kStChangedAtFront, 0);
    EXPECT_EQ(c.handle(write(kTransferMode, 2), 0).verdict, Verdict::OutOfRange);
    EXPECT_EQ(c.handle(write(kProportional, 20), 0, {true, false}).verdict, Verdict::KeysBusy);
}

TEST(AutoTuning, RunsForItsTimeAndChangesPid)
{
    Controller c = unlocked();
    c.autoTuningSeconds = 5;
    EXPECT_EQ(c.handle(write(kAutoTuning, 1), 10).verdict, Verdict::Ack);
    EXPECT_NE(c.handle(read(kStatus), 11).value & kStAutoTuning, 0);
    EXPECT_EQ(c.handle(read(kAutoTuning), 11).value, 1);
    const int p = c.handle(read(kProportional), 12).value;
    const int i = c.handle(read(kIntegral), 12).value;
    const int d = c.handle(read(kDerivative), 12).value;
    EXPECT_EQ(c.handle(read(kStatus), 15.5).value & kStAutoTuning, 0);
    EXPECT_EQ(c.handle(read(kAutoTuning), 15.5).value, 0);
    EXPECT_NE(c.handle(read(kProportional), 16).value, p);
    EXPECT_NE(c.handle(read(kIntegral), 16).value, i);
    EXPECT_NE(c.handle(read(kDerivative), 16).value, d);
}

TEST(AutoTuning, CancelKeepsPid)
{
    Controller c = unlocked();
    c.handle(write(kAutoTuning, 1), 0);
    c.handle(write(kAutoTuning, 0), 1);
    EXPECT_FALSE(c.autoTuning());
    EXPECT_EQ(c.handle(read(kProportional), 100).value, 10);
}

TEST(Specials, NeedTheKey)
{
    Controller c;
    EXPECT_EQ(c.handle(special(Op::MemoRead, 0xFF13), 0).verdict, Verdict::RefusedInState);
    EXPECT_EQ(c.handle(special(Op::SpecialRead1, 0xFC30), 0).verdict, Verdict::RefusedInState);
    EXPECT_EQ(c.handle(special(Op::SpecialWrite1, 0xFC30, 1), 0).verdict, Verdict::RefusedInState);
}

TEST(Specials, StageThenCommitTheMainSetValue)
{
    Controller c = unlocked();
    EXPECT_EQ(c.handle(special(Op::SpecialWrite1, 0xFC30, 150), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.handle(read(kSetValue), 0).value, 0) << "staged, not yet in force";
    EXPECT_EQ(c.handle(special(Op::SpecialWrite2, 0x001C, 150), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.handle(read(kSetValue), 0).value, 150);
    EXPECT_EQ(c.handle(read(kSvInUse), 0).value, 150);
    EXPECT_EQ(c.handle(special(Op::SpecialRead1, 0xFC30), 0).value, 150);
    // 001C with 0x72 is the second code, not the output limit register.
    EXPECT_EQ(c.handle(read(kOutHigh), 0).value, 100);
}

struct CommitCase {
    friend void PrintTo(const CommitCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    std::uint16_t first;
    int staged;
    std::uint16_t second;
    int committed;
    Verdict verdict;
};

class Commits : public ::testing::TestWithParam<CommitCase> {};

TEST_P(Commits, OnlyTheMatchingPairWithTheSameValue)
{
    ControllerConfig config;
    config.option1 = 0x01; // set-value memory option
    Controller c = unlocked(config);
    if (GetParam().first != 0) {
        ASSERT_EQ(
            c.handle(special(Op::SpecialWrite1, GetParam().first, GetParam().staged), 0).verdict,
            Verdict::Ack);
    }
    EXPECT_EQ(
        c.handle(special(Op::SpecialWrite2, GetParam().second, GetParam().committed), 0).verdict,
        GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Commits,
    ::testing::Values(CommitCase{"Sv2", 0xFC32, 7, 0x001D, 7, Verdict::Ack},
                      CommitCase{"Sv4", 0xFC36, 9, 0x001F, 9, Verdict::Ack},
                      CommitCase{"Contact", 0xFC92, 2, 0x004D, 2, Verdict::Ack},
                      CommitCase{"KeyFunction", 0xFC96, 1, 0x004F, 1, Verdict::Ack},
                      CommitCase{"NothingStaged", 0, 0, 0x001C, 5, Verdict::RefusedInState},
                      CommitCase{"OtherPair", 0xFC32, 7, 0x001E, 7, Verdict::RefusedInState},
                      CommitCase{"OtherValue", 0xFC30, 7, 0x001C, 8, Verdict::RefusedInState},
                      CommitCase{"NotASecondCode", 0xFC30, 7, 0xFC30, 7, Verdict::NoRegister}),
    [](const auto& info) { return std::string(info.param.name); });

struct OptionCase {
    friend void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    std::uint16_t option1;
    std::uint16_t option2;
    Op op;
    std::uint16_t code;
    int value;
    Verdict verdict;
};

class SpecialOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(SpecialOptions, NotExecutableWithoutTheOption)
{
    ControllerConfig config;
    config.option1 = GetParam().option1;
    config.option2 = GetParam().option2;
    Controller c = unlocked(config);
    EXPECT_EQ(c.handle(special(GetParam().op, GetParam().code, GetParam().value), 0).verdict,
              GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpecialOptions,
    ::testing::Values(
        OptionCase{"Sv2NoOption", 0x00, 0, Op::SpecialRead1, 0xFC32, 0, Verdict::NotExecutable},
        OptionCase{"Sv2BothBits", 0x03, 0, Op::SpecialRead1, 0xFC32, 0, Verdict::NotExecutable},
        OptionCase{"Sv2Option", 0x01, 0, Op::SpecialRead1, 0xFC32, 0, Verdict::Ack},
        OptionCase{"Sv2SecondCode", 0x01, 0, Op::SpecialRead2, 0x001D, 0, Verdict::Ack},
        OptionCase{"ContactNoOption", 0x00, 0, Op::SpecialWrite1, 0xFC92, 1,
                   Verdict::NotExecutable},
        OptionCase{"ContactRange", 0x01, 0, Op::SpecialWrite1, 0xFC92, 3, Verdict::OutOfRange},
        OptionCase{"AbnormalNoDc", 0x00, 0x00, Op::SpecialRead1, 0xFC94, 0, Verdict::NotExecutable},
        OptionCase{"AbnormalDc", 0x00, 0x10, Op::SpecialRead1, 0xFC94, 0, Verdict::Ack},
        OptionCase{"KeyFunctionAlways", 0x00, 0, Op::SpecialRead1, 0xFC96, 0, Verdict::Ack},
        OptionCase{"KeyFunctionRange", 0x00, 0, Op::SpecialWrite1, 0xFC96, 2, Verdict::OutOfRange},
        OptionCase{"ModelByCode", 0x00, 0, Op::SpecialRead1, 0x002A, 0, Verdict::Ack},
        OptionCase{"MemoryNumber", 0x00, 0, Op::MemoRead, 0xFF13, 0, Verdict::Ack},
        OptionCase{"MemoryWrongCode", 0x00, 0, Op::MemoRead, 0xFC30, 0, Verdict::NoRegister},
        OptionCase{"UnknownCode", 0x00, 0, Op::SpecialRead1, 0x1234, 0, Verdict::NoRegister},
        OptionCase{"Standby", 0x00, 0, Op::Write, 0xFF1A, 0, Verdict::Ack},
        OptionCase{"StandbyNotZero", 0x00, 0, Op::Write, 0xFF1B, 1, Verdict::OutOfRange}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Specials, MemoryNumberPicksTheSetValueInUse)
{
    ControllerConfig config;
    config.option1 = 0x01;
    Controller c = unlocked(config);
    c.handle(special(Op::SpecialWrite1, 0xFC34, 222), 0);
    c.handle(special(Op::SpecialWrite2, 0x001E, 222), 0);
    EXPECT_EQ(c.handle(read(kSvInUse), 0).value, 0);
    c.poke(0xFF13, 2);
    EXPECT_EQ(c.handle(special(Op::MemoRead, 0xFF13), 0).value, 2);
    EXPECT_EQ(c.handle(read(kSvInUse), 0).value, 222);
    EXPECT_EQ(c.handle(special(Op::SpecialRead1, 0x002A), 0).value, 1364);
}

TEST(Specials, KeyFunctionShowsInTheStatusWord)
{
    Controller c = unlocked();
    c.handle(special(Op::SpecialWrite1, 0xFC96, 1), 0);
    c.handle(special(Op::SpecialWrite2, 0x004F, 1), 0);
    EXPECT_NE(c.statusWord() & kStAutoManualKey, 0);
}

TEST(Specials, UserMapCodesReplaceTheFactoryCodes)
{
    Controller c = unlocked({kModelUserMap, 1, 0, 0, 0, Protocol::Maker, 9600});
    c.specialCodes[8] = 0x1230; // main set value, first code
    c.specialCodes[1] = 0x1240; // and its second code
    EXPECT_EQ(c.handle(special(Op::SpecialWrite1, 0xFC30, 5), 0).verdict, Verdict::NoRegister);
    EXPECT_EQ(c.handle(special(Op::SpecialWrite1, 0x1230, 5), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.handle(special(Op::SpecialWrite2, 0x1240, 5), 0).verdict, Verdict::Ack);
    EXPECT_EQ(c.handle(read(kSetValue), 0).value, 5);
}

TEST(Modbus, WritesNeedNoKeyAndReadCountMustBeOne)
{
    ControllerConfig config;
    config.protocol = Protocol::Ascii;
    Controller c(config);
    EXPECT_EQ(c.handle(write(kProportional, 25, Op::Write, true), 0).verdict, Verdict::Ack);
    Command bad = read(kPv, true);
    bad.dataValid = false;
    EXPECT_EQ(c.handle(bad, 0).verdict, Verdict::OutOfRange);
}

TEST(Process, HeatsTowardTheSetValueWithinTheOutputLimits)
{
    Controller c = unlocked();
    c.live = true;
    c.poke(kSetValue, 150);
    double t = 0;
    int last = c.handle(read(kPv), t).value;
    EXPECT_NEAR(last, 25, 1);
    bool rose = false;
    for (int i = 0; i < 3000; ++i) {
        t += 0.1;
        c.tick(t, 0.1);
        const int mv = c.handle(read(kMv1), t).value;
        ASSERT_GE(mv, 0);
        ASSERT_LE(mv, 1000);
        if (i == 50)
            rose = static_cast<int>(c.handle(read(kPv), t).value) > last + 10;
    }
    EXPECT_TRUE(rose);
    EXPECT_NEAR(static_cast<std::int16_t>(c.handle(read(kPv), t).value), 150, 6);
    EXPECT_NE(c.statusWord() & kStOut1, 0);
}

TEST(Process, OutputOffAndLimitsClampMv)
{
    Controller c = unlocked();
    c.live = true;
    c.poke(kSetValue, 500);
    c.handle(write(kOutHigh, 40), 0);
    c.tick(1, 1);
    EXPECT_EQ(c.handle(read(kMv1), 1).value, 400);
    c.handle(write(kOutputOff, 1), 1);
    c.tick(2, 1);
    EXPECT_EQ(c.handle(read(kMv1), 2).value, 0);
}

TEST(Process, StatusBitsFollowThePv)
{
    Controller c;
    c.poke(kSetValue, 100);
    c.poke(kAlarm1Type, 1);
    c.poke(kAlarm1Value, 10);
    c.poke(kPv, 105);
    EXPECT_EQ(c.statusWord() & kStAlarm1, 0);
    c.poke(kPv, 111);
    EXPECT_NE(c.statusWord() & kStAlarm1, 0);
    c.poke(kPv, 1400);
    EXPECT_NE(c.statusWord() & kStOverRange, 0);
    c.poke(kPv, -250);
    EXPECT_NE(c.statusWord() & kStUnderRange, 0);
    c.poke(kStatus, 0x8040);
    EXPECT_EQ(c.statusWord() & 0x8040, 0x8040);
}

TEST(Faults, CountsRegistersAndPersistence)
{
    FaultList list;
    list.add({0, FaultKind::Silence, 0x0080, 2});
    list.add({0, FaultKind::Busy, std::nullopt, 1});
    list.add({0, FaultKind::Delay, std::nullopt, -1, 50});
    EXPECT_EQ(list.take(0x0080, false)->kind, FaultKind::Silence);
    EXPECT_EQ(list.take(0x0001, false)->kind, FaultKind::Delay) << "busy skips reads";
    EXPECT_EQ(list.take(0x0080, false)->kind, FaultKind::Silence);
    EXPECT_EQ(list.take(0x0080, false)->kind, FaultKind::Delay) << "silence used up";
    EXPECT_EQ(list.take(0x0001, true)->kind, FaultKind::Busy);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list.take(0x0001, true)->kind, FaultKind::Delay);
    list.clear();
    EXPECT_FALSE(list.take(0x0001, true).has_value());
}

TEST(Process, ControlWordsAreSixteenBitsWhicheverRegisterTheyReach)
{
    Controller c = unlocked();
    c.poke(kSvInUse, 0xFF38); // as the control socket gives a hex word
    EXPECT_EQ(static_cast<std::int16_t>(c.handle(read(kSvInUse), 0).value), -200);
    EXPECT_EQ(static_cast<std::int16_t>(c.handle(read(kSetValue), 0).value), -200);
}
