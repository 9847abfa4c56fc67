// Trend recording in-process with clocks handed in: start and its refusals, the sampling cycle
// across midnight and a clock stepped back, the end of the screen, stop, and the log byte for byte.
#include "../main/window_fixture.h"

#include "files/pen_files.h"
#include "files/settings_store.h"
#include "ui/automation.h"
#include "ui/chart/chart_canvas.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/ui_widgets.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

using namespace qmx;

namespace {

int record(int pen, int r)
{
    QFile f(penFilePath(programFolder(), pen));
    if (!f.open(QIODevice::ReadOnly))
        return -99999;
    const QByteArray b = f.readAll().mid((r - 1) * 4, 4);
    const auto u = [&](int i) { return uint32_t(uint8_t(b.at(i))); };
    return r <= 5 ? int32_t(u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24)
                  : int16_t(uint16_t(u(0) | u(1) << 8));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Recording : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        d.OnLine = true;
        // The wall clock runs with the seconds clock unless a test moves it on its own.
        c().setClocks([this] { return seconds; }, [this] { return wall.addSecs(seconds - 1000); });
        c().setPv0Caption(QStringLiteral("123.4"));
        c().setSv0Caption(QStringLiteral("100.0"));
        c().setMv1Caption(QStringLiteral("45.5"));
    }
    Velder_ChartCtl& c() { return *w->Velder_ChartCtl1; }
    // The tick as the 200 ms timer runs it, five times in each second from now to `until`.
    void runTo(int64_t until)
    {
        c().timChart.stop(); // the test is the timer
        for (; seconds <= until; ++seconds)
            for (int i = 0; i < 5; ++i)
                c().timChart_Timer();
        --seconds;
    }
    void start()
    {
        c().cmdRUN_Click();
        c().timChart.stop();
    }
    QString logPath() const { return QDir::fromNativeSeparators(c_const().Savename_text->text()); }
    const Velder_ChartCtl& c_const() const { return *w->Velder_ChartCtl1; }
    static QString dateOf(const QDateTime& t)
    {
        return QLocale::system().toString(t.date(), QLocale::ShortFormat);
    }

    int64_t seconds = 1000;
    QDateTime wall{QDate(2015, 6, 23), QTime(9, 5, 7)};
};

} // namespace

TEST_F(Recording, StartRefusals)
{
    answers({QStringLiteral("OK"), QStringLiteral("OK"), QStringLiteral("OK")});
    d.OnLine = false;
    c().cmdRUN_Click();
    EXPECT_EQ(c().RunState, 0);

    d.OnLine = true;
    c().TraceOn = {0, 0, 0, 1}; // MV2 only, but the controller has no heating/cooling option
    c().cmdRUN_Click();
    EXPECT_EQ(c().RunState, 0);
    EXPECT_EQ(c().TraceOn[3], 0);
    EXPECT_FALSE(w->mnuTrace->isChecked());

    c().TraceOn = {1, 1, 1, 1};
    c().setYScaleHigh(QStringLiteral("0")); // high not above low
    c().cmdRUN_Click();
    EXPECT_EQ(c().RunState, 0);
    EXPECT_FALSE(w->mnuTrace->isChecked());
    QStringList boxes = texts();
    boxes.removeAll(QStringLiteral("<beep>"));
    EXPECT_EQ(boxes, (QStringList{S(159), S(714), S(554)}));
    EXPECT_TRUE(c().cmdRUN->isEnabled());
}

TEST_F(Recording, AStartLocksTheSettingsAndLogsTheFirstSampleAtOnce)
{
    c().optShort->click();
    start();
    EXPECT_EQ(c().RunState, 1);
    EXPECT_TRUE(w->mnuTrace->isChecked());
    EXPECT_FALSE(c().cmdRUN->isEnabled());
    EXPECT_TRUE(c().cmdStop->isEnabled());
    const std::array<QWidget*, 5> locked{c().optShort, c().Cmd_SH, c().cmdChartsel, c().frmChartsel,
                                         c().Lbl_Y};
    for (QWidget* x : locked)
        EXPECT_FALSE(x->isEnabled()) << x->objectName().toStdString();
    EXPECT_EQ(c().lblMsg->text(), S(92));
    EXPECT_EQ(w->StatusBar1->panel(2), S(90));
    EXPECT_EQ(w->StatusBar1->panel(3), S(92));
    EXPECT_EQ(record(0, 7), 1);
    EXPECT_EQ(record(3, 7), 1);
    EXPECT_EQ(record(0, 4), 400);

    EXPECT_EQ(c().samples(), 1);
    EXPECT_EQ(c().canvas()->samples().front().x, 0);
    // The first sample draws a point per pen and no line.
    const ChartCanvas::Sample& first = c().canvas()->samples().front();
    EXPECT_EQ(first.on, 0x07); // PV, SV, MV1; no MV2 without the option
    EXPECT_EQ(first.y[0], first.yPrev[0]);
    EXPECT_EQ(logPath(), programFolder() + QStringLiteral("/Logging/2015_6_23_9_5_7.csv"));
    const QByteArray want = "\"Control data\"\r\n\"Date\",\"Time\",\"PV\",\"SV\",\"MV1\",\r\n\"" +
                            dateOf(wall).toUtf8() +
                            "\",\"09:05:07\",\"123.4\",\"100.0\",\"45.5\",\r\n";
    EXPECT_EQ(fileBytes(logPath()), want);
}

TEST_F(Recording, OneSamplePerCycleAcrossMidnight)
{
    // Started at 23:59:58 with a cycle of 5: the next sample at 00:00:03, then every 5 s.
    wall = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58));
    c().setXScaleTime(QStringLiteral("5"));
    start();
    runTo(1011);
    EXPECT_EQ(c().samples(), 3);
    EXPECT_EQ(c().SampleCount, 2);
    const QStringList rows = QString::fromUtf8(fileBytes(logPath())).split(QStringLiteral("\r\n"));
    ASSERT_EQ(rows.size(), 6); // two header lines, three rows, the empty end
    EXPECT_TRUE(
        rows[2].startsWith(QLatin1Char('"') + dateOf(wall) + QStringLiteral("\",\"23:59:58")));
    const QDateTime next = wall.addSecs(5);
    EXPECT_TRUE(
        rows[3].startsWith(QLatin1Char('"') + dateOf(next) + QStringLiteral("\",\"00:00:03")))
        << rows[3].toStdString();
    EXPECT_TRUE(rows[4].contains(QStringLiteral("00:00:08")));
    EXPECT_EQ(c().canvas()->samples().at(1).x, 3); // the middle span steps 3
}

TEST_F(Recording, AWallClockSteppedBackDoesNotStallTheRun)
{
    c().setXScaleTime(QStringLiteral("1"));
    start();
    runTo(1002);
    // The time of day goes back an hour (daylight saving ends); the run goes on once a second.
    c().setClocks([this] { return seconds; },
                  [this] { return wall.addSecs(seconds - 1000 - 3600); });
    runTo(1006);
    EXPECT_EQ(c().samples(), 7);
    const QString log = QString::fromUtf8(fileBytes(logPath()));
    EXPECT_TRUE(log.contains(QStringLiteral("\"08:05:10\"")));
}

TEST_F(Recording, ALateTickSamplesAtOnce)
{
    c().setXScaleTime(QStringLiteral("5"));
    start();
    runTo(1001);
    seconds = 1007; // no tick for six seconds
    runTo(1007);
    EXPECT_EQ(c().samples(), 2);
    runTo(1011);
    EXPECT_EQ(c().samples(), 2);
    runTo(1012);
    EXPECT_EQ(c().samples(), 3);
}

TEST_F(Recording, TheScreenEndsAfterSixHundredShortSamples)
{
    answers({QStringLiteral("OK")});
    c().optShort->click();
    c().setXScaleTime(QStringLiteral("1"));
    start();
    runTo(1599);
    EXPECT_EQ(c().RunState, 1);
    EXPECT_EQ(c().samples(), 600);
    EXPECT_EQ(c().canvas()->samples().back().x, 26955);
    runTo(1600);
    EXPECT_EQ(c().RunState, 0);
    EXPECT_EQ(c().samples(), 600) << "the sample at the edge is logged, not plotted";
    EXPECT_FALSE(c().timChart.isActive());
    EXPECT_FALSE(w->mnuTrace->isChecked());
    EXPECT_TRUE(c().cmdRUN->isEnabled());
    EXPECT_TRUE(c().optShort->isEnabled());
    EXPECT_EQ(c().lblMsg->text(), S(91));
    EXPECT_EQ(w->StatusBar1->panel(2), QString());
    EXPECT_EQ(record(2, 7), 0);
    const int lines = int(fileBytes(logPath()).count("\r\n"));
    EXPECT_EQ(lines, 2 + 601);
    QStringList boxes = texts();
    boxes.removeAll(QStringLiteral("<beep>"));
    EXPECT_EQ(boxes, QStringList{S(333)});
    EXPECT_EQ(texts().last(), QStringLiteral("<beep>"));
    // The plot stays until the next start.
    runTo(1610);
    EXPECT_EQ(c().samples(), 600);
}

TEST_F(Recording, PvBeyondItsRangeAndMv2WithTheOption)
{
    d.OptSet_HeatCool = 1;
    d.MonVal(7) = 0x40; // the controller reports heating/cooling
    c().setMv2Caption(QStringLiteral("12.0"));
    c().setXScaleTime(QStringLiteral("1"));
    start();
    c().setPv0Caption(QStringLiteral("----U"));
    runTo(1001);
    c().setPv0Caption(QStringLiteral("----D"));
    runTo(1002);
    const auto& s = c().canvas()->samples();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].on, 0x0F);
    EXPECT_EQ(s[1].y[0], 0);     // above its range: PV takes the scale high
    EXPECT_EQ(s[2].y[0], 3792);  // below: on the time axis
    EXPECT_EQ(s[2].yPrev[0], 0); // from the high end it was plotted at
    const QStringList rows = QString::fromUtf8(fileBytes(logPath())).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(rows[1].endsWith(QStringLiteral("\"MV1\",\"MV2\",")));
    EXPECT_TRUE(rows[3].endsWith(QStringLiteral("\"----\",\"100.0\",\"45.5\",\"12.0\",")));

    // The screen's option set without heating/cooling: MV2 is plotted but has no column.
    c().cmdStop_Click();
    d.OptSet_HeatCool = 0;
    seconds += 1;
    start();
    EXPECT_EQ(c().canvas()->samples().front().on, 0x0F);
    EXPECT_TRUE(QString::fromUtf8(fileBytes(logPath())).contains(QStringLiteral("\"MV1\",\r\n")));
}

TEST_F(Recording, StopByButtonAndByMenu)
{
    start();
    runTo(1010);
    const int plotted = c().samples();
    c().cmdStop_Click();
    EXPECT_EQ(c().RunState, 0);
    EXPECT_FALSE(w->mnuTrace->isChecked());
    EXPECT_TRUE(c().Cmd_SH->isEnabled());
    // MV2 was switched off by the start: the controller has no heating/cooling option.
    for (int pen = 0; pen < 4; ++pen) {
        EXPECT_EQ(record(pen, 7), 0);
        EXPECT_EQ(record(pen, 6), pen < 3 ? 1 : 0);
    }
    runTo(1020);
    EXPECT_EQ(c().samples(), plotted) << "no tick after a stop";

    // The menu starts and stops the same run; a stop on a stopped chart only beeps.
    w->mnuTrace->trigger();
    EXPECT_TRUE(c().isRunning());
    EXPECT_TRUE(w->mnuTrace->isChecked());
    c().timChart.stop();
    w->mnuTrace->trigger();
    EXPECT_FALSE(c().isRunning());
    EXPECT_FALSE(w->mnuTrace->isChecked());
    const int boxes = int(log().size());
    c().cmdStop_Click();
    EXPECT_EQ(texts().mid(boxes), QStringList{QStringLiteral("<beep>")});
}

TEST_F(Recording, EveryWayOfflineStopsTheRun)
{
    answers({QStringLiteral("OK")});
    start();
    // The offline look that a refused go-online or a download mismatch puts on.
    d.OnLine = false;
    w->ofline();
    EXPECT_FALSE(c().isRunning());
    EXPECT_FALSE(w->mnuTrace->isChecked());
    EXPECT_TRUE(texts().contains(S(500)));

    // A link that went down without any of those: the next tick stops the run.
    d.OnLine = true;
    seconds += 2;
    start();
    d.OnLine = false;
    runTo(seconds + 1);
    EXPECT_FALSE(c().isRunning());
}

TEST_F(Recording, ALogThatCannotBeWrittenIsToldOnceAndThePlotGoesOn)
{
    c().setXScaleTime(QStringLiteral("1"));
    const QString logging = programFolder() + QStringLiteral("/Logging");
    QDir(logging).removeRecursively();
    QFile blocker(logging);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const int boxes = int(log().size());
    start();
    runTo(1003);
    EXPECT_EQ(c().samples(), 4);
    EXPECT_EQ(w->StatusBar1->panel(2), S(555));
    QStringList asked = texts().mid(boxes);
    asked.removeAll(QStringLiteral("<beep>"));
    EXPECT_TRUE(asked.isEmpty()) << "no box in the way of the ticks";

    // The folder can be made again: the log starts with its header and the panel says so.
    QFile::remove(logging);
    runTo(1004);
    EXPECT_EQ(w->StatusBar1->panel(2), S(90));
    const QByteArray log = fileBytes(logPath());
    EXPECT_TRUE(log.startsWith("\"Control data\"\r\n"));
    EXPECT_EQ(log.count("\r\n"), 3);
}

TEST_F(Recording, TwoRunsInOneSecondKeepBothLogs)
{
    start();
    const QString first = logPath();
    c().cmdStop_Click();
    start();
    EXPECT_NE(logPath(), first);
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_TRUE(logPath().endsWith(QStringLiteral("-2.csv")));
}

TEST_F(Recording, TheDumpCarriesTheRun)
{
    start();
    runTo(1010);
    const QJsonObject chart = dumpWidgets()
                                  .value(QStringLiteral("widgets"))
                                  .toObject()
                                  .value(QStringLiteral("MainDisp/Velder_ChartCtl1"))
                                  .toObject();
    EXPECT_EQ(chart.value(QStringLiteral("RunState")).toInt(), 1);
    EXPECT_EQ(chart.value(QStringLiteral("samples")).toInt(), 3);
}
