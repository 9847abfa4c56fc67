// The monitoring cycle, the reply verdict of a plain read and the status word's requests.
#include "comm/monitor_table.h"

#include <gtest/gtest.h>

#include <ostream>

#include <map>
#include <set>
#include <vector>

namespace {

using qmx::monitorItem;

// The cycle as the controller's documentation lays it out: each group of steps and the item it
// reads for a controller with the given options.
struct Group {
    std::vector<int> steps;
    int none;   // no option bits
    int all;    // heating/cooling, heater burnout three-phase, SV memory, DC input abnormal
    int hbOnly; // single-phase heater burnout only
};

const std::vector<Group> kGroups = {
    {{0, 5, 11, 17, 23, 29, 35, 41, 47, 53, 59}, 0, 0, 0},
    {{1, 6, 12, 18, 24, 30, 36, 42, 48, 54, 60}, 4, 4, 4},
    {{2, 13, 25, 37, 49}, 3, 3, 3},
    {{3, 14, 26, 38, 50}, 1, 1, 1},
    {{4, 15, 27, 39, 51}, 0, 2, 0},
    {{7, 10, 43}, 4, 5, 5},
    {{8, 16, 44}, 3, 6, 3},
    {{9, 22, 45}, 0, 59, 0},
    {{19, 28, 55}, 4, 60, 5},
    {{20, 34, 56}, 3, 61, 3},
    {{31, 46, 61}, 0, 62, 0},
    {{32, 52, 62}, 1, 64, 1},
    {{21, 40, 57}, 1, 63, 1},
    {{33, 58, 63}, 46, 46, 46},
};

TEST(MonitorTable, EveryStepReadsItsGroupsItem)
{
    std::set<int> seen;
    for (const Group& g : kGroups) {
        for (int step : g.steps) {
            EXPECT_TRUE(seen.insert(step).second) << "step " << step << " listed twice";
            EXPECT_EQ(monitorItem(step, 0, 0, 0, false), g.none) << "step " << step;
            EXPECT_EQ(monitorItem(step, 0x54, 0x11, 30, false), g.all) << "step " << step;
            EXPECT_EQ(monitorItem(step, 0x04, 0, 0, false), g.hbOnly) << "step " << step;
        }
    }
    EXPECT_EQ(seen.size(), 64u);
}

struct StepCase {
    const char* what;
    int step, ob, ob2, input, item;
};

void PrintTo(const StepCase& c, std::ostream* os)
{
    *os << c.what;
}

class MonitorStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(MonitorStep, ReadsItem)
{
    const StepCase& c = GetParam();
    EXPECT_EQ(monitorItem(c.step, c.ob, c.ob2, c.input, false), c.item) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Options, MonitorStep,
    ::testing::Values(
        StepCase{"no options: step 9 reads PV", 9, 0, 0, 0, 0},
        StepCase{"no options: step 32 reads MV1", 32, 0, 0, 0, 1},
        StepCase{"no options: step 7 reads the status word", 7, 0, 0, 0, 4},
        StepCase{"heating/cooling without SV memory: step 9 reads MV2", 9, 0x40, 0, 0, 2},
        StepCase{"SV memory wins over heating/cooling", 9, 0x40, 0x01, 0, 59},
        StepCase{"three-phase flag alone still reads heater 2", 8, 0x10, 0, 0, 6},
        StepCase{"input abnormal needs a DC input: type 29", 21, 0, 0x10, 29, 1},
        StepCase{"input abnormal with type 30", 21, 0, 0x10, 30, 63},
        StepCase{"input abnormal with type 35", 57, 0, 0x10, 35, 63},
        StepCase{"only the low byte of option word 2 counts", 9, 0, 0x0100, 0, 0},
        StepCase{"only the low byte of option word 1 counts", 4, 0x4000, 0, 0, 0},
        StepCase{"negative option word keeps its low byte", 4, -192 /* 0xFF40 */, 0, 0, 2},
        StepCase{"step 64 is outside the cycle", 64, 0x54, 0x11, 30, 0},
        StepCase{"a negative step reads PV", -1, 0x54, 0x11, 30, 0}));

TEST(MonitorTable, OptionWords5C11WithInputType30UseSpecialReads)
{
    // Heating/cooling, three-phase heater burnout with alarm 2, SV memory, DC input abnormal.
    std::map<int, int> special;
    for (int step = 0; step < qmx::kMonitorSteps; ++step) {
        const int item = monitorItem(step, 0x5C, 0x11, 30, false);
        if (qmx::isSpecialMonitorItem(item))
            special[step] = item;
    }
    const std::map<int, int> expected = {
        {9, 59},  {22, 59}, {45, 59}, {19, 60}, {28, 60}, {55, 60}, {20, 61}, {34, 61}, {56, 61},
        {31, 62}, {46, 62}, {61, 62}, {32, 64}, {52, 64}, {62, 64}, {21, 63}, {40, 63}, {57, 63}};
    EXPECT_EQ(special, expected);
}

TEST(MonitorTable, PvAndStatusComeMostOften)
{
    for (int ob : {0, 0x04, 0x14, 0x40, 0x5C}) {
        for (int ob2 : {0, 0x01, 0x10, 0x11}) {
            std::map<int, int> count;
            for (int step = 0; step < qmx::kMonitorSteps; ++step)
                ++count[monitorItem(step, ob, ob2, 30, false)];
            EXPECT_GE(count[0], 11) << ob << "/" << ob2;
            EXPECT_GE(count[4], 11) << ob << "/" << ob2;
            EXPECT_GE(count[3], 5) << ob << "/" << ob2;
            EXPECT_GE(count[1], 5) << ob << "/" << ob2;
        }
    }
}

TEST(MonitorTable, StepsWrapAfter63)
{
    EXPECT_EQ(qmx::nextMonitorStep(0), 1);
    EXPECT_EQ(qmx::nextMonitorStep(62), 63);
    EXPECT_EQ(qmx::nextMonitorStep(63), 0);
    EXPECT_EQ(qmx::specialCodeIndex(59), 9);
    EXPECT_EQ(qmx::specialCodeIndex(64), 14);
    EXPECT_FALSE(qmx::isSpecialMonitorItem(58));
    EXPECT_FALSE(qmx::isSpecialMonitorItem(65));
}

struct ReplyCase {
    int protocol;
    QString reply;
    qmx::ReadVerdict verdict;
};

void PrintTo(const ReplyCase& c, std::ostream* os)
{
    *os << c.protocol << " \"" << c.reply.toStdString() << '"';
}

class ReadReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReadReply, IsJudged)
{
    const ReplyCase& c = GetParam();
    EXPECT_EQ(qmx::judgeReadReply(c.protocol, c.reply), c.verdict)
        << c.protocol << " " << c.reply.toStdString();
}

const QString kAck = QString(QChar(0x06)) + QStringLiteral(" 0 00800FA");
const QString kNak = QString(QChar(0x15)) + QStringLiteral(" 3 0080");
const QString kEsc = QString(QChar(0x1B)) + QStringLiteral(" 0 0080");

INSTANTIATE_TEST_SUITE_P(
    Replies, ReadReply,
    ::testing::Values(ReplyCase{0, kAck, qmx::ReadVerdict::Stored},
                      ReplyCase{0, kNak, qmx::ReadVerdict::Refused},
                      ReplyCase{0, kEsc, qmx::ReadVerdict::Refused},
                      ReplyCase{0, QString(), qmx::ReadVerdict::NoAnswer},
                      ReplyCase{0, QStringLiteral(":01030200FA"), qmx::ReadVerdict::Refused},
                      ReplyCase{1, QStringLiteral(":01030200FA"), qmx::ReadVerdict::Stored},
                      ReplyCase{2, QStringLiteral(":01830212"), qmx::ReadVerdict::Refused},
                      ReplyCase{1, QStringLiteral(":018602"), qmx::ReadVerdict::Refused},
                      ReplyCase{2, QStringLiteral(":01"), qmx::ReadVerdict::NoAnswer},
                      ReplyCase{1, QString(), qmx::ReadVerdict::NoAnswer},
                      ReplyCase{1, kAck, qmx::ReadVerdict::Refused}));

struct StatusCase {
    const char* what;
    int status;
    bool atRunBefore;
    bool upload;
    bool atRunAfter;
};

void PrintTo(const StatusCase& c, std::ostream* os)
{
    *os << c.what;
}

class StatusWord : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusWord, Requests)
{
    const StatusCase& c = GetParam();
    const qmx::StatusRequest r = qmx::statusCheck(c.status, c.atRunBefore);
    EXPECT_EQ(r.upload, c.upload) << c.what;
    EXPECT_EQ(r.atRun, c.atRunAfter) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Bits, StatusWord,
    ::testing::Values(StatusCase{"quiet", 0x0000, false, false, false},
                      StatusCase{"settings changed (as a signed word)", -32768, false, true, false},
                      StatusCase{"settings changed", 0x8000, false, true, false},
                      StatusCase{"auto-tuning starts", 0x0800, false, false, true},
                      StatusCase{"auto-tuning goes on", 0x0800, true, false, true},
                      StatusCase{"auto-tuning ends", 0x0000, true, true, false},
                      StatusCase{"ends while settings changed: one upload", 0x8000, true, true,
                                 false},
                      StatusCase{"other bits ask nothing", 0x17FF & ~0x0800, false, false, false}));

} // namespace
