#include "ui/chart/chart_canvas.h"

#include <QPaintEvent>
#include <QPainter>

namespace qmx {

namespace {

const QColor kGridColor(0xC0, 0xC0, 0xC0);
// Pens are drawn MV1, MV2, SV, PV, so PV ends on top where they meet.
constexpr std::array<int, 4> kDrawOrder{2, 3, 1, 0};

QColor fromBgr(int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

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
    // A sample's line stands at its own x, from the previous value's height to the new one; one
    // batch per pen keeps a replay of a full screen quick.
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

void ChartCanvas::rebuild()
{
    const qreal dpr = devicePixelRatioF();
    cache_ = QPixmap(size() * dpr);
    cache_.setDevicePixelRatio(dpr);
    cache_.fill(Qt::white);
    QPainter p(&cache_);
    p.setTransform(userSpace(size()));
    if (hasScale_) {
        p.setPen(QPen(kGridColor, 0));
        for (int y : scale_.hLines)
            p.drawLine(QLineF(0, y, kChartWidth, y));
        for (int x : scale_.vLines)
            p.drawLine(QLineF(x, 0, x, kChartGridBottom));
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(QLineF(0, kChartAxisY, kChartWidth, kChartAxisY));
        p.drawLine(QLineF(kChartBorderX, 0, kChartBorderX, kChartGridBottom));
    }
    drawSamples(p, samples_.data(), samples_.data() + samples_.size());
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
    p.drawPixmap(
        e->rect(), cache_,
        QRectF(e->rect().topLeft() * devicePixelRatioF(), e->rect().size() * devicePixelRatioF()));
}

} // namespace qmx
