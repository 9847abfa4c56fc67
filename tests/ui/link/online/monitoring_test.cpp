// Monitoring: the special reads of the optional values, the status word's uploads, and a link
// that goes away while online.
#include "online_fixture.h"

#include <QPushButton>

namespace {

class Monitoring : public OnlineWindow {
protected:
    // The requests of monitoring only: everything after the last check read (0019).
    QStringList monitorRequests() const
    {
        const QStringList all = wire();
        return all.mid(all.lastIndexOf(read("0019")) + 1);
    }
    int uploads() const { return int(wire().count(QStringLiteral("50 0070 0001"))); }
};

TEST_F(Monitoring, OptionWords5C11WithInputType30SwitchStepsToSpecialReads)
{
    controllerOptions(0x5C, 0x11);
    setRegister(QStringLiteral("0044"), 30);
    d.SpecCheck = false;
    d.MonStep = 0;
    goOnline();
    ASSERT_EQ(d.ParaVal(50), 30);
    ASSERT_TRUE(runUntil([&] { return monitorRequests().size() >= 64; }));
    const QStringList cycle = monitorRequests().mid(0, 64);

    const std::map<int, QString> special = {
        {9, "61 FC32"},  {19, "61 FC34"}, {20, "61 FC36"}, {21, "61 FC94"}, {22, "61 FC32"},
        {28, "61 FC34"}, {31, "61 FC92"}, {32, "61 FC96"}, {34, "61 FC36"}, {40, "61 FC94"},
        {45, "61 FC32"}, {46, "61 FC92"}, {52, "61 FC96"}, {55, "61 FC34"}, {56, "61 FC36"},
        {57, "61 FC94"}, {61, "61 FC92"}, {62, "61 FC96"}};
    for (int step = 0; step < 64; ++step) {
        const auto it = special.find(step);
        if (it != special.end())
            EXPECT_EQ(cycle.at(step), it->second) << "step " << step;
        else
            EXPECT_TRUE(cycle.at(step).startsWith(QStringLiteral("20 "))) << "step " << step;
    }
    // Heating/cooling and three-phase heater burnout in the ordinary steps.
    EXPECT_EQ(cycle.at(4), read("0082"));
    EXPECT_EQ(cycle.at(7), read("0086"));
    EXPECT_EQ(cycle.at(8), read("0087"));
    EXPECT_EQ(cycle.at(33), read("0038"));
}

TEST_F(Monitoring, SettingsChangedAtTheFrontStartOneUpload)
{
    goOnline();
    ASSERT_TRUE(runUntil([&] { return monitorRequests().size() >= 3; }));
    set({{"status", 0x8000}});
    ASSERT_TRUE(runUntil([&] { return uploads() == 1; }));
    // The upload's transfer-mode write clears the flag: monitoring goes on without another.
    const int after = int(wire().size());
    ASSERT_TRUE(runUntil([&] { return wire().size() >= after + 60 + 24; }));
    EXPECT_EQ(uploads(), 1);
    EXPECT_EQ(d.ComMode, 1);
    EXPECT_FALSE(d.Uploading);
}

TEST_F(Monitoring, EndOfAutoTuningStartsOneUpload)
{
    goOnline();
    sim->control({{"cmd", "at"}, {"port", "COM1"}, {"seconds", 1}});
    ASSERT_TRUE(runUntil([&] { return d.ATrun; }));
    EXPECT_EQ(uploads(), 0) << "auto-tuning running asks for nothing";
    ASSERT_TRUE(runUntil([&] { return uploads() == 1; }));
    EXPECT_FALSE(d.ATrun);
    const int after = int(wire().size());
    ASSERT_TRUE(runUntil([&] { return wire().size() >= after + 60 + 24; }));
    EXPECT_EQ(uploads(), 1);
}

TEST_F(Monitoring, UnpluggedDeviceShowsTheErrorAndMonitoringResumesOnceItIsBack)
{
    goOnline();
    ASSERT_TRUE(runUntil([&] { return monitorRequests().size() >= 3; }));
    ASSERT_TRUE(sim->control({{"cmd", "unplug"}, {"port", "COM1"}})["ok"].toBool());
    ASSERT_TRUE(runUntil([&] { return commErrorShown() && d.ComErr; }));
    // The poll goes on stepping through its cycle, the window stays responsive.
    const int step = d.MonStep;
    ASSERT_TRUE(runUntil([&] { return d.MonStep != step; }));
    EXPECT_TRUE(texts().filter(QStringLiteral("<beep>")).size() == texts().size())
        << "monitoring raises no box";

    ASSERT_TRUE(sim->control({{"cmd", "replug"}, {"port", "COM1"}})["ok"].toBool());
    // The device is back: the poll opens it again by itself.
    sim->mark();
    ASSERT_TRUE(runUntil([&] { return monitorRequests().size() >= 3 && !commErrorShown(); }));
    EXPECT_FALSE(d.ComErr);

    // Offline and online again work as ever.
    w->Cmd_ONOFF_Click();
    EXPECT_FALSE(d.OnLine);
    EXPECT_FALSE(commErrorShown());
    sim->mark();
    w->Cmd_ONOFF_Click();
    ASSERT_TRUE(d.OnLine);
    ASSERT_TRUE(runUntil([&] { return monitorRequests().size() >= 10; }));
    EXPECT_TRUE(wire().contains(key()));
    ASSERT_TRUE(runUntil([&] { return !commErrorShown(); }));
    EXPECT_FALSE(d.ComErr);
}

} // namespace
