#include "rules/chart_scale.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace qmx;

namespace {

std::string join(const std::vector<QString>& v)
{
    QStringList l(v.begin(), v.end());
    return l.join(QLatin1Char(',')).toStdString();
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
        {"", 0},        {"400", 400}, {"-200", -200},   {" 5", 5},      {"5 Sec", 5},
        {"12.5", 12.5}, {"abc", 0},   {"-", 0},         {"1.2.3", 1.2}, {"+7", 7},
        {"----", 0},    {"3x", 3},    {"  -0.5", -0.5},
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(captionValue(QString::fromUtf8(r.text)), r.want) << r.text;
}

TEST(ScaleSet, YLabelsAndFactor)
{
    const struct {
        double high, low;
        const char* top;
        const char* mid;
        const char* bottom;
    } rows[] = {
        {400, 0, "400", "200", "0"},
        {401, 0, "401", "200.5", "0"},
        {100, -50, "100", "25", "-50"},
        {10000, -2000, "10000", "4000", "-2000"},
        {0.5, 0, "0", "0", "0"},
        {1.5, -1.5, "2", "0", "-2"}, // halves to even
        {-100, -101, "-100", "-100.5", "-101"},
    };
    for (const auto& r : rows) {
        const ScaleLayout s = ScaleSet(5, r.high, r.low, 4, XSpan::Middle);
        EXPECT_EQ(s.yLabels[0].toStdString(), r.top) << r.high << "/" << r.low;
        EXPECT_EQ(s.yLabels[1].toStdString(), r.mid) << r.high << "/" << r.low;
        EXPECT_EQ(s.yLabels[2].toStdString(), r.bottom) << r.high << "/" << r.low;
        EXPECT_DOUBLE_EQ(s.yFactor, double(s.yHigh - s.yLow) / 3800);
    }
}

TEST(ScaleSet, HorizontalGridByDivisions)
{
    const struct {
        double divisions;
        const char* lines;
    } rows[] = {
        {4, "950,1900,2850"},
        {10, "380,760,1140,1520,1900,2280,2660,3040,3420"},
        {3, "1267,2534"},
        {7, "543,1086,1629,2172,2715,3258"},
        {2, "1900"},
        {1, ""},
        {0, ""}, // never divides by nothing
        {-3, ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(join(ScaleSet(5, 400, 0, r.divisions, XSpan::Short).hLines), r.lines)
            << r.divisions;
}

TEST(ScaleSet, VerticalGridAndTimeLabels)
{
    const ScaleLayout any = ScaleSet(5, 400, 0, 4, XSpan::Short);
    EXPECT_EQ(join(any.vLines), "2700,5400,8100,10800,13500,16200,18900,21600,24300");

    const struct {
        double cycle;
        XSpan span;
        const char* labels;
    } rows[] = {
        {5, XSpan::Short, "0,5,10,15,20,25,30,35,40,45,50"},
        {5, XSpan::Middle, "0,75,150,225,300,375,450,525,600,675,750"},
        {5, XSpan::Long, "0,225,450,675,900,1125,1350,1575,1800,2025,2250"},
        {1, XSpan::Short, "0,1,2,3,4,5,6,7,8,9,10"},
        {60, XSpan::Long, "0,2700,5400,8100,10800,13500,16200,18900,21600,24300,27000"},
        {0, XSpan::Middle, "0,0,0,0,0,0,0,0,0,0,0"},
        {5, XSpan::None, ""}, // the labels keep their texts
    };
    for (const auto& r : rows)
        EXPECT_EQ(join(ScaleSet(r.cycle, 400, 0, 4, r.span).xLabels), r.labels)
            << r.cycle << "/" << int(r.span);
}

TEST(ChartSpan, StepsFillTheScreen)
{
    // Whatever the span, the last sample on screen lies one step short of the right edge.
    for (XSpan s : {XSpan::Short, XSpan::Middle, XSpan::Long})
        EXPECT_EQ(samplesPerScreen(s) * plotStep(s), kChartWidth);
    EXPECT_EQ(samplesPerScreen(XSpan::Short), 600);
    EXPECT_EQ(samplesPerScreen(XSpan::Middle), 9000);
    EXPECT_EQ(samplesPerScreen(XSpan::Long), 27000);
}

TEST(PlotY, ValuesOnTheScale)
{
    const ScaleLayout s = ScaleSet(5, 400, 0, 4, XSpan::Short);
    const struct {
        double v, prev;
        int y, yPrev;
    } rows[] = {
        {400, 400, 0, 0},                               // the high end at the top
        {0, 0, 3792, 3792},                             // the low end on the time axis
        {200, 200, 1900, 1900},                         // the middle
        {500, 200, 1, 1900},                            // above the scale: just under the top
        {-5, 100, 3792, 2850},                          // below: on the axis
        {100, 300, 2850, 950},  {0.1, 0.1, 3792, 3792}, // within the last units above the low end
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
