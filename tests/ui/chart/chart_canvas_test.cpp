// A full screen drawn again from nothing (after a resize, an uncovered window) is drawn a pixel
// column at a time; its picture must be the one the samples drawn one by one give.
#include "rules/chart_scale.h"
#include "ui/chart/chart_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <random>

using namespace qmx;

namespace {

// The pens' colours as the pen files hold them (0x00BBGGRR), PV, SV, MV1, MV2.
constexpr std::array<int32_t, 4> kPenBgr{0xFF00FF, 0xC000, 0xFF, 0xFF8080};

QRgb rgbOf(int32_t bgr)
{
    return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// A whole screen at `step` units a sample: PV a slow walk with flat stretches, SV in steps, MV1
// swinging across the scale and beyond both of its ends, MV2 a saw tooth; the link silent for a
// stretch of samples from the second fifth of the screen.
std::vector<ChartCanvas::Sample> wholeScreen(const ScaleLayout& scale, int step)
{
    const int count = kChartWidth / step;
    const int gapFrom = count * 2 / 5, gapTo = gapFrom + std::max(3, count / 40);
    std::mt19937 rng(7);
    double pv = 200;
    PenTrace trace;
    trace.start();
    std::vector<ChartCanvas::Sample> out;
    for (int i = 0; i < count; ++i) {
        if (rng() % 10 < 3)
            pv = std::clamp(pv + (int(rng() % 21) - 10) / 10.0, 0.0, 400.0);
        const std::array<double, 4> v{pv, 100.0 + 50 * ((i / 2000) % 3),
                                      (i / 37) % 2 ? 450.0 : (i % 500) - 30.0, (i % 300) * 1.2};
        ChartCanvas::Sample s;
        s.x = i * step;
        for (size_t pen = 0; pen < 4; ++pen)
            if (const auto p = trace.plot(pen, v[pen], i >= gapFrom && i < gapTo, scale)) {
                s.on |= uint8_t(1u << pen);
                s.y[pen] = int16_t(p->y);
                s.yPrev[pen] = int16_t(p->yPrev);
            }
        if (s.on)
            out.push_back(s);
    }
    return out;
}

// The samples drawn one by one, each a point at its value and a line from the value before, in
// the order MV1, MV2, SV, PV.
QImage oneByOne(const std::vector<ChartCanvas::Sample>& samples, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(double(size.width()) / kChartWidth, double(size.height()) / kChartHeight);
    for (size_t pen : {2u, 3u, 1u, 0u}) {
        p.setPen(QPen(QColor(rgbOf(kPenBgr[pen])), 0));
        for (const ChartCanvas::Sample& s : samples) {
            if (!(s.on & (1u << pen)))
                continue;
            p.drawPoint(QPointF(s.x, s.y[pen]));
            if (s.yPrev[pen] != s.y[pen])
                p.drawLine(QLineF(s.x, s.yPrev[pen], s.x, s.y[pen]));
        }
    }
    return img;
}

// The pixels where one picture shows colour `c` and the other does not.
int differing(const QImage& a, const QImage& b, QRgb c)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += (a.pixel(x, y) == c) != (b.pixel(x, y) == c);
    return n;
}

} // namespace

TEST(ChartPicture, AFullScreenDrawnByColumnsIsTheOneDrawnSampleBySample)
{
    // Many samples a pixel column (X 27000), and fewer than one (X 600); the area resized between
    // two sizes and redrawn at each.
    const ScaleLayout scale = ScaleSet(1, 400, 0, 4, XSpan::Long);
    for (const int step : {1, 45}) {
        const std::vector<ChartCanvas::Sample> samples = wholeScreen(scale, step);
        ChartCanvas canvas;
        canvas.setScale(scale);
        canvas.setPenColors(kPenBgr);
        for (const ChartCanvas::Sample& s : samples)
            canvas.addSample(s);
        for (const QSize size : {QSize(910, 648), QSize(1333, 777)}) {
            canvas.resize(size);
            const QImage drawn = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(drawn.size(), size);
            const QImage expected = oneByOne(samples, size), blank = oneByOne({}, size);
            for (size_t pen = 0; pen < 4; ++pen) {
                const QRgb c = rgbOf(kPenBgr[pen]);
                EXPECT_GT(differing(expected, blank, c), size.width() / 3) << "pen " << pen;
                EXPECT_EQ(differing(expected, drawn, c), 0)
                    << "step " << step << " " << size.width() << " wide, pen " << pen;
            }
        }
    }
}
