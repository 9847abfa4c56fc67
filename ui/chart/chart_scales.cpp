// The chart's public routines ScaleSet, text_color_ref, color_set and auto_run, and the writes of
// its pen files.
#include "ui/chart/velder_chartctl.h"

#include "model/string_table.h"
#include "ui/chart/chart_canvas.h"
#include "ui/main_services.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>

namespace qmx {

void Velder_ChartCtl::setTextColor(QLabel* l, int32_t bgr)
{
    const QColor c = colorFromBgr(uint32_t(bgr));
    if (l->palette().color(QPalette::WindowText) == c)
        return;
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, c);
    l->setPalette(p);
}

XSpan Velder_ChartCtl::span() const
{
    if (optShort->isChecked())
        return XSpan::Short;
    if (optMidole->isChecked())
        return XSpan::Middle;
    if (optLong->isChecked())
        return XSpan::Long;
    return XSpan::None;
}

void Velder_ChartCtl::setOption(QRadioButton* opt, bool on)
{
    if (opt->isChecked() == on)
        return;
    opt->setChecked(on);
    if (!on)
        return;
    for (QRadioButton* o : {optShort, optMidole, optLong})
        if (o != opt)
            o->setChecked(false);
    if (opt == optShort)
        optShort_Click();
    else if (opt == optLong)
        optLong_Click();
    else
        optMidole_Click();
}

void Velder_ChartCtl::optionClicked(QRadioButton* opt)
{
    // A click on the selected option leaves it selected and runs nothing.
    if (!opt->isChecked()) {
        opt->setChecked(true);
        return;
    }
    opt->setChecked(false);
    setOption(opt, true);
}

void Velder_ChartCtl::ScaleSet()
{
    const double cycle = captionValue(lblChartitv->text());
    setCharttime(200);
    scale_ = qmx::ScaleSet(cycle, captionValue(lblSH->text()), captionValue(lblSL->text()),
                           captionValue(Lbl_Y->text()), span());
    YHigh = int16_t(scale_.yHigh);
    YLow = int16_t(scale_.yLow);
    for (size_t i = 0; i < 3; ++i)
        lblYscal[i]->setText(scale_.yLabels[i]);
    for (size_t i = 0; i < scale_.xLabels.size() && i <= 10; ++i)
        lblXscal[i]->setText(scale_.xLabels[i]);
    picCanbus->setScale(scale_);
}

void Velder_ChartCtl::setPenButton(int i)
{
    QPushButton* b = cmdDev[size_t(i)];
    const QColor c = TraceOn[size_t(i)] ? colorFromBgr(uint32_t(settings_.PenColor[size_t(i)]))
                                        : QApplication::palette(b).color(QPalette::Button);
    QPalette p = b->palette();
    p.setColor(QPalette::Button, c);
    b->setPalette(p);
}

void Velder_ChartCtl::text_color_ref()
{
    const std::array<QLabel*, 4> labels{lblPv, lblSv, lblMv1, lblMv2};
    for (size_t i = 0; i < 4; ++i)
        if (TraceOn[i] != 0)
            setTextColor(labels[i], settings_.PenColor[i]);
}

void Velder_ChartCtl::color_set()
{
    for (int n = 0; n < kPenCount; ++n) {
        const QString path = penFilePath(folder_, n);
        const PenFileRead f = readPenFile(path);
        // A file that cannot be read keeps the flag start-up gave the pen (its default when
        // start-up could not read it either).
        const auto& rec = f.records[5];
        TraceOn[size_t(n)] = int16_t(rec ? *rec : settings_.PenOn[size_t(n)]);
        if (f.status == PenFileRead::Status::Unreadable)
            reportPenError(path, f.error);
    }
    for (int i = 0; i < kPenCount; ++i)
        setPenButton(i);
    text_color_ref();
}

void Velder_ChartCtl::auto_run()
{
    // The same as the operator's click, refusals included.
    if (RunState == 1)
        cmdStop_Click();
    else
        cmdRUN_Click();
}

void Velder_ChartCtl::focusTabs()
{
    if (services_)
        services_->focusTabs();
}

bool Velder_ChartCtl::writePens(unsigned mask, int onlyPen)
{
    bool ok = true;
    for (int pen = 0; pen < kPenCount; ++pen) {
        if (onlyPen >= 0 && pen != onlyPen)
            continue;
        const QString path = penFilePath(folder_, pen);
        QString why;
        if (!writePenRecords(path, penRecords(settings_, pen, TraceOn[size_t(pen)], RunState), mask,
                             &why)) {
            reportPenError(path, why);
            ok = false;
        }
    }
    return ok;
}

void Velder_ChartCtl::reportPenError(const QString& path, const QString& why)
{
    const QString text = QDir::toNativeSeparators(path) + QLatin1Char('\n') + why;
    if (penGroupDepth_ > 0) {
        // The settings stay in force in memory; the operator hears of it once.
        if (penError_.isEmpty())
            penError_ = text;
        return;
    }
    ui::MsgBox(text, ui::Buttons::OK, ui::Icon::Exclamation);
}

Velder_ChartCtl::PenWriteGroup::PenWriteGroup(Velder_ChartCtl& c) : c_(c)
{
    ++c_.penGroupDepth_;
}

Velder_ChartCtl::PenWriteGroup::~PenWriteGroup()
{
    if (--c_.penGroupDepth_ > 0 || c_.penError_.isEmpty())
        return;
    const QString text = c_.penError_;
    c_.penError_.clear();
    ui::MsgBox(text, ui::Buttons::OK, ui::Icon::Exclamation);
}

} // namespace qmx
