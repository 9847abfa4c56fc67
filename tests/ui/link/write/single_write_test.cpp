// One parameter write against the simulated controller: what crosses the wire in which order, and
// what the screen value is afterwards, for the plain, special and failing roads.
#include "linked_window.h"

#include <optional>

namespace {

struct WriteCase {
    const char* name;
    int item;
    int oldValue; // the value the edit was accepted against
    int newValue;
    int option1 = 0;
    std::vector<std::pair<int, int>> screen = {}; // other screen values the write depends on
    std::vector<QJsonObject> faults = {};
    // Items the controller holds at these values, read before the write as an upload reads them.
    std::vector<std::pair<int, int>> held = {};
    // Choices accepted after this edit and queued behind it: the item and the value before the
    // choice; the screen holds the choice (`screen`).
    std::vector<std::pair<int, int>> behind = {};
    QStringList wire = {};
    // The screen value afterwards; empty: whatever the controller holds at `readBack`.
    std::optional<int> after = {};
    QString readBack = {};
    bool commError = false;
    bool busyNotice = false;
    // Panel 1 afterwards: a write that ends at the refused lock leaves its "NG" standing.
    const char* panel1 = "";
};

// Parameterised tests are listed by their case names.
void PrintTo(const WriteCase& c, std::ostream* os)
{
    *os << c.name;
}

QJsonObject faultOf(const char* kind, const char* reg, int count = 1, int code = 0)
{
    QJsonObject f{{"kind", kind}, {"reg", reg}, {"count", count}};
    if (code)
        f["code"] = code;
    return f;
}

const QString kKey = QStringLiteral("50 0000 8217");

class SingleWrite : public LinkedWindow, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(SingleWrite, WireAndValue)
{
    const WriteCase& c = GetParam();
    options(c.option1);
    for (const auto& [item, value] : c.held) {
        const QString reg = d.CommNoTbl(item);
        setRegister(reg, value);
        w->link->ReadDataSet(w->Sendcomm(d.strAdr, {}, QStringLiteral("03"), reg, {}, 3), item);
    }
    for (const auto& [item, value] : c.screen)
        d.ParaVal(item) = int16_t(value);
    for (const QJsonObject& f : c.faults)
        fault(f);
    sim->mark();
    // The edit and the choices after it are requested as their OKs request them.
    d.ParaBak(c.item) = int16_t(c.oldValue);
    d.ParaVal(c.item) = int16_t(c.newValue);
    d.ParaNo = c.item;
    d.Req_Write();
    for (const auto& [item, before] : c.behind) {
        d.ParaBak(item) = int16_t(before);
        d.ParaNo = item;
        d.Req_Write();
    }
    w->Timer1.stop();
    d.WriteQueue.pop_front();

    w->writeQueuedItem(c.item);

    EXPECT_EQ(wire(), c.wire);
    const int expected = c.after ? *c.after : controllerValue(c.readBack);
    EXPECT_EQ(d.ParaVal(c.item), expected);
    EXPECT_EQ(commErrorShown(), c.commError);
    EXPECT_EQ(busyNoticeShown(), c.busyNotice);
    EXPECT_EQ(w->StatusBar1->panel(1), QString::fromLatin1(c.panel1));
    EXPECT_EQ(w->StatusBar1->panel(4), QString());
    EXPECT_EQ(w->QMXCom->Com_TimeOut(), 300);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Roads, SingleWrite,
    ::testing::Values(
        WriteCase{.name = "AtBiasAfterTheLock", .item = 52, .oldValue = 20, .newValue = 25,
                  .screen = {{22, 0}},
                  .wire = {"50 0012 0000", "50 0047 0019", "20 0047"}, .after = 25},
        WriteCase{.name = "MainSetValueThroughTheSpecialWrites", .item = 11, .oldValue = 0,
                  .newValue = 250, .option1 = 0x21, .screen = {{22, 0}, {36, 8}, {37, 6}},
                  .wire = {"50 0012 0000", kKey, kKey, "60 FF13", "71 FC30 00FA", "72 001C 00FA",
                           "50 FF1A 0000", "20 0001"},
                  .after = 250},
        WriteCase{.name = "MainSetValueWithoutOptionsIsPlain", .item = 11, .oldValue = 0,
                  .newValue = 250,
                  .wire = {"50 0012 0000", "50 0001 00FA", "20 0001"}, .after = 250},
        WriteCase{.name = "UnchangedAtSendsNothing", .item = 12, .oldValue = 0, .newValue = 0,
                  .wire = {}, .after = 0},
        WriteCase{.name = "UnchangedOutOffSendsNothing", .item = 45, .oldValue = 1, .newValue = 1,
                  .wire = {}, .after = 1},
        WriteCase{.name = "UnchangedAtDoesNotRestartATuningThatHasEnded", .item = 12,
                  .oldValue = 1, .newValue = 1, .held = {{12, 0}}, .wire = {}, .after = 0},
        WriteCase{.name = "PIsNotRefusedByAnAtChoiceMadeAfterIt", .item = 13, .oldValue = 10,
                  .newValue = 55, .screen = {{12, 1}}, .behind = {{12, 0}},
                  .wire = {"50 0004 0037", "20 0004"}, .after = 55},
        WriteCase{.name = "AtBiasGoesUnderTheLockInForceNotOneChosenAfterIt", .item = 52,
                  .oldValue = 20, .newValue = 25, .screen = {{22, 2}}, .behind = {{22, 0}},
                  .wire = {"50 0012 0000", "50 0047 0019", "20 0047"}, .after = 25},
        WriteCase{.name = "AtBiasTheControllersInputTypeHidesIsNotSent", .item = 52,
                  .oldValue = 20, .newValue = 0, .screen = {{50, 0}}, .held = {{50, 30}},
                  .behind = {{50, 30}}, .wire = {}, .after = 20},
        WriteCase{.name = "SetValue3IsWrittenBeforeAContactInputChosenAfterIt", .item = 60,
                  .oldValue = 0, .newValue = 300, .option1 = 0x01, .screen = {{62, 1}},
                  .behind = {{62, 0}},
                  .wire = {"50 0012 0000", kKey, kKey, "60 FF13", "71 FC34 012C", "72 001E 012C",
                           kKey, "61 FC34"},
                  .after = 300},
        WriteCase{.name = "PlainItemWithoutLock", .item = 31, .oldValue = 10, .newValue = -2,
                  .screen = {{13, 0}}, .wire = {"50 001E FFFE", "20 001E"}, .after = -2},
        WriteCase{.name = "OutOffKeyTakesTheOutputToAutomaticFirst", .item = 64, .oldValue = 1,
                  .newValue = 0, .screen = {{46, 1}},
                  .wire = {"50 0012 0000", "50 0038 0000", "20 0038", kKey, "71 FC96 0000",
                           "72 004F 0000", kKey, "61 FC96"},
                  .after = 0},
        WriteCase{.name = "SetValue2WithTheMemoryOption", .item = 59, .oldValue = 0,
                  .newValue = 300, .option1 = 0x01,
                  .wire = {"50 0012 0000", kKey, kKey, "60 FF13", "71 FC32 012C", "72 001D 012C",
                           kKey, "61 FC32", "62 001D"},
                  .after = 300},
        WriteCase{.name = "SetValue2TheOptionsHideIsNotSent", .item = 59, .oldValue = 5,
                  .newValue = 7, .wire = {}, .after = 5},
        WriteCase{.name = "InputTypeWaitsForItsSlowerReply", .item = 50, .oldValue = 0,
                  .newValue = 3, .wire = {"50 0044 0003", "20 0044"}, .after = 3},
        WriteCase{.name = "ContactInputRefusedIsPutBack", .item = 62, .oldValue = 0,
                  .newValue = 1, .option1 = 0x01, .faults = {faultOf("nak", "FC92")},
                  .wire = {"50 0012 0000", kKey, kKey, "60 FF13", "71 FC92 0001", "72 004D 0001",
                           kKey, "61 FC92"},
                  .after = 0},
        WriteCase{.name = "BusyLockWriteEndsAndRestores", .item = 52, .oldValue = 20,
                  .newValue = 25, .faults = {faultOf("busy", "0012")},
                  .wire = {"50 0012 0000"}, .after = 20, .busyNotice = true, .panel1 = "NG"},
        WriteCase{.name = "PlainRefusalBringsTheControllersValue", .item = 52, .oldValue = 30,
                  .newValue = 25, .faults = {faultOf("nak", "0047", 1, 4)},
                  .wire = {"50 0012 0000", "50 0047 0019", "20 0047"}, .readBack = "0047"},
        WriteCase{.name = "RefusedWriteWhoseReadBackIsLostIsPutBack", .item = 52, .oldValue = 30,
                  .newValue = 25,
                  .faults = {faultOf("nak", "0047", 1, 4), faultOf("silence", "0047", 2)},
                  .wire = {"50 0012 0000", "50 0047 0019", "20 0047"}, .after = 30,
                  .commError = true},
        WriteCase{.name = "BusyWriteShowsTheNoticeAndReadsBack", .item = 52, .oldValue = 30,
                  .newValue = 25, .faults = {faultOf("busy", "0047")},
                  .wire = {"50 0012 0000", "50 0047 0019", "20 0047"}, .readBack = "0047",
                  .busyNotice = true},
        WriteCase{.name = "UnrecognisedReplyRestores", .item = 52, .oldValue = 30, .newValue = 25,
                  .faults = {faultOf("esc", "0047", 2)},
                  .wire = {"50 0012 0000", "50 0047 0019", "20 0047"}, .after = 30,
                  .commError = true},
        WriteCase{.name = "SilentWriteRestoresAndReports", .item = 52, .oldValue = 30,
                  .newValue = 25, .faults = {faultOf("silence", "0047", 2)},
                  .wire = {"50 0012 0000", "50 0047 0019", "20 0047"}, .after = 30,
                  .commError = true},
        WriteCase{.name = "SilentLockWriteWritesTheOldValue", .item = 52, .oldValue = 30,
                  .newValue = 25, .faults = {faultOf("silence", "0012")},
                  .wire = {"50 0012 0000", "50 0047 001E", "20 0047"}, .after = 30,
                  .commError = true},
        WriteCase{.name = "MainSetValueWhoseCommitIsRefusedIsPutBack", .item = 11,
                  .oldValue = 0, .newValue = 250, .option1 = 0x21,
                  .screen = {{22, 0}, {36, 8}, {37, 6}},
                  .faults = {faultOf("nak", "001C"), faultOf("silence", "0001", 2)},
                  .wire = {"50 0012 0000", kKey, kKey, "60 FF13", "71 FC30 00FA", "72 001C 00FA",
                           "50 FF1A 0000", "20 0001"},
                  .after = 0, .commError = true},
        WriteCase{.name = "SilentMainSetValueWriteIsNotReported", .item = 11, .oldValue = 0,
                  .newValue = 250, .faults = {faultOf("silence", "0001")},
                  .wire = {"50 0012 0000", "50 0001 00FA", "20 0001"}, .readBack = "0001"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Edits of one item accepted one after another while its writes wait.
class SameItem : public LinkedWindow {
protected:
    void accept(int item, int before, int value)
    {
        d.ParaBak(item) = int16_t(before);
        d.ParaVal(item) = int16_t(value);
        d.ParaNo = item;
        d.Req_Write();
        w->Timer1.stop();
    }
    void writeFront()
    {
        const int item = d.WriteQueue.front();
        d.WriteQueue.pop_front();
        w->writeQueuedItem(item);
    }
};

// Perform accepted twice, the first written; Cancel accepted after it landed is sent.
TEST_F(SameItem, ACancelAcceptedAfterAPerformThatLandedIsSent)
{
    accept(12, 0, 1);
    accept(12, 1, 1);
    writeFront();
    ASSERT_EQ(controllerValue("0003"), 1);
    accept(12, 1, 0);
    runQueuedWrites();
    EXPECT_EQ(controllerValue("0003"), 0);
    EXPECT_EQ(d.ParaVal(12), 0);
}

// The first of two integral-time writes is refused and its read-back lost: the later value stays on
// screen, and the write after it sends it.
TEST_F(SameItem, AFirstWriteThatDoesNotLandLeavesTheLaterValueToItsWrite)
{
    const int before = controllerValue("0006");
    accept(15, before, 120);
    accept(15, 120, 130);
    fault({{"kind", "nak"}, {"reg", "0006"}, {"code", 4}});
    fault({{"kind", "silence"}, {"reg", "0006"}, {"count", 2}});
    writeFront();
    EXPECT_EQ(d.ParaVal(15), 130);
    runQueuedWrites();
    EXPECT_EQ(controllerValue("0006"), 130);
    EXPECT_EQ(d.ParaVal(15), 130);
}

using LockWrite = LinkedWindow;

TEST_F(LockWrite, BusyRefusalBeepsOnceAndShowsBothNotices)
{
    fault({{"kind", "busy"}, {"reg", "0012"}});
    d.ParaBak(52) = 20;
    d.ParaVal(52) = 25;
    d.ParaNo = 52;
    w->Write_Para();
    EXPECT_EQ(beeps(), 1);
    EXPECT_FALSE(w->Text_readmsg5->isHidden());
    EXPECT_EQ(w->StatusBar1->panel(1), QStringLiteral("NG"));
}

} // namespace
