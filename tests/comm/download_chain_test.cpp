// The download's rules without a window or a line: the order of the items, which of them apply,
// the variant skips, and what each reply does to the run.
#include "comm/download_chain.h"
#include "model/qmx_data.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>

using namespace qmx;
using namespace qmx::download;

namespace {

std::vector<int> itemsOf(Routine r)
{
    std::vector<int> out;
    for (const Step& s : chain(r))
        out.push_back(s.item);
    return out;
}

QmxData plainData()
{
    QmxData d;
    d.Set_Defaults();
    d.Fill_CommNoTbl();
    d.Make_CommNoTbl2();
    for (int item : {12, 36, 37, 50})
        d.ParaVal(item) = 0;
    return d;
}

// ---- the chain ---------------------------------------------------------------------------------

TEST(DownloadChain, ScreenRunWritesEveryItemOnceInTheControllersOrder)
{
    const std::vector<int> expected = {50, 25, 26, 36, 37, 11, 13, 14, 15, 16, 17, 18, 19, 20,
                                       21, 22, 23, 24, 27, 28, 29, 30, 31, 32, 33, 34, 35, 38,
                                       39, 40, 41, 42, 43, 44, 45, 46, 48, 49, 51, 52, 53, 54,
                                       55, 56, 57, 58, 62, 59, 60, 61, 63, 64, 65, 12};
    EXPECT_EQ(itemsOf(Routine::Screen), expected);
}

TEST(DownloadChain, MenuRunHasTheEmissivityPassBeforeAutoTuning)
{
    std::vector<int> expected = itemsOf(Routine::Screen);
    expected.insert(expected.end() - 1, 66);
    EXPECT_EQ(itemsOf(Routine::Menu), expected);
    EXPECT_EQ(chain(Routine::Menu).size(), 55u);
}

TEST(DownloadChain, DefaultCodesComeFromTheTables)
{
    const QmxData d = plainData();
    QStringList codes;
    for (const Step& s : chain(Routine::Menu))
        codes << codeOf(d, s);
    EXPECT_EQ(codes.mid(0, 7),
              (QStringList{"0044", "0018", "0019", "0023", "0024", "FC30", "0004"}));
    EXPECT_EQ(codes.mid(46, 9), (QStringList{"FC92", "FC32", "FC34", "FC36", "FC94", "FC96", "004A",
                                             "0054", "0003"}));
}

// ---- applicability -----------------------------------------------------------------------------

struct ApplyCase {
    const char* name;
    std::function<void(QmxData&)> setup;
    int item;
    bool applies;
};

// Parameterised tests are listed by their case names.
void PrintTo(const ApplyCase& c, std::ostream* os)
{
    *os << c.name;
}

class Applicability : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(Applicability, DecidesByItem)
{
    QmxData d = plainData();
    GetParam().setup(d);
    EXPECT_EQ(Check_Para(d, GetParam().item), GetParam().applies);
}

const auto none = [](QmxData&) {};
auto ob(int v)
{
    return [v](QmxData& d) { d.MonVal(7) = int16_t(v); };
}
auto p(int item, int v)
{
    return [item, v](QmxData& d) { d.ParaVal(item) = int16_t(v); };
}
auto all(std::initializer_list<std::function<void(QmxData&)>> fs)
{
    std::vector<std::function<void(QmxData&)>> v(fs);
    return [v](QmxData& d) {
        for (const auto& f : v)
            f(d);
    };
}
auto sb(int v)
{
    return [v](QmxData& d) { d.MonVal(4) = int16_t(v); };
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Applicability,
    ::testing::Values(ApplyCase{"AtOnWhileIdleStartsIt", p(12, 1), 12, true},
                      ApplyCase{"AtOffWhileIdleIsSkipped", none, 12, false},
                      ApplyCase{"AtOffWhileRunningStopsIt", all({p(12, 0), sb(0x800)}), 12, true},
                      ApplyCase{"AtOnWhileRunningIsSkipped", all({p(12, 1), sb(0x800)}), 12, false},
                      ApplyCase{"Sv2WithMemoryOption", ob(0x01), 59, true},
                      ApplyCase{"Sv2WithBothBits", ob(0x03), 59, false},
                      ApplyCase{"Sv3WithContactInputInUse", all({ob(0x01), p(62, 1)}), 60, false},
                      ApplyCase{"Sv4WithContactsFree", ob(0x01), 61, true},
                      ApplyCase{"Alarm1ValueWithoutType", none, 19, false},
                      ApplyCase{"Alarm1DelayWithType", p(36, 3), 40, true},
                      ApplyCase{"Alarm2TypeWithoutOption", none, 37, false},
                      ApplyCase{"Alarm2TypeWithOption", ob(0x20), 37, true},
                      ApplyCase{"Alarm2ValueNeedsTypeToo", ob(0x20), 20, false},
                      ApplyCase{"Alarm2EnergizedWithBoth", all({ob(0x20), p(37, 2)}), 49, true},
                      ApplyCase{"CoolingWithHeatCool", ob(0x40), 33, true},
                      ApplyCase{"CoolingWithoutHeatCool", none, 14, false},
                      ApplyCase{"HeaterBurnout1", ob(0x04), 21, true},
                      ApplyCase{"HeaterBurnout2NeedsThreePhase", ob(0x04), 54, false},
                      ApplyCase{"HeaterBurnout2ThreePhase", ob(0x14), 54, true},
                      ApplyCase{"DecimalPointOnThermocouple", p(50, 29), 27, false},
                      ApplyCase{"DecimalPointOnDcInput", p(50, 30), 27, true},
                      ApplyCase{"AtBiasNeedsPid", p(15, 0), 52, false},
                      ApplyCase{"AtBiasWithPid", none, 52, true},
                      ApplyCase{"AtBiasNotOnDcInput", p(50, 30), 52, false},
                      ApplyCase{"OutOffWithoutKeyFunction", none, 45, true},
                      ApplyCase{"OutOffWithKeyFunction", sb(0x1000), 45, false},
                      ApplyCase{"AutoManualOnlyWithKeyFunction", sb(0x1000), 46, true},
                      ApplyCase{"AutoManualWithoutKeyFunction", none, 46, false},
                      ApplyCase{"ContactInputWithMemoryOption", ob(0x01), 62, true},
                      ApplyCase{"AbnormalOutputNeedsDcCurrent", all({p(50, 30), ob(0)}), 63, false},
                      ApplyCase{"AbnormalOutputDcInputDcCurrent",
                                all({p(50, 30), [](QmxData& d) { d.MonVal(8) = 0x10; }}), 63, true},
                      ApplyCase{"OptionHighByteIsNoOption", ob(0x4000), 33, false},
                      ApplyCase{"RateLimitWithoutProportionalBand", p(13, 0), 65, false},
                      ApplyCase{"MainSetValueAlways", ob(0x03), 11, true},
                      ApplyCase{"OutOffKeyFunctionAlways", none, 64, true},
                      ApplyCase{"PlainItemAlways", none, 53, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A user map may give a special item the code of an ordinary one; each keeps its own rule.
TEST(Applicability, SpecialCodeEqualToAnOrdinaryCodeKeepsItsOwnRule)
{
    QmxData d = plainData();
    d.CommNoTbl2(9) = d.CommNoTbl(12); // set value 2 on the AT register's code
    d.ParaVal(12) = 1;                 // AT would be written
    EXPECT_FALSE(Check_Para(d, 59));   // no set-value memory: set value 2 is not
    EXPECT_TRUE(Check_Para(d, 12));
}

// ---- replies -----------------------------------------------------------------------------------

QString maker(char16_t first, char code)
{
    return QString(QChar(first)) + QLatin1Char(' ') + QLatin1Char(code) + QStringLiteral("P0004");
}
const QString kAck = maker(0x06, '0');
const QString kNak4 = maker(0x15, '4');
const QString kNak5 = maker(0x15, '5');
const QString kEsc = maker(0x1B, '0');

struct ItemReplyCase {
    const char* name;
    int protocol;
    QString reply;
    int item;
    // expected: panel 1, panel 4 cleared, data valid, communication error, abort
    const char* panel1;
    bool clearPanel4, dataValid, commError, abort;
};

void PrintTo(const ItemReplyCase& c, std::ostream* os)
{
    *os << c.name;
}

class ItemReplies : public ::testing::TestWithParam<ItemReplyCase> {};

Step stepOf(int item)
{
    for (const Step& s : chain(Routine::Menu))
        if (s.item == item)
            return s;
    return {};
}

TEST_P(ItemReplies, Effects)
{
    const ItemReplyCase& c = GetParam();
    const ReplyEffects fx = judgeItemReply(c.protocol, c.reply, stepOf(c.item));
    EXPECT_EQ(fx.panel1, QString::fromLatin1(c.panel1));
    EXPECT_EQ(fx.clearPanel4, c.clearPanel4);
    EXPECT_EQ(fx.dataValid, c.dataValid);
    EXPECT_EQ(fx.commError, c.commError);
    EXPECT_EQ(fx.abort, c.abort);
    EXPECT_FALSE(fx.busyNotice);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ItemReplies,
    ::testing::Values(
        ItemReplyCase{"MakerAck", 0, kAck, 13, "OK", false, true, false, false},
        ItemReplyCase{"MakerNak", 0, kNak4, 13, "NG", true, false, false, false},
        ItemReplyCase{"MakerBusyAborts", 0, kNak5, 13, "NG", true, false, false, true},
        ItemReplyCase{"MakerBusyOnAtGoesOn", 0, kNak5, 12, "NG", true, false, false, false},
        ItemReplyCase{"MakerEsc", 0, kEsc, 13, "NG", false, false, false, false},
        ItemReplyCase{"MakerSilentPlainWrite", 0, "", 13, "", false, false, true, false},
        ItemReplyCase{"SpecialWritesReportThemselves", 0, "", 11, "", false, false, false, false},
        ItemReplyCase{"SilentDcoslWrite", 0, "", 64, "", false, false, false, false},
        ItemReplyCase{"ModbusAccepted", 1, ":010600040010", 13, "OK", false, true, false, false},
        ItemReplyCase{"ModbusException", 1, ":018604", 13, "NG", true, false, false, false},
        ItemReplyCase{"ModbusBusyAborts", 2, ":018612", 13, "NG", true, false, false, true},
        ItemReplyCase{"ModbusBusyOnAtAbortsToo", 1, ":018612", 12, "NG", true, false, false, true},
        ItemReplyCase{"ModbusOther", 1, ":0103020001", 13, "NG", false, false, false, false},
        ItemReplyCase{"ModbusSilent", 1, "", 13, "", false, false, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct ModeReplyCase {
    const char* name;
    int protocol;
    QString reply;
    const char* panel1;
    bool clearPanel4, commError, keepErrorText, busyNotice;
};

void PrintTo(const ModeReplyCase& c, std::ostream* os)
{
    *os << c.name;
}

class TransferModeReplies : public ::testing::TestWithParam<ModeReplyCase> {};

TEST_P(TransferModeReplies, EffectsNeverAbort)
{
    const ModeReplyCase& c = GetParam();
    const ReplyEffects fx = judgeTransferModeReply(c.protocol, c.reply);
    EXPECT_EQ(fx.panel1, QString::fromLatin1(c.panel1));
    EXPECT_EQ(fx.clearPanel4, c.clearPanel4);
    EXPECT_EQ(fx.commError, c.commError);
    EXPECT_EQ(fx.keepErrorText, c.keepErrorText);
    EXPECT_EQ(fx.busyNotice, c.busyNotice);
    EXPECT_FALSE(fx.abort);
    EXPECT_FALSE(fx.dataValid);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TransferModeReplies,
    ::testing::Values(
        ModeReplyCase{"MakerAck", 0, kAck, "OK", false, false, false, false},
        ModeReplyCase{"MakerBusyTellsTheOperator", 0, kNak5, "NG", false, false, false, true},
        ModeReplyCase{"MakerNak", 0, kNak4, "NG", false, false, false, false},
        ModeReplyCase{"MakerEscShowsTheBoxAsItIs", 0, kEsc, "", false, true, true, false},
        ModeReplyCase{"MakerSilent", 0, "", "", false, true, false, false},
        ModeReplyCase{"ModbusAccepted", 1, ":010600700001", "OK", false, false, false, false},
        ModeReplyCase{"ModbusBusy", 2, ":018612", "NG", true, false, false, true},
        ModeReplyCase{"ModbusRefused", 1, ":018604", "NG", true, false, false, false},
        ModeReplyCase{"ModbusOther", 1, ":0103020001", "NG", false, false, false, false},
        ModeReplyCase{"ModbusSilent", 1, "", "", false, true, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
