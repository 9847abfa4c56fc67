// Benchmark, not a test: what the trace page costs on a 1280x800 main window, offscreen unless
// QT_QPA_PLATFORM says otherwise.
//   qmx_chart_bench [ROUNDS] [--shot PREFIX]
// --shot: the run below has a stretch of silence (the communication error shown for 600 samples)
// and the window is saved as PREFIX-samples.png as the run drew it, sample by sample, and as
// PREFIX-columns.png drawn again from nothing, column by column; its figures are not the bench's.
// caption: one live PV text handed to the chart and painted (monitoring does this 20 times a
//          second), and how often the plotting area was repainted meanwhile (it should not be);
// repaint: the plotting area redrawn from nothing (grid, axes) and painted, as after a resize;
// sample:  one sample plotted onto the cached picture and painted;
// replay:  a full screen of 27000 samples drawn again from nothing, as after a resize, beside its
//          floor: a plain widget of the plotting area's size that paints one QPainter polyline
//          per pen through the same points, redrawn in turn with it;
// tick:    one tick of a run that samples (the pens plotted and the log row appended and flushed),
//          over a whole long-span run of 27000 samples at a one-second cycle on a clock handed in;
// resize:  the window resized with that run on screen, until painted.
#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "rules/chart_scale.h"
#include "ui/chart/chart_canvas.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/main/main_disp.h"
#include "ui/ui_seam.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The floor of a full redraw: the same points, one plain polyline per pen, nothing cached.
class PolylineFloor : public QWidget {
public:
    std::array<std::vector<QPointF>, 4> pens;
    std::array<QColor, 4> colors;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.scale(double(width()) / qmx::kChartWidth, double(height()) / qmx::kChartHeight);
        for (size_t i = 0; i < pens.size(); ++i) {
            p.setPen(QPen(colors[i], 0));
            p.drawPolyline(pens[i].data(), int(pens[i].size()));
        }
    }
};

struct Stats {
    double median, p99, max;
};

Stats stats(std::vector<double> us)
{
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 99 / 100], us.back()};
}

void print(const char* name, const std::vector<double>& us)
{
    const Stats s = stats(us);
    std::printf("{\"what\":\"%s\",\"n\":%zu,\"median_us\":%.1f,\"p99_us\":%.1f,\"max_us\":%.1f}\n",
                name, us.size(), s.median, s.p99, s.max);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString shot;
    if (const qsizetype i = args.indexOf(QStringLiteral("--shot")); i >= 0 && i + 1 < args.size()) {
        shot = args.at(i + 1);
        args.remove(i, 2);
    }
    const int rounds = args.isEmpty() ? 2000 : std::max(20, args.first().toInt());
    QDir().mkpath(qmx::programFolder());

    qmx::QmxData d;
    d.Set_Defaults();
    d.OptSet_HeatCool = 1;
    qmx::MainDisp w(d);
    w.system_init();
    w.SSTab1->setCurrentIndex(1);
    w.resize(1280, 800);
    w.show();
    QApplication::processEvents();
    qmx::Velder_ChartCtl& chart = *w.Velder_ChartCtl1;
    qmx::ChartCanvas& canvas = *chart.canvas();
    std::printf("{\"window\":\"%dx%d\",\"plot\":\"%dx%d\"}\n", w.width(), w.height(),
                canvas.width(), canvas.height());

    PaintCounter counter;
    canvas.installEventFilter(&counter);
    std::vector<double> us;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        chart.setPv0Caption(QString::number(100.0 + (i % 500) / 10.0, 'f', 1));
        QApplication::processEvents();
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    print("caption", us);
    us.clear();
    for (int i = 0; i < rounds / 4; ++i) {
        QElapsedTimer t;
        t.start();
        QApplication::processEvents();
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    print("idle event pass (no caption)", us);
    std::printf("{\"what\":\"plot repaints during the caption updates\",\"n\":%d}\n",
                counter.paints);

    us.clear();
    for (int i = 0; i < std::max(20, rounds / 20); ++i) {
        QElapsedTimer t;
        t.start();
        canvas.invalidate();
        canvas.repaint();
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    print("repaint", us);

    // A long-span run: one sample a step, all four pens, values swinging over the scale.
    canvas.clearPlot();
    canvas.repaint();
    us.clear();
    const qmx::ScaleLayout& scale = chart.scale();
    double prev[4] = {200, 150, 50, 20};
    for (int x = 0; x < qmx::kChartWidth; ++x) {
        qmx::ChartCanvas::Sample s;
        s.x = x;
        s.on = 0x0F;
        for (int p = 0; p < 4; ++p) {
            const double v = 200 + 180 * ((x * (p + 1) / 97) % 2 ? 1 : -1) * (x % 300) / 300.0;
            const qmx::PlotPoint pt = qmx::plotY(v, prev[p], scale);
            s.y[size_t(p)] = int16_t(pt.y);
            s.yPrev[size_t(p)] = int16_t(pt.yPrev);
            prev[p] = v;
        }
        QElapsedTimer t;
        t.start();
        canvas.addSample(s);
        if (x % 9 == 0) // about one paint per 200 ms tick of a 1 s cycle on a fast screen
            QApplication::processEvents();
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    print("sample", us);

    PolylineFloor floor;
    floor.colors = {Qt::magenta, Qt::darkGreen, Qt::red, Qt::blue};
    for (const qmx::ChartCanvas::Sample& s : canvas.samples())
        for (size_t p = 0; p < 4; ++p)
            floor.pens[p].emplace_back(s.x, s.y[p]);
    floor.setAttribute(Qt::WA_OpaquePaintEvent);
    floor.resize(canvas.size());
    floor.show();
    QApplication::processEvents();
    // In turn, so that the machine's load falls on both alike.
    us.clear();
    std::vector<double> floorUs, ratios;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer t;
        t.start();
        canvas.invalidate();
        canvas.repaint();
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
        t.start();
        floor.update();
        floor.repaint();
        floorUs.push_back(double(t.nsecsElapsed()) / 1000.0);
        ratios.push_back(us.back() / floorUs.back());
    }
    print("replay 27000", us);
    print("floor: one polyline per pen, 27000 points each", floorUs);
    std::sort(ratios.begin(), ratios.end());
    std::printf("{\"what\":\"replay / floor\",\"median\":%.3f,\"min\":%.3f,\"max\":%.3f}\n",
                stats(us).median / stats(floorUs).median, ratios.front(), ratios.back());
    std::printf("{\"what\":\"samples kept\",\"n\":%d,\"bytes\":%zu}\n", canvas.sampleCount(),
                canvas.samples().capacity() * sizeof(qmx::ChartCanvas::Sample));

    // A whole run through the chart's own tick; "Plot end" is answered by the list.
    QFile answers(data.filePath(QStringLiteral("answers.txt")));
    answers.open(QIODevice::WriteOnly);
    answers.write("OK\n");
    answers.close();
    qputenv("QMX_ANSWERS", answers.fileName().toUtf8());
    qmx::ui::resetAnswers();
    int64_t now = 0;
    chart.setClocks([&now] { return now; },
                    [&now] { return QDateTime(QDate(2026, 12, 7), QTime(8, 0)).addSecs(now); });
    d.OnLine = true;
    chart.optLong->click();
    chart.setXScaleTime(QStringLiteral("1"));
    us.clear();
    QElapsedTimer whole;
    whole.start();
    chart.cmdRUN_Click();
    chart.timChart.stop(); // the benchmark is the timer
    while (chart.isRunning()) {
        ++now;
        chart.setPv0Caption(QString::number(200 + (now % 300) * 0.5, 'f', 1));
        if (!shot.isEmpty())
            chart.setCommError(now >= 9000 && now < 9600);
        QElapsedTimer t;
        t.start();
        chart.timChart_Timer();
        if (now % 9 == 0)
            QApplication::processEvents();
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    print("tick with a sample", us);
    // A sample costs the same at the end of the screen as at its start.
    print("  the first 1000", std::vector<double>(us.begin(), us.begin() + 1000));
    print("  the last 1000", std::vector<double>(us.end() - 1000, us.end()));
    std::printf("{\"what\":\"whole run\",\"samples\":%d,\"ms\":%lld}\n", chart.samples(),
                static_cast<long long>(whole.elapsed()));

    us.clear();
    for (int i = 0; i < 6; ++i) {
        QElapsedTimer t;
        t.start();
        w.resize(i % 2 ? 1280 : 1100, i % 2 ? 800 : 700);
        QApplication::processEvents();
        canvas.repaint();
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    print("resize with 27000 samples", us);

    if (!shot.isEmpty()) {
        w.resize(1280, 800);
        QApplication::processEvents();
        canvas.repaint();
        // The run again, drawn onto the picture as it comes, then drawn again from nothing.
        const auto kept = canvas.samples();
        canvas.clearPlot();
        canvas.repaint();
        for (const qmx::ChartCanvas::Sample& s : kept)
            canvas.addSample(s);
        QApplication::processEvents();
        w.grab().save(shot + QStringLiteral("-samples.png"));
        canvas.invalidate();
        QApplication::processEvents();
        w.grab().save(shot + QStringLiteral("-columns.png"));
    }
    return 0;
}
