// The trend chart's scales: what the empty chart shows for the settings on its panel. The drawing
// area is a fixed 27000 x 3800 user space, origin top left, y downwards; the scale high lies at
// y = 0 and the scale low at y = 3800.
#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace qmx {

inline constexpr int kChartWidth = 27000;
inline constexpr int kChartHeight = 3800;
// The time axis is drawn a little above the bottom edge; values at or under the low end sit on it.
inline constexpr int kChartAxisY = 3792;
inline constexpr int kChartBorderX = 26976;
// Grid lines are drawn a little past the bottom edge so they meet the frame.
inline constexpr int kChartGridBottom = 4000;

// The time span chosen on the panel; None when no option is selected.
enum class XSpan { None, Short, Middle, Long };

// A caption read as a number: its leading numeric part (blanks, a sign, digits, one decimal
// point); an empty or non-numeric text reads as 0.
double captionValue(const QString& text);

// The scale drawn by ScaleSet.
struct ScaleLayout {
    int yHigh = 0;
    int yLow = 0;
    // Value units per drawing unit; 0 when high equals low.
    double yFactor = 0;
    // lblYscal(0) top, (1) middle, (2) bottom.
    std::array<QString, 3> yLabels;
    // Horizontal grid lines, y of each, top to bottom.
    std::vector<int> hLines;
    // Vertical grid lines, x of each, left to right.
    std::vector<int> vLines;
    // lblXscal(0..10), minutes from the start of the screen; empty when no span is selected (the
    // labels keep their texts).
    std::vector<QString> xLabels;
};

// The scale for the recording cycle `cycle` (seconds), the Y high and low, the number of Y
// divisions and the time span, each as read from its caption.
ScaleLayout ScaleSet(double cycle, double high, double low, double divisions, XSpan span);

// A whole number as ScaleSet rounds it: to the nearest, halves to even, kept in 16 bits.
int roundScale(double v);

// X step per sample and samples per screen of each span.
int plotStep(XSpan span);
int samplesPerScreen(XSpan span);

// Where one pen's sample lands: `value` now, `previous` the pen's value at the sample before (the
// same value for the first sample). The line joins yPrev to y at the sample's x.
struct PlotPoint {
    int y = 0;
    int yPrev = 0;
};
PlotPoint plotY(double value, double previous, const ScaleLayout& scale);

// Each pen's line through the samples of one run. A sample joins a pen's value to the one it had
// at the sample before; the first sample of a run has none and is a point alone. A sample taken
// while the main window shows the communication error holds no measured value (the texts handed
// in are the last ones that came before the controller fell silent): it plots nothing, and the
// sample after it starts the line afresh with a point, so the line never bridges the silence.
class PenTrace {
public:
    // A new run.
    void start();
    // Where pen `pen`'s sample at `value` lands; nothing for a sample taken while `silent`.
    std::optional<PlotPoint> plot(size_t pen, double value, bool silent, const ScaleLayout& scale);

private:
    std::array<std::optional<double>, 4> previous_{};
};

// A run can plot only on a scale whose high lies above its low.
bool scaleUsable(int yHigh, int yLow);

} // namespace qmx
