#include "rules/chart_scale.h"

#include <algorithm>
#include <cmath>

namespace qmx {

double captionValue(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    QString number;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        number += text.at(i++);
    bool point = false;
    bool digits = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            digits = true;
            number += c;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            number += c;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

int roundScale(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::clamp(std::nearbyint(v), -32768.0, 32767.0));
}

namespace {

// A drawing coordinate from a computed value; far-off values are held near the area so that the
// conversion never overflows (the drawing clips them anyway).
int coordinate(double v)
{
    if (!std::isfinite(v))
        return kChartAxisY;
    return int(std::lround(std::clamp(v, -32000.0, 32000.0)));
}

} // namespace

ScaleLayout ScaleSet(double cycle, double high, double low, double divisions, XSpan span)
{
    ScaleLayout s;
    s.yHigh = roundScale(high);
    s.yLow = roundScale(low);
    s.yFactor = double(s.yHigh - s.yLow) / kChartHeight;

    s.yLabels[0] = QString::number(s.yHigh);
    s.yLabels[1] = QString::number(double(s.yHigh - s.yLow) / 2 + s.yLow, 'g', 15);
    s.yLabels[2] = QString::number(s.yLow);

    // A division count below 2 draws no line rather than dividing by nothing; an absurd count is
    // held to one line per drawing unit.
    const int d = std::clamp(roundScale(divisions), 1, kChartHeight);
    const int step = int(std::nearbyint(double(kChartHeight) / d));
    for (int k = 1; k < d; ++k)
        s.hLines.push_back(k * step);

    for (int x = kChartWidth / 10; x < kChartWidth; x += kChartWidth / 10)
        s.vLines.push_back(x);

    int divisor = 0;
    switch (span) {
    case XSpan::Short:
        divisor = 27000;
        break;
    case XSpan::Middle:
        divisor = 1800;
        break;
    case XSpan::Long:
        divisor = 600;
        break;
    case XSpan::None:
        break;
    }
    if (divisor != 0)
        for (int i = 0; i <= 10; ++i) {
            const double minutes = double(i) * 27000 / divisor * cycle;
            s.xLabels.push_back(
                QString::number(std::isfinite(minutes) ? std::nearbyint(minutes) : 0.0, 'f', 0));
        }
    return s;
}

int plotStep(XSpan span)
{
    switch (span) {
    case XSpan::Short:
        return 45;
    case XSpan::Middle:
        return 3;
    case XSpan::Long:
    case XSpan::None:
        break;
    }
    return 1;
}

int samplesPerScreen(XSpan span)
{
    return kChartWidth / plotStep(span);
}

bool scaleUsable(int yHigh, int yLow)
{
    return yHigh > yLow;
}

PlotPoint plotY(double value, double previous, const ScaleLayout& scale)
{
    // On a flat scale (high equal to low) every value in range sits on the time axis.
    const auto at = [&](double v) {
        return scale.yFactor > 0 ? (scale.yHigh - v) / scale.yFactor : double(kChartAxisY);
    };
    // Heights that fall in the last units above the bottom edge are drawn on the time axis.
    const auto onScreen = [](double y) {
        return y > kChartHeight - 1 ? kChartAxisY : coordinate(y);
    };
    PlotPoint p;
    if (value > scale.yHigh) {
        p.y = 1;
        p.yPrev = coordinate(at(previous));
    } else if (value < scale.yLow) {
        p.y = kChartAxisY;
        p.yPrev = coordinate(at(previous));
    } else {
        p.y = onScreen(at(value));
        p.yPrev = onScreen(at(previous));
    }
    return p;
}

void PenTrace::start()
{
    previous_.fill(std::nullopt);
}

std::optional<PlotPoint> PenTrace::plot(size_t pen, double value, bool silent,
                                        const ScaleLayout& scale)
{
    std::optional<double>& previous = previous_.at(pen);
    if (silent) {
        previous.reset();
        return std::nullopt;
    }
    const PlotPoint p = plotY(value, previous.value_or(value), scale);
    previous = value;
    return p;
}

} // namespace qmx
