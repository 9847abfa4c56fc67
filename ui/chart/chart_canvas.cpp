#include "ui/chart/chart_canvas.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace qmx {

namespace {

const QColor kGridColor(0xC0, 0xC0, 0xC0);
// Pens are drawn MV1, MV2, SV, PV, so PV ends on top where they meet.
constexpr std::array<int, 4> kDrawOrder{2, 3, 1, 0};

QColor fromBgr(int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// The picture's pixels, written a column of rows at a time; whatever falls outside is left out.
class Pixels {
public:
    explicit Pixels(QImage& image)
        : bits_(image.bits()), stride_(image.bytesPerLine()), width_(image.width()),
          height_(image.height())
    {
    }
    void column(int x, int top, int bottom, QRgb rgb)
    {
        top = std::max(top, 0);
        bottom = std::min(bottom, height_ - 1);
        if (x < 0 || x >= width_)
            return;
        for (int y = top; y <= bottom; ++y)
            reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = rgb;
    }

private:
    uchar* bits_;
    qsizetype stride_;
    int width_, height_;
};

// The rows one pen covers in one pixel column, as runs of rows: the samples of a column usually
// join up into one run; a gap or a point that rounds away from its line can leave a few.
class ColumnRuns {
public:
    static constexpr int kNone = std::numeric_limits<int>::min();
    int x = kNone;

    void add(int top, int bottom)
    {
        for (auto& [t, b] : runs_)
            if (top <= b + 1 && bottom >= t - 1) {
                t = std::min(t, top);
                b = std::max(b, bottom);
                return;
            }
        runs_.emplace_back(top, bottom);
    }
    // Fills the column into the picture and empties it.
    void fill(Pixels& px, QRgb rgb)
    {
        for (const auto& [t, b] : runs_)
            px.column(x, t, b, rgb);
        runs_.clear();
        x = kNone;
    }

private:
    std::vector<std::pair<int, int>> runs_;
};

} // namespace

ChartCanvas::ChartCanvas(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(300, 160);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setPenColors({0xFF00FF, 0xC000, 0xFF, 0xFF8080});
}

void ChartCanvas::setScale(const ScaleLayout& scale)
{
    scale_ = scale;
    hasScale_ = true;
    invalidate();
}

void ChartCanvas::clearPlot()
{
    samples_.clear();
    samples_.shrink_to_fit();
    invalidate();
}

void ChartCanvas::setPenColors(const std::array<int32_t, 4>& bgr)
{
    for (size_t i = 0; i < 4; ++i)
        penColor_[i] = fromBgr(bgr[i]);
}

void ChartCanvas::invalidate()
{
    cacheValid_ = false;
    update();
}

void ChartCanvas::resizeEvent(QResizeEvent*)
{
    invalidate();
}

static QTransform userSpace(const QSize& size)
{
    QTransform t;
    t.scale(double(size.width()) / kChartWidth, double(size.height()) / kChartHeight);
    return t;
}

void ChartCanvas::drawSamples(QPainter& p, const Sample* from, const Sample* to)
{
    // A sample's line stands at its own x, from the previous value's height to the new one, and
    // its point at the new height.
    std::vector<QLineF> lines;
    std::vector<QPointF> points;
    for (int pen : kDrawOrder) {
        lines.clear();
        points.clear();
        for (const Sample* s = from; s != to; ++s) {
            if (!(s->on & (1u << pen)))
                continue;
            points.emplace_back(s->x, s->y[size_t(pen)]);
            if (s->yPrev[size_t(pen)] != s->y[size_t(pen)])
                lines.emplace_back(s->x, s->yPrev[size_t(pen)], s->x, s->y[size_t(pen)]);
        }
        QPen pn(penColor_[size_t(pen)], 0);
        p.setPen(pn);
        if (!points.empty())
            p.drawPoints(points.data(), int(points.size()));
        if (!lines.empty())
            p.drawLines(lines.data(), int(lines.size()));
    }
}

void ChartCanvas::drawColumns()
{
    // A full screen holds up to 27000 samples a pen in a few hundred pixel columns. Drawn one by
    // one, the painter puts each sample's line into the pixel column its x falls in, covering the
    // rows its two ends fall in, and its point into the nearest pixel. Here each pen's pixels are
    // gathered column by column by the same rule and filled once: the same picture, however many
    // samples share a column. A line never joins a sample to one that was not plotted (a gap), so
    // neither do the columns.
    const qreal dpr = cache_.devicePixelRatio();
    const QTransform t = userSpace(size());
    const double sx = t.m11() * dpr;
    const double sy = t.m22() * dpr;
    Pixels px(cache_);
    ColumnRuns here, next; // the column of the current sample's line, and the one right of it
    for (int pen : kDrawOrder) {
        const QRgb rgb = penColor_[size_t(pen)].rgb();
        for (const Sample& s : samples_) {
            if (!(s.on & (1u << pen)))
                continue;
            const double x = s.x * sx;
            const int lineX = int(std::floor(x));
            if (lineX != here.x) {
                // The columns left of this sample have all their lines and points.
                here.fill(px, rgb);
                std::swap(here, next);
                if (here.x != lineX) {
                    here.fill(px, rgb);
                    here.x = lineX;
                }
            }
            const double y = s.y[size_t(pen)] * sy;
            if (s.yPrev[size_t(pen)] != s.y[size_t(pen)]) {
                const double yPrev = s.yPrev[size_t(pen)] * sy;
                here.add(int(std::floor(std::min(y, yPrev))), int(std::floor(std::max(y, yPrev))));
            }
            const int pointX = int(std::lround(x));
            const int pointY = int(std::lround(y));
            ColumnRuns& c = pointX == lineX ? here : next;
            c.x = pointX;
            c.add(pointY, pointY);
        }
        here.fill(px, rgb);
        next.fill(px, rgb);
    }
}

void ChartCanvas::rebuild()
{
    const qreal dpr = devicePixelRatioF();
    cache_ = QImage(size() * dpr, QImage::Format_RGB32);
    cache_.setDevicePixelRatio(dpr);
    cache_.fill(Qt::white);
    if (hasScale_) {
        QPainter p(&cache_);
        p.setTransform(userSpace(size()));
        p.setPen(QPen(kGridColor, 0));
        for (int y : scale_.hLines)
            p.drawLine(QLineF(0, y, kChartWidth, y));
        for (int x : scale_.vLines)
            p.drawLine(QLineF(x, 0, x, kChartGridBottom));
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(QLineF(0, kChartAxisY, kChartWidth, kChartAxisY));
        p.drawLine(QLineF(kChartBorderX, 0, kChartBorderX, kChartGridBottom));
    }
    drawColumns();
    cacheValid_ = true;
}

QRect ChartCanvas::deviceRect(const Sample& s) const
{
    int lo = kChartHeight;
    int hi = 0;
    for (int pen = 0; pen < 4; ++pen)
        if (s.on & (1u << pen)) {
            lo = std::min({lo, int(s.y[size_t(pen)]), int(s.yPrev[size_t(pen)])});
            hi = std::max({hi, int(s.y[size_t(pen)]), int(s.yPrev[size_t(pen)])});
        }
    const QRect r = userSpace(size()).mapRect(QRectF(s.x, lo, 1, hi - lo + 1)).toAlignedRect();
    return r.adjusted(-2, -2, 2, 2);
}

void ChartCanvas::addSample(const Sample& s)
{
    samples_.push_back(s);
    if (!cacheValid_ || cache_.isNull()) {
        update();
        return;
    }
    QPainter p(&cache_);
    p.setTransform(userSpace(size()));
    drawSamples(p, &samples_.back(), &samples_.back() + 1);
    update(deviceRect(s));
}

void ChartCanvas::paintEvent(QPaintEvent* e)
{
    if (!cacheValid_ || cache_.size() != size() * devicePixelRatioF())
        rebuild();
    QPainter p(this);
    p.drawImage(
        e->rect(), cache_,
        QRectF(e->rect().topLeft() * devicePixelRatioF(), e->rect().size() * devicePixelRatioF()));
}

} // namespace qmx
