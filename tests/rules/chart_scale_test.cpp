#include "rules/chart_scale.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace qmx;

namespace {

std::string join(const std::vector<QString>& v)
{
    return QStringList(v.begin(), v.end()).join(QLatin1Char(',')).toStdString();
}

std::string join(const std::vector<int>& v)
{
    QStringList l;
    for (int x : v)
        l << QString::number(x);
    return l.join(QLatin1Char(',')).toStdString();
}

} // namespace

TEST(CaptionValue, LeadingNumericPart)
{
    const struct {
        const char* text;
        double want;
    } rows[] = {
        {"", 0},  {"400", 400},   {"-200", -200}, {"5 Sec", 5}, {"12.5", 12.5},   {"abc", 0},
        {"-", 0}, {"1.2.3", 1.2}, {"+7", 7},      {"----", 0},  {"  -0.5", -0.5},
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(captionValue(QString::fromUtf8(r.text)), r.want) << r.text;
}

TEST(ScaleSet, LabelsAndGridForThePanelSettings)
{
    // Time labels: minutes from the screen's start, 11 of them over the samples of a screen
    // (600 short, 9000 middle, 27000 long) at `cycle` seconds each. Horizontal lines split the
    // 3800 units of height into `div` parts.
    const struct {
        double cycle;
        XSpan span;
        double high, low, div;
        const char* y;      // top, middle, bottom
        const char* x;      // time labels
        const char* hLines; // y of each line
    } rows[] = {
        {5, XSpan::Short, 400, 0, 4, "400,200,0", "0,5,10,15,20,25,30,35,40,45,50",
         "950,1900,2850"},
        {5, XSpan::Middle, 401, 0, 10, "401,200.5,0", "0,75,150,225,300,375,450,525,600,675,750",
         "380,760,1140,1520,1900,2280,2660,3040,3420"},
        {5, XSpan::Long, 100, -50, 3, "100,25,-50",
         "0,225,450,675,900,1125,1350,1575,1800,2025,2250", "1267,2534"},
        {60, XSpan::Long, 10000, -2000, 2, "10000,4000,-2000",
         "0,2700,5400,8100,10800,13500,16200,18900,21600,24300,27000", "1900"},
        {1, XSpan::Short, 1.5, -1.5, 1, "2,0,-2", "0,1,2,3,4,5,6,7,8,9,10", ""}, // halves to even
        {0, XSpan::Middle, -100, -101, 0, "-100,-100.5,-101", "0,0,0,0,0,0,0,0,0,0,0", ""},
        {5, XSpan::None, 400, 0, -3, "400,200,0", "", ""}, // the time labels keep their texts
    };
    for (const auto& r : rows) {
        const ScaleLayout s = ScaleSet(r.cycle, r.high, r.low, r.div, r.span);
        const std::string at = std::to_string(r.high) + "/" + std::to_string(r.low);
        EXPECT_EQ(join(std::vector<QString>(s.yLabels.begin(), s.yLabels.end())), r.y) << at;
        EXPECT_EQ(join(s.xLabels), r.x) << at;
        EXPECT_EQ(join(s.hLines), r.hLines) << at;
        EXPECT_EQ(join(s.vLines), "2700,5400,8100,10800,13500,16200,18900,21600,24300") << at;
    }
    // Whatever the span, the last sample on screen lies one step short of the right edge.
    for (XSpan sp : {XSpan::Short, XSpan::Middle, XSpan::Long})
        EXPECT_EQ(samplesPerScreen(sp) * plotStep(sp), kChartWidth);
}

TEST(PlotY, ValuesOnTheScale)
{
    const ScaleLayout s = ScaleSet(5, 400, 0, 4, XSpan::Short);
    const struct {
        double v, prev;
        int y, yPrev;
    } rows[] = {
        {400, 400, 0, 0},       // the high end at the top
        {0, 0, 3792, 3792},     // the low end on the time axis
        {200, 200, 1900, 1900}, // the middle
        {500, 200, 1, 1900},    // above the scale: just under the top
        {-5, 100, 3792, 2850},  // below: on the axis
        {0.1, 0.1, 3792, 3792}, // within the last units above the low end
    };
    for (const auto& r : rows) {
        const PlotPoint p = plotY(r.v, r.prev, s);
        EXPECT_EQ(p.y, r.y) << r.v;
        EXPECT_EQ(p.yPrev, r.yPrev) << r.v;
    }
}

TEST(PlotY, AFlatScaleNeverDivides)
{
    const ScaleLayout s = ScaleSet(5, 100, 100, 4, XSpan::Short);
    EXPECT_EQ(s.yFactor, 0);
    EXPECT_EQ(plotY(100, 100, s).y, kChartAxisY);
    EXPECT_EQ(plotY(150, 100, s).y, 1);
    EXPECT_EQ(plotY(50, 100, s).y, kChartAxisY);
    EXPECT_FALSE(scaleUsable(100, 100));
    EXPECT_FALSE(scaleUsable(0, 400));
    EXPECT_TRUE(scaleUsable(1, 0));
}

TEST(PenTrace, ASampleOfASilentLinkIsAGapAndTheLineStartsAfreshAfterIt)
{
    // On a 0..380 scale a value v lands at y = (380 - v) * 10.
    const ScaleLayout s = ScaleSet(5, 380, 0, 4, XSpan::Long);
    PenTrace t;
    const auto at = [&](size_t pen, double v, bool silent = false) {
        const std::optional<PlotPoint> p = t.plot(pen, v, silent, s);
        return p ? std::pair(p->y, p->yPrev) : std::pair(-1, -1);
    };
    t.start();
    EXPECT_EQ(at(0, 100), std::pair(2800, 2800)); // the first sample: a point alone
    EXPECT_EQ(at(1, 200), std::pair(1800, 1800));
    EXPECT_EQ(at(0, 120), std::pair(2600, 2800)); // joined to the pen's value before
    EXPECT_EQ(at(1, 210), std::pair(1700, 1800));
    EXPECT_EQ(at(0, 130, true), std::pair(-1, -1)); // the link silent: a gap
    EXPECT_EQ(at(0, 150), std::pair(2300, 2300));   // afresh: not joined across the gap
    EXPECT_EQ(at(0, 160), std::pair(2200, 2300));
    t.start(); // a new run starts with a point whatever the last one ended with
    EXPECT_EQ(at(0, 380), std::pair(0, 0));
}
