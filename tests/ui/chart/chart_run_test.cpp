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
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

using namespace qmx;

namespace {

// Record `r` of a pen file as another program reads it: little-endian, 32 or 16 bits.
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
        // The wall clock runs with the seconds clock, `shift` seconds off.
        c().setClocks(
            [this] {
                if (reenter) {
                    reenter = false;
                    c().timChart_Timer();
                }
                return seconds;
            },
            [this] { return wall.addSecs(seconds - 1000 + shift); });
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
    QString logPath() { return QDir::fromNativeSeparators(c().Savename_text->text()); }
    QStringList logLines()
    {
        return QString::fromUtf8(fileBytes(logPath())).split(QStringLiteral("\r\n"));
    }
    QStringList told()
    {
        QStringList l = texts();
        l.removeAll(QStringLiteral("<beep>"));
        return l;
    }
    static QString dateOf(const QDateTime& t)
    {
        return QLocale::system().toString(t.date(), QLocale::ShortFormat);
    }

    int64_t seconds = 1000;
    int64_t shift = 0;
    bool reenter = false;
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

    c().TraceOn = {1, 1, 1, 1};
    c().setYScaleHigh(QStringLiteral("0")); // high not above low
    c().cmdRUN_Click();
    EXPECT_EQ(c().RunState, 0);
    EXPECT_FALSE(w->mnuTrace->isChecked());
    EXPECT_EQ(told(), (QStringList{S(159), S(714), S(554)}));
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
    for (QWidget* x : {(QWidget*)c().optShort, (QWidget*)c().Cmd_SH, (QWidget*)c().cmdChartsel})
        EXPECT_FALSE(x->isEnabled()) << x->objectName().toStdString();
    EXPECT_EQ(c().lblMsg->text(), S(92));
    EXPECT_EQ(w->StatusBar1->panel(2), S(90));
    EXPECT_EQ(record(0, 7), 1);
    EXPECT_EQ(record(3, 7), 1);

    // The first sample draws a point per pen and no line, at x = 0.
    ASSERT_EQ(c().samples(), 1);
    const ChartCanvas::Sample& first = c().canvas()->samples().front();
    EXPECT_EQ(first.x, 0);
    EXPECT_EQ(first.on, 0x07); // PV, SV, MV1; no MV2 without the option
    EXPECT_EQ(first.y[0], first.yPrev[0]);
    EXPECT_EQ(logPath(), programFolder() + QStringLiteral("/Logging/2015_6_23_9_5_7.csv"));
    EXPECT_EQ(fileBytes(logPath()),
              "\"Control data\"\r\n\"Date\",\"Time\",\"PV\",\"SV\",\"MV1\",\r\n\"" +
                  dateOf(wall).toUtf8() + "\",\"09:05:07\",\"123.4\",\"100.0\",\"45.5\",\r\n");
    const QJsonObject dump = dumpWidgets()
                                 .value(QStringLiteral("widgets"))
                                 .toObject()
                                 .value(QStringLiteral("MainDisp/Velder_ChartCtl1"))
                                 .toObject();
    EXPECT_EQ(dump.value(QStringLiteral("RunState")).toInt(), 1);
    EXPECT_EQ(dump.value(QStringLiteral("samples")).toInt(), 1);
}

TEST_F(Recording, RowsFollowTheCycleWhateverTheTimeOfDayDoes)
{
    const struct {
        const char* what;
        QDateTime wall;
        const char* cycle;
        int64_t runTo;
        int64_t stepAt, step; // from second `stepAt` on, the time of day moves by `step`
        QStringList times;
        QDate secondDate;
    } rows[] = {
        {"across midnight",
         QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)),
         "5",
         1011,
         0,
         0,
         {"23:59:58", "00:00:03", "00:00:08"},
         QDate(2027, 1, 1)},
        // Daylight saving ends: the run goes on once a second.
        {"stepped back an hour",
         QDateTime(QDate(2015, 10, 25), QTime(9, 5, 7)),
         "1",
         1006,
         1003,
         -3600,
         {"09:05:07", "09:05:08", "09:05:09", "08:05:10", "08:05:11", "08:05:12", "08:05:13"},
         QDate(2015, 10, 25)},
    };
    for (const auto& r : rows) {
        wall = r.wall;
        seconds = 1000;
        shift = 0;
        c().setXScaleTime(QLatin1String(r.cycle));
        start();
        if (r.stepAt) {
            runTo(r.stepAt - 1);
            shift = r.step;
        }
        runTo(r.runTo);
        EXPECT_EQ(c().samples(), r.times.size()) << r.what;
        QStringList times;
        for (const QString& row : logLines().mid(2, r.times.size()))
            times << row.section(QLatin1Char(','), 1, 1).remove(QLatin1Char('"'));
        EXPECT_EQ(times, r.times) << r.what;
        EXPECT_TRUE(
            logLines().at(3).startsWith(QLatin1Char('"') + dateOf(QDateTime(r.secondDate, {}))))
            << r.what << ": each row's date belongs to its own time";
        c().cmdStop_Click();
    }
    EXPECT_EQ(c().canvas()->samples().at(1).x, 3); // the middle span steps 3
}

TEST_F(Recording, ATickNeverReEnters)
{
    // A tick that comes while one runs (a box letting events through) does nothing: the first
    // sample stays alone at x = 0 and the log starts with its header.
    c().setXScaleTime(QStringLiteral("1"));
    reenter = true;
    start();
    EXPECT_FALSE(reenter);
    EXPECT_EQ(c().samples(), 1);
    EXPECT_EQ(c().canvas()->samples().front().x, 0);
    runTo(1002);
    EXPECT_EQ(c().samples(), 3);
    EXPECT_EQ(logLines().size(), 2 + 3 + 1);
    EXPECT_EQ(logLines().at(0), QStringLiteral("\"Control data\""));
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
    EXPECT_EQ(fileBytes(logPath()).count("\r\n"), 2 + 601);
    EXPECT_FALSE(w->mnuTrace->isChecked());
    EXPECT_TRUE(c().optShort->isEnabled());
    EXPECT_EQ(c().lblMsg->text(), S(91));
    EXPECT_EQ(record(2, 7), 0);
    EXPECT_EQ(told(), QStringList{S(333)});
    EXPECT_EQ(texts().last(), QStringLiteral("<beep>"));
    runTo(1610); // the plot stays until the next start
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
    EXPECT_TRUE(logLines().at(1).endsWith(QStringLiteral("\"MV1\",\"MV2\",")));
    EXPECT_TRUE(logLines().at(3).endsWith(QStringLiteral("\"----\",\"100.0\",\"45.5\",\"12.0\",")));

    // The screen's option set without heating/cooling: MV2 is plotted but has no column.
    c().cmdStop_Click();
    d.OptSet_HeatCool = 0;
    seconds += 1;
    start();
    EXPECT_EQ(c().canvas()->samples().front().on, 0x0F);
    EXPECT_TRUE(logLines().at(1).endsWith(QStringLiteral("\"MV1\",")));
}

TEST_F(Recording, AStopResetsTheFilesAndNoTickFollows)
{
    start();
    runTo(1010);
    const int plotted = c().samples();
    c().cmdStop_Click();
    EXPECT_TRUE(c().Cmd_SH->isEnabled());
    // MV2 was switched off by the start: the controller has no heating/cooling option.
    for (int pen = 0; pen < 4; ++pen) {
        EXPECT_EQ(record(pen, 7), 0);
        EXPECT_EQ(record(pen, 6), pen < 3 ? 1 : 0);
    }
    runTo(1020);
    EXPECT_EQ(c().samples(), plotted) << "no tick after a stop";
    const int boxes = int(log().size());
    c().cmdStop_Click(); // on a stopped chart it only beeps
    EXPECT_EQ(texts().mid(boxes), QStringList{QStringLiteral("<beep>")});

    // A link that went down without the offline look: the next tick stops the run.
    seconds += 2;
    start();
    d.OnLine = false;
    runTo(seconds + 1);
    EXPECT_FALSE(c().isRunning());
    EXPECT_FALSE(w->mnuTrace->isChecked());
}

TEST_F(Recording, ThePenButtonStaysOffWhileItsFrameIsOpenWhicheverWayARunStops)
{
    c().optShort->click();
    c().setXScaleTime(QStringLiteral("1"));
    const struct {
        const char* what;
        std::function<void()> stop;
    } rows[] = {
        {"Stop", [this] { c().cmdStop->click(); }},
        {"the Trace menu", [this] { w->mnuTrace_Click(); }},
        {"going offline", [this] { answers({QStringLiteral("OK")}), w->stopTrace(); }},
        {"the link lost", [this] { d.OnLine = false, runTo(seconds + 1); }},
        {"the end of the screen",
         [this] { answers({QStringLiteral("OK")}), runTo(seconds + 600); }},
    };
    for (const auto& r : rows) {
        d.OnLine = true;
        seconds += 2;
        c().cmdChartsel->click();
        start();
        ASSERT_TRUE(c().isRunning()) << r.what;
        r.stop();
        EXPECT_FALSE(c().isRunning()) << r.what;
        EXPECT_FALSE(c().frmChartsel->isHidden()) << r.what;
        EXPECT_FALSE(c().cmdChartsel->isEnabled()) << r.what << ": the frame is still open";
        c().cmdSelend->click();
        EXPECT_TRUE(c().frmChartsel->isHidden()) << r.what;
        EXPECT_TRUE(c().cmdChartsel->isEnabled()) << r.what;
    }
}

TEST_F(Recording, ALogThatCannotBeWrittenIsToldOnceAndThePlotGoesOn)
{
    c().setXScaleTime(QStringLiteral("1"));
    const QString logging = programFolder() + QStringLiteral("/Logging");
    QDir(logging).removeRecursively();
    QFile blocker(logging);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    start();
    runTo(1003);
    EXPECT_EQ(c().samples(), 4);
    EXPECT_EQ(w->StatusBar1->panel(2), S(555));
    EXPECT_TRUE(told().isEmpty()) << "no box in the way of the ticks";

    // The folder can be made again: the log starts with its header and the panel says so.
    QFile::remove(logging);
    runTo(1004);
    EXPECT_EQ(w->StatusBar1->panel(2), S(90));
    const QByteArray log = fileBytes(logPath());
    EXPECT_TRUE(log.startsWith("\"Control data\"\r\n"));
    EXPECT_EQ(log.count("\r\n"), 3);
}
