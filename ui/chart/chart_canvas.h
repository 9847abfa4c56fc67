// The chart's plotting area `picCanbus`: the grid and axes of the last ScaleSet and the pens'
// samples, drawn in the fixed 27000 x 3800 user space scaled to the widget. Everything is drawn
// into a cached picture: the grid once per resize or scale change, each new sample on top of it as
// it comes, so a sample costs the same whether it is the first or the 27000th, and painting the
// widget only copies the picture. A redraw from nothing (a resize, a new scale) draws each pen one
// pixel column at a time, however many samples fall into it.
#pragma once

#include "rules/chart_scale.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

namespace qmx {

class ChartCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ChartCanvas(QWidget* parent = nullptr);

    // The grid and axes of `scale`, drawn over what is shown.
    void setScale(const ScaleLayout& scale);
    // Removes every plotted sample.
    void clearPlot();
    // The colours the pens plot in from now on (0x00BBGGRR), PV, SV, MV1, MV2.
    void setPenColors(const std::array<int32_t, 4>& bgr);

    // One sample at `x`: for each pen in `on`, a point at y and a line up from yPrev.
    struct Sample {
        int32_t x = 0;
        uint8_t on = 0; // bit i: pen i plotted
        std::array<int16_t, 4> y{};
        std::array<int16_t, 4> yPrev{};
    };
    void addSample(const Sample& s);
    int sampleCount() const { return int(samples_.size()); }
    const std::vector<Sample>& samples() const { return samples_; }

    // Drops the cached picture, as a resize does (the benchmark's full repaint).
    void invalidate();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void rebuild();
    void drawSamples(QPainter& p, const Sample* from, const Sample* to);
    void drawColumns();
    QRect deviceRect(const Sample& s) const;

    ScaleLayout scale_;
    bool hasScale_ = false;
    std::array<QColor, 4> penColor_;
    std::vector<Sample> samples_;
    QImage cache_;
    bool cacheValid_ = false;
};

} // namespace qmx
