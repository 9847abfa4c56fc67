// A full screen drawn again from nothing (after a resize, an uncovered window) is drawn a pixel
// column at a time; its picture must be the one the samples drawn one by one give.
#include "rules/chart_scale.h"
#include "ui/chart/chart_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>

using namespace qmx;

namespace {

// The pens' colours unless the pen files say otherwise: PV, SV, MV1, MV2.
const std::array<QRgb, 4> kPen{qRgb(255, 0, 255), qRgb(0, 192, 0), qRgb(255, 0, 0),
                               qRgb(128, 128, 255)};

// A whole screen at `step` units a sample: PV a slow swing, SV in steps, MV1 swinging across the
// scale and beyond both of its ends, MV2 a saw tooth; the link silent for a stretch mid-screen.
std::vector<ChartCanvas::Sample> wholeScreen(const ScaleLayout& scale, int step)
{
    const int count = kChartWidth / step;
    PenTrace trace;
    trace.start();
    std::vector<ChartCanvas::Sample> out;
    for (int i = 0; i < count; ++i) {
        const std::array<double, 4> v{200 + 150 * std::sin(i / 900.0),
                                      100.0 + 50 * ((i / 2000) % 3),
                                      (i / 37) % 2 ? 450.0 : (i % 500) - 30.0, (i % 300) * 1.2};
        const bool silent = i >= count / 2 && i < count / 2 + 3 + count / 40;
        ChartCanvas::Sample s;
        s.x = i * step;
        for (size_t pen = 0; pen < 4; ++pen)
            if (const auto p = trace.plot(pen, v[pen], silent, scale)) {
                s.on |= uint8_t(1u << pen);
                s.y[pen] = int16_t(p->y);
                s.yPrev[pen] = int16_t(p->yPrev);
            }
        if (s.on)
            out.push_back(s);
    }
    return out;
}

// Each sample drawn alone: a point at its value, a line from the value before; MV1, MV2, SV, PV.
QImage oneByOne(const std::vector<ChartCanvas::Sample>& samples, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(double(size.width()) / kChartWidth, double(size.height()) / kChartHeight);
    for (size_t pen : {2u, 3u, 1u, 0u}) {
        p.setPen(QPen(QColor(kPen[pen]), 0));
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

} // namespace

TEST(ChartPicture, AFullScreenDrawnByColumnsIsTheOneDrawnSampleBySample)
{
    // Many samples a pixel column (X 27000), and fewer than one (X 600); redrawn at each size.
    const ScaleLayout scale = ScaleSet(1, 400, 0, 4, XSpan::Long);
    for (const int step : {1, 45}) {
        const std::vector<ChartCanvas::Sample> samples = wholeScreen(scale, step);
        ChartCanvas canvas;
        canvas.setScale(scale);
        for (const ChartCanvas::Sample& s : samples)
            canvas.addSample(s);
        for (const QSize size : {QSize(910, 648), QSize(1333, 777)}) {
            canvas.resize(size);
            const QImage drawn = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(drawn.size(), size);
            const QImage expected = oneByOne(samples, size), blank = oneByOne({}, size);
            // The pixels of each pen's colour, in each picture.
            const auto in = [](const QImage& img, QRgb c) { return img.createMaskFromColor(c); };
            for (size_t pen = 0; pen < 4; ++pen) {
                EXPECT_NE(in(expected, kPen[pen]), in(blank, kPen[pen])) << "pen " << pen;
                EXPECT_TRUE(in(drawn, kPen[pen]) == in(expected, kPen[pen]))
                    << "step " << step << " " << size.width() << " wide, pen " << pen;
            }
        }
    }
}
