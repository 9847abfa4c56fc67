// Going online and offline with the Online button, the online check and the option comparison,
// against the simulated controller.
#include "online_fixture.h"

#include "files/settings_store.h"

#include <QAction>
#include <QPushButton>
#include <QSettings>

#include <array>
#include <vector>

namespace {

using GoingOnline = OnlineWindow;

TEST_F(GoingOnline, KeyInThreeProtocolsThenCheckThenMonitoring)
{
    controllerOptions(0x24, 0);
    d.OptSet_Alarm2 = 1;
    d.OptSet_HB = 1;
    d.SpecCheck = true;
    d.MonStep = 0;
    goOnline();
    ASSERT_TRUE(runRequests(10 + 65));

    const QStringList check = {key(),        read("0000"), key(),        "61 002A",
                               read("00A2"), read("00A1"), read("0085"), read("0044"),
                               read("0018"), read("0019")};
    EXPECT_EQ(wire().mid(0, check.size()), check);
    // The key also went out in Modbus ASCII and RTU; a controller speaking its own protocol takes
    // those frames for noise.
    QStringList noise;
    for (const QJsonObject& e : sim->wire())
        if (e.value("note").toString() == QLatin1String("garbage"))
            noise << e.value("hex").toString();
    ASSERT_EQ(noise.size(), 2);
    EXPECT_TRUE(noise[0].startsWith(QByteArray(":000600008217").toHex().toUpper()));
    EXPECT_TRUE(noise[1].startsWith(QStringLiteral("000600008217")));

    // Alarm 2 and single-phase heater burnout: the heater current, no MV2, no heater 2.
    const QStringList cycleStart = {read("0080"), read("0085"), read("0083"), read("0081"),
                                    read("0080"), read("0080"), read("0085"), read("0086"),
                                    read("0083"), read("0080"), read("0086"), read("0080")};
    EXPECT_EQ(wire().mid(check.size(), cycleStart.size()), cycleStart);
    EXPECT_EQ(wire().at(check.size() + 33), read("0038")) << "step 33 reads auto/manual";
    EXPECT_EQ(wire().at(check.size() + 64), read("0080")) << "the cycle starts again";

    EXPECT_FALSE(d.SpecCheck) << "the comparison passed";
    EXPECT_EQ(w->Cmd_ONOFF->text(), S(75));
    EXPECT_EQ(w->Label2->text(), S(74));
    EXPECT_EQ(w->Label4->text(), S(162));
    EXPECT_FALSE(w->mnuComset->isEnabled());
    EXPECT_FALSE(w->mnuOpset->isEnabled());
    EXPECT_TRUE(w->Timer6.isActive());
    EXPECT_NE(w->Text_PV->text(), QString()) << "PV reached the live panel";
}

struct OfflineCase {
    const char* what;
    int protocolSel;
    bool tracing;
    std::vector<int> boxes; // first string of each box, in order
};

void PrintTo(const OfflineCase& c, std::ostream* os)
{
    *os << c.what;
}

class GoingOffline : public OnlineWindow, public ::testing::WithParamInterface<OfflineCase> {};

TEST_P(GoingOffline, LocksClosesAndTells)
{
    const OfflineCase& c = GetParam();
    d.ProtocolSel = c.protocolSel;
    answers({QStringLiteral("OK"), QStringLiteral("OK")});
    goOnline();
    ASSERT_TRUE(runRequests(20));
    if (c.tracing)
        w->mnuTrace_Click();
    const int boxesBefore = int(log().size());
    sim->mark();

    w->Cmd_ONOFF_Click();

    EXPECT_EQ(wire(), QStringList{lock()}) << "the key is cleared, nothing else is sent";
    EXPECT_FALSE(w->QMXCom->isOpen());
    EXPECT_FALSE(d.OnLine);
    EXPECT_FALSE(d.ComOK);
    EXPECT_FALSE(w->Timer1.isActive());
    EXPECT_FALSE(w->Timer6.isActive());
    EXPECT_TRUE(d.SpecCheck);
    EXPECT_EQ(d.Protocol, c.protocolSel);
    EXPECT_FALSE(w->mnuTrace->isChecked());
    EXPECT_EQ(w->Cmd_ONOFF->text(), S(74));
    EXPECT_EQ(w->Label2->text(), S(75));
    EXPECT_EQ(w->Label4->text(), S(161));
    EXPECT_TRUE(w->mnuComset->isEnabled());
    EXPECT_TRUE(w->mnuOpset->isEnabled());

    QStringList expected;
    // A running trace is stopped as its Stop button does, which beeps before the notice.
    if (c.tracing)
        expected << QStringLiteral("<beep>");
    for (int id : c.boxes)
        expected << (id == 354 ? joined({354, 355, 356}) : S(id));
    expected << QStringLiteral("<beep>");
    EXPECT_EQ(texts().mid(boxesBefore), expected) << c.what;

    runUntil([] { return false; }, 300);
    EXPECT_EQ(wire(), QStringList{lock()}) << "no tick after going offline";
}

INSTANTIATE_TEST_SUITE_P(
    Notices, GoingOffline,
    ::testing::Values(OfflineCase{"maker's protocol", 0, false, {}},
                      OfflineCase{"Modbus ASCII: power-cycle notice", 1, false, {354}},
                      OfflineCase{"tracing, maker's", 0, true, {500}},
                      OfflineCase{"tracing, Modbus RTU: trace notice first", 2, true, {500, 354}}));

class ModbusController : public OnlineWindow {
protected:
    QStringList simArgs() const override
    {
        return {QStringLiteral("--port"), QStringLiteral("COM1:9600:rtu:1:1364")};
    }
};

TEST_F(ModbusController, TheRtuKeyMovesItToTheMakersProtocol)
{
    d.strAdr = QStringLiteral("01");
    d.Databit = QStringLiteral("8");
    d.Parity = QStringLiteral("NONE");
    w->QMXCom->setCom_Databit(d.Databit);
    w->QMXCom->setCom_Parity(d.Parity);
    d.Protocol = d.ProtocolSel = 2;
    goOnline();
    ASSERT_TRUE(runRequests(14));
    const QStringList r = wire();
    EXPECT_EQ(r.at(0), QStringLiteral("06 0000 8217")) << "only the RTU frame is understood";
    EXPECT_EQ(r.at(1), read("0000"));
    EXPECT_EQ(r.mid(10, 4), (QStringList{read("0080"), read("0085"), read("0083"), read("0081")}));
    EXPECT_FALSE(commErrorShown());
    EXPECT_EQ(sim->control({{"cmd", "state"}, {"port", "COM1"}})["state"]
                  .toObject()["speaking"]
                  .toString(),
              QStringLiteral("maker"));

    answers({QStringLiteral("OK")});
    w->Cmd_ONOFF_Click();
    EXPECT_EQ(d.Protocol, 2);
    EXPECT_TRUE(texts().contains(joined({354, 355, 356})));
}

TEST_F(GoingOnline, AControllerThatTurnsTheModelReadAwayLeavesTheProgramOffline)
{
    fault({{"kind", "nak"}, {"reg", "0000"}, {"persistent", true}});
    w->Cmd_ONOFF_Click();
    EXPECT_FALSE(d.OnLine);
    EXPECT_FALSE(d.ComOK);
    EXPECT_FALSE(w->Timer1.isActive());
    EXPECT_FALSE(w->QMXCom->isOpen());
    EXPECT_EQ(w->Cmd_ONOFF->text(), S(74));
    EXPECT_EQ(w->Label4->text(), S(161));
    EXPECT_TRUE(w->mnuComset->isEnabled());
    EXPECT_FALSE(wire().contains(read("00A2"))) << "no option check on a closed link";
}

struct UnsavedCase {
    const char* what;
    QStringList answers;
    bool specCheckBefore;
    std::vector<int> questions;
    bool online;
    int comMode;
    bool fileWritten;
};

void PrintTo(const UnsavedCase& c, std::ostream* os)
{
    *os << c.what;
}

class UnsavedData : public OnlineWindow, public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedData, AsksAndGoesOnlineAsAnswered)
{
    const UnsavedCase& c = GetParam();
    const QString file = dir.filePath(QStringLiteral("kept.dat"));
    QStringList answers;
    for (const QString& a : c.answers)
        answers << (a == QLatin1String("FILE") ? file : a);
    answers << QStringLiteral("OK") << QStringLiteral("OK");
    this->answers(answers);
    d.DataChanged = true;
    d.SpecCheck = c.specCheckBefore;

    w->Cmd_ONOFF_Click();

    QStringList asked;
    for (const QJsonObject& o : log())
        if (o.value("box") == QLatin1String("msg"))
            asked << o.value("text").toString();
    QStringList expected;
    for (int id : c.questions)
        expected << (id == 362 ? joined({362, 363}) : S(id));
    EXPECT_EQ(asked, expected) << c.what;
    EXPECT_EQ(d.OnLine, c.online) << c.what;
    EXPECT_EQ(QFile::exists(file), c.fileWritten) << c.what;
    if (c.online) {
        EXPECT_EQ(d.ComMode, c.comMode) << c.what;
        EXPECT_TRUE(w->Timer1.isActive()) << c.what;
        EXPECT_EQ(w->Label2->text(), S(74)) << c.what;
        if (c.comMode == 3) {
            EXPECT_FALSE(wire().contains(read("0044")))
                << c.what << ": the data about to be downloaded is not refreshed first";
        }
    } else {
        EXPECT_FALSE(w->Timer1.isActive()) << c.what;
        EXPECT_TRUE(wire().isEmpty()) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnsavedData,
    ::testing::Values(
        UnsavedCase{
            "save, then download", {"Yes", "FILE", "Yes"}, false, {362, 516}, true, 3, true},
        UnsavedCase{
            "save, then keep offline", {"Yes", "FILE", "No"}, false, {362, 516}, false, 0, true},
        UnsavedCase{
            "save cancelled: nothing more", {"Yes", "Cancel"}, false, {362}, false, 0, false},
        UnsavedCase{"save cancelled after an earlier offline still asks",
                    {"Yes", "Cancel", "Yes"},
                    true,
                    {362, 516},
                    true,
                    3,
                    false},
        UnsavedCase{"no save, download", {"No", "Yes"}, false, {362, 516}, true, 3, false},
        UnsavedCase{"no save, no download: monitoring with the controller's options",
                    {"No", "No"},
                    false,
                    {362, 516},
                    true,
                    1,
                    false}));

struct CompareCase {
    const char* what;
    int option1, option2;
    std::array<int16_t, 6> screen;
    bool infraredFile;
    int refusal; // string of the refusal, 0 when it passes
};

void PrintTo(const CompareCase& c, std::ostream* os)
{
    *os << c.what;
}

class OptionComparison : public OnlineWindow, public ::testing::WithParamInterface<CompareCase> {};

TEST_P(OptionComparison, PassesOrRefuses)
{
    const CompareCase& c = GetParam();
    controllerOptions(c.option1, c.option2);
    d.OptSet_Alarm2 = c.screen[0];
    d.OptSet_HeatCool = c.screen[1];
    d.OptSet_HB = c.screen[2];
    d.OptSet_SVsel = c.screen[3];
    d.OptSet_OutType = c.screen[4];
    d.OptSet_Comm = c.screen[5];
    if (c.infraredFile) {
        d.FileModel = QStringLiteral("RDQMX");
        d.RDModelFile = true;
    }
    d.SpecCheck = true;
    answers({QStringLiteral("OK"), QStringLiteral("OK")});

    w->Cmd_ONOFF_Click();

    QStringList boxes;
    for (const QJsonObject& o : log())
        if (o.value("box") == QLatin1String("msg"))
            boxes << o.value("text").toString();
    if (c.refusal == 0) {
        EXPECT_TRUE(boxes.isEmpty()) << c.what;
        EXPECT_TRUE(d.OnLine && d.ComOK && w->Timer1.isActive()) << c.what;
        EXPECT_FALSE(d.SpecCheck) << c.what;
        return;
    }
    EXPECT_EQ(boxes, QStringList{S(c.refusal)}) << c.what;
    EXPECT_FALSE(d.OnLine) << c.what;
    EXPECT_FALSE(d.ComOK) << c.what;
    EXPECT_FALSE(w->QMXCom->isOpen()) << c.what;
    EXPECT_FALSE(w->Timer1.isActive() || w->Timer6.isActive()) << c.what;
    EXPECT_TRUE(d.SpecCheck) << c.what;
    EXPECT_EQ(w->Label2->text(), S(75)) << c.what;
    EXPECT_TRUE(w->mnuOpset->isEnabled()) << c.what;
    // The controller is locked again before the port closes.
    EXPECT_EQ(wire().last(), lock()) << c.what;
    EXPECT_EQ(wire().count(lock()), 1) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Sets, OptionComparison,
    ::testing::Values(
        CompareCase{"equal", 0x24, 0x00, {1, 0, 1, 0, 0, 0}, false, 0},
        CompareCase{"equal, every word set", 0x5C, 0x10, {0, 1, 4, 0, 2, 0}, false, 0},
        CompareCase{"alarm 2 and heater burnout differ: one box",
                    0x24,
                    0x00,
                    {0, 0, 0, 0, 0, 0},
                    false,
                    290},
        CompareCase{"output type differs", 0x00, 0x08, {0, 0, 0, 0, 2, 0}, false, 290},
        CompareCase{"infrared file against a standard controller",
                    0x24,
                    0x00,
                    {1, 0, 1, 0, 0, 0},
                    true,
                    803}));

TEST_F(GoingOnline, WithoutComparisonTheScreenTakesTheControllersOptions)
{
    controllerOptions(0x5C, 0x11);
    d.SpecCheck = false;
    goOnline();
    EXPECT_EQ(d.OptSet_HeatCool, 1);
    EXPECT_EQ(d.OptSet_HB, 4);
    EXPECT_EQ(d.OptSet_OutType, 2);
    EXPECT_EQ(d.OptSet_Alarm2, 0);
    EXPECT_TRUE(d.SpecCheck) << "the next go-online compares";
    EXPECT_TRUE(log().isEmpty() || texts() == QStringList{QStringLiteral("<beep>")});
}

TEST_F(GoingOnline, InfraredFileAcceptedAfterTheOperatorLetsTheControllerOverwriteIt)
{
    controllerOptions(0x24, 0);
    d.OptSet_Alarm2 = 1;
    d.OptSet_HB = 1;
    d.FileModel = QStringLiteral("RDQMX");
    d.RDModelFile = true;
    d.SpecCheck = true;
    d.ScreenSet = false;
    d.AskRefresh = true;
    answers({QStringLiteral("Yes"), QStringLiteral("Yes")});
    goOnline();
    EXPECT_EQ(texts().mid(1, 2), (QStringList{S(340), S(341)}));
    EXPECT_FALSE(d.SpecCheck);
    EXPECT_TRUE(wire().contains(QStringLiteral("50 0070 0001"))) << "the screen data was uploaded";
}

TEST_F(GoingOnline, WrongModelIsNotMonitored)
{
    set({{"model", 1234}});
    answers({QStringLiteral("Cancel")});
    w->Cmd_ONOFF_Click();
    EXPECT_EQ(texts().at(1), S(796));
    EXPECT_TRUE(d.ModelErr);
    EXPECT_FALSE(d.OnLine);
    EXPECT_FALSE(d.ComOK);
    EXPECT_FALSE(w->Timer1.isActive());
    EXPECT_EQ(wire().last(), lock());
}

class NoLinkYet : public OnlineWindow {
protected:
    QStringList simArgs() const override
    {
        return {QStringLiteral("--port"), QStringLiteral("COM1:9600:maker:0:1364"),
                QStringLiteral("--silent"), QStringLiteral("COM1")};
    }
};

TEST_F(NoLinkYet, FirstPressWithoutAnyLinkStaysOffline)
{
    d.CommSetOK = false;
    answers({QStringLiteral("OK")});
    w->Cmd_ONOFF_Click();
    EXPECT_TRUE(texts().contains(joined({451, 270})));
    EXPECT_FALSE(d.OnLine);
    EXPECT_FALSE(d.ComOK);
    EXPECT_FALSE(w->QMXCom->isOpen());
    EXPECT_TRUE(d.SpecCheck);
    EXPECT_EQ(w->Label2->text(), S(75));
}

TEST_F(GoingOnline, FirstPressConnectsShowsAndSavesTheSettingsThenGoesOnline)
{
    d.CommSetOK = false;
    d.strAdr = QStringLiteral("00");
    w->Cmd_ONOFF_Click();
    ASSERT_TRUE(d.CommSetOK);
    EXPECT_EQ(w->Lbl_comm[0]->text(), QStringLiteral("COM1"));
    EXPECT_EQ(w->Lbl_comm[1]->text(), QStringLiteral("9600"));
    EXPECT_EQ(w->Lbl_comm[2]->text(), QStringLiteral("7, EVEN"));
    EXPECT_EQ(w->Lbl_comm[5]->text(), QStringLiteral("Velder"));
    EXPECT_EQ(qmx::openSettings()->value(QStringLiteral("Protocol")).toString(),
              QStringLiteral("0"));
    EXPECT_TRUE(d.OnLine);
    EXPECT_TRUE(w->Timer1.isActive());
}

} // namespace
