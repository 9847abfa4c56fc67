// Trend recording: start and stop, the 200 ms tick with its once-per-cycle sampling, the plotting
// of each pen, the end of the screen, and the data log of every sample.
#include "ui/chart/velder_chartctl.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/chart/chart_canvas.h"
#include "ui/main_services.h"
#include "ui/ui_seam.h"

#include <QDir>
#include <QGroupBox>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include <chrono>

namespace qmx {

namespace {

// The controller reports the heating/cooling option (MV2 exists) in bit 0x40 of its option word.
constexpr int kHeatCoolBit = 0x40;

int64_t steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

void Velder_ChartCtl::setClocks(SecondsClock seconds, WallClock wall)
{
    seconds_ = std::move(seconds);
    wall_ = std::move(wall);
}

int Velder_ChartCtl::samples() const
{
    return picCanbus->sampleCount();
}

void Velder_ChartCtl::setStatus(int panel, const QString& text)
{
    if (services_)
        services_->setStatusPanel(panel, text);
}

void Velder_ChartCtl::setTraceMark(bool on)
{
    if (services_ && services_->traceChecked() != on)
        services_->setTraceChecked(on);
}

void Velder_ChartCtl::lockSettings(bool lock)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             frmXScale, optShort, optLong, optMidole, lblChartSpeed, lblSec, lblChartitv, Cmd_time,
             frmYScale, lblHi, lblLo, Cmd_SH, Cmd_SL, lblSH, lblSL, Lbl_Y, Cmd_Division, Label2,
             frmChartsel})
        w->setEnabled(!lock);
    // The button opens the pen frame: while the frame is open it stays off, whatever the run does.
    cmdChartsel->setEnabled(!lock && frmChartsel->isHidden());
}

void Velder_ChartCtl::cmdRUN_Click()
{
    if (!data_ || !data_->OnLine) {
        ui::MsgBox(LoadResString(159), ui::Buttons::OK, ui::Icon::None);
        focusTabs();
        return;
    }
    ui::Beep();
    setTraceMark(true);
    // MV2 is traced only when the controller reports its heating/cooling option.
    if (data_->OptionBits() & kHeatCoolBit)
        TraceOn[3] = TraceOn[3] != 0 ? 1 : 0;
    else
        TraceOn[3] = 0;
    RunState = 0;
    if (TraceOn[0] + TraceOn[1] + TraceOn[2] + TraceOn[3] == 0) {
        ui::MsgBox(LoadResString(714), ui::Buttons::OK, ui::Icon::None);
        setTraceMark(false);
        focusTabs();
        return;
    }
    // A scale whose high is not above its low has nothing to plot on (a damaged caption).
    if (!scaleUsable(roundScale(captionValue(lblSH->text())),
                     roundScale(captionValue(lblSL->text())))) {
        ui::MsgBox(LoadResString(554), ui::Buttons::OK, ui::Icon::None);
        setTraceMark(false);
        focusTabs();
        return;
    }
    RunState = 1;
    {
        PenWriteGroup group(*this);
        writePens(kAllPenRecords, 0);
        for (int pen = 1; pen < kPenCount; ++pen)
            writePens(penRecordBit(7), pen);
    }
    lblMsg->setText(LoadResString(92));
    setStatus(2, LoadResString(90));
    setStatus(3, LoadResString(92));

    lockSettings(true);
    picCanbus->clearPlot();
    picCanbus->setPenColors(settings_.PenColor);
    ScaleSet();

    PlotX = 0;
    SampleCount = 0;
    PlotStarted = false;
    logFailing_ = false;
    cmdRUN->setEnabled(false);
    cmdStop->setEnabled(true);
    timChart.start();
    ChartItvSec = std::clamp(roundScale(captionValue(lblChartitv->text())), 1, 60);
    focusTabs();
    timChart_Timer();
}

void Velder_ChartCtl::cmdStop_Click()
{
    ui::Beep();
    setTraceMark(false);
    if (RunState == 0) {
        focusTabs();
        return;
    }
    RunState = 0;
    PlotStarted = false;
    {
        PenWriteGroup group(*this);
        writePens(kAllPenRecords);
    }
    lblMsg->setText(LoadResString(91));
    setStatus(2, QString());
    setStatus(3, LoadResString(91));
    lockSettings(false);
    timChart.stop();
    cmdRUN->setEnabled(true);
    cmdStop->setEnabled(false);
    focusTabs();
}

int64_t Velder_ChartCtl::clockSeconds() const
{
    return seconds_ ? seconds_() : (steadyMs() - runStartMs_) / 1000;
}

void Velder_ChartCtl::Next_time_make()
{
    // The run's seconds count from the start of the clock second in which it started, so they
    // turn over with the time of day (each row's time names its own second) while never jumping
    // or wrapping with it afterwards.
    if (!seconds_)
        runStartMs_ = steadyMs() - tickTime_.time().msec();
    schedule_.start(clockSeconds(), ChartItvSec);
}

void Velder_ChartCtl::timChart_Timer()
{
    // A box raised inside a tick lets events run; the ticks meanwhile wait for it.
    if (RunState != 1 || inTick_)
        return;
    inTick_ = true;
    const struct Leave {
        bool& f;
        ~Leave() { f = false; }
    } leave{inTick_};

    // The time of day is read once a tick: the first sample's row and the run's seconds agree.
    tickTime_ = wall_ ? wall_() : QDateTime::currentDateTime();

    // However the link went down, a run does not go on plotting values that no longer come.
    if (data_ && !data_->OnLine) {
        cmdStop_Click();
        return;
    }
    if (!PlotStarted) {
        // The first tick of a run samples at once, at x = 0.
        PlotX = 0;
        SampleCount = 0;
        PlotStarted = true;
        trace_.start();
        Next_time_make();
    } else {
        if (!schedule_.tick(clockSeconds()))
            return;
        PlotX += plotStep(span());
        ++SampleCount;
    }
    // While the main window shows the communication error nobody measured the values on screen.
    const bool silent = commError_;
    if (PlotX < kChartWidth) {
        plotSample(silent);
        logSample(silent);
    } else {
        endOfScreen(silent);
    }
}

void Velder_ChartCtl::plotSample(bool silent)
{
    ChartCanvas::Sample s;
    s.x = PlotX;
    const std::array<const QString*, 4> values{&PvValue, &SvValue, &Mv1Value, &Mv2Value};
    // Pens are plotted MV1, MV2, SV, PV; the canvas keeps that order when it draws.
    for (size_t pen : {2u, 3u, 1u, 0u}) {
        if (TraceOn[pen] != 1)
            continue;
        const std::optional<PlotPoint> p =
            trace_.plot(pen, captionValue(*values[pen]), silent, scale_);
        if (!p)
            continue;
        s.on |= uint8_t(1u << pen);
        s.y[pen] = int16_t(p->y);
        s.yPrev[pen] = int16_t(p->yPrev);
    }
    if (s.on != 0)
        picCanbus->addSample(s);
}

void Velder_ChartCtl::logSample(bool silent)
{
    // One reading of the clock per row: the date and the time always belong to the same moment.
    const QDateTime now = tickTime_;
    const QString date = QLocale::system().toString(now.date(), QLocale::ShortFormat);
    const QString time = now.time().toString(QStringLiteral("HH:mm:ss"));
    const char* const names[4] = {"PV", "SV", "MV1", "MV2"};
    const std::array<QLabel*, 4> labels{lblPv, lblSv, lblMv1, lblMv2};
    QStringList pens, values;
    for (size_t i = 0; i < 4; ++i) {
        // MV2 has a column only when the screen's option set declares heating/cooling.
        const bool logged = TraceOn[i] == 1 && (i < 3 || (data_ && data_->OptSet_HeatCool == 1));
        if (!logged)
            continue;
        pens << QLatin1String(names[i]);
        // A sample of a silent link keeps its date and time, with its value fields left empty.
        values << (silent ? QString() : labels[i]->text());
    }
    const QByteArray row = logRow(date, time, values);
    bool ok = false;
    if (SampleCount == 0) {
        const QString name = Make_LogName(folder_, now);
        setStatus(2, LoadResString(90));
        ok = log_.start(
            name, logHeader(LoadResString(556), LoadResString(557), LoadResString(558), pens), row);
        Savename_text->setText(QDir::toNativeSeparators(log_.path()));
    } else {
        ok = log_.append(row);
    }
    if (ok && logFailing_) {
        logFailing_ = false;
        setStatus(2, LoadResString(90));
    } else if (!ok && !logFailing_) {
        // Told once per stretch of failures, without a box in the way of the next ticks; the
        // plot goes on and the rows of the stretch are lost. The log keeps the reason.
        logFailing_ = true;
        setStatus(2, LoadResString(555));
    }
}

void Velder_ChartCtl::endOfScreen(bool silent)
{
    // The sample that reached the right edge is logged but not plotted.
    logSample(silent);
    timChart.stop();
    PlotStarted = false;
    lblMsg->setText(LoadResString(91));
    setStatus(2, QString());
    setStatus(3, LoadResString(91));
    RunState = 0;
    {
        PenWriteGroup group(*this);
        writePens(penRecordBit(2) | penRecordBit(3) | penRecordBit(7));
    }
    lockSettings(false);
    setTraceMark(false);
    cmdRUN->setEnabled(true);
    cmdStop->setEnabled(false);
    ui::MsgBox(LoadResString(333), ui::Buttons::OK, ui::Icon::None);
    ui::Beep();
}

} // namespace qmx
