// The chart's settings panel: the pen selection frame, the colours, the time spans and the
// buttons that open the keypad. Every change is written to the pen files at once.
#include "ui/chart/velder_chartctl.h"

#include "model/qmx_data.h"
#include "rules/chart_keypad.h"
#include "ui/chart/setting3_disp.h"
#include "ui/main_services.h"
#include "ui/sub_windows.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QGroupBox>
#include <QPointer>
#include <QPushButton>

namespace qmx {

namespace {

int32_t bgrOf(const QColor& c)
{
    return int32_t(c.red() | c.green() << 8 | c.blue() << 16);
}

QString plainNumber(double v)
{
    return QString::number(v, 'g', 15);
}

} // namespace

void Velder_ChartCtl::cmdChartsel_Click()
{
    ui::Beep();
    cmdChartsel->setEnabled(false);
    const char* const pens[4] = {"PV", "SV", "MV1", "MV2"};
    for (int i = 0; i < 4; ++i)
        cmdDev[size_t(i)]->setText(QLatin1String(pens[i]));
    for (int i = 0; i < 3; ++i)
        cmdDev[size_t(i)]->show();
    if (data_ && data_->OptSet_HeatCool == 1) {
        Label1[3]->show();
        cmdDev[3]->show();
        cmdColor[3]->show();
        cmdColor[3]->setEnabled(TraceOn[3] != 0);
        setPenButton(3);
    } else {
        Label1[3]->hide();
        cmdDev[3]->hide();
        cmdColor[3]->hide();
    }
    for (int i = 0; i < 3; ++i)
        setPenButton(i);
    if (RunState == 0) {
        frmChartsel->show();
        // The colour of a pen that is off can be chosen too, except MV2's (it follows its pen).
        for (int i = 0; i < 3; ++i)
            cmdColor[size_t(i)]->setEnabled(true);
    }
}

void Velder_ChartCtl::penToggle(int i)
{
    // Only the flag changes here; closing the frame saves it.
    TraceOn[size_t(i)] = TraceOn[size_t(i)] ? 0 : 1;
    cmdColor[size_t(i)]->setEnabled(TraceOn[size_t(i)] != 0);
    setPenButton(i);
    focusTabs();
}

void Velder_ChartCtl::cmdColor_Click(int Index)
{
    if (Index < 0 || Index > 3) {
        focusTabs();
        return;
    }
    // Code may take the panel away while the dialog waits (the program ending); the dialog then
    // goes with it, cancelled.
    const QPointer<Velder_ChartCtl> self(this);
    const QString chosen =
        ui::ColorDialog(colorFromBgr(uint32_t(settings_.PenColor[size_t(Index)])));
    if (!self)
        return;
    if (!chosen.isEmpty()) {
        settings_.PenColor[size_t(Index)] = bgrOf(QColor(chosen));
        // The button shows the new colour even while its pen is off.
        QPalette p = cmdDev[size_t(Index)]->palette();
        p.setColor(QPalette::Button, QColor(chosen));
        cmdDev[size_t(Index)]->setPalette(p);
        PenWriteGroup group(*this);
        writePens(penRecordBit(1), Index);
    }
    focusTabs();
}

void Velder_ChartCtl::cmdSelend_Click()
{
    ui::Beep();
    cmdChartsel->setEnabled(true);
    frmChartsel->hide();
    {
        PenWriteGroup group(*this);
        writePens(penRecordBit(1) | penRecordBit(6));
    }
    text_color_ref();
}

void Velder_ChartCtl::optShort_Click()
{
    settings_.ChartXMode = 0;
    PenWriteGroup group(*this);
    writePens(penRecordBit(2));
    ScaleSet();
}

void Velder_ChartCtl::optLong_Click()
{
    settings_.ChartXMode = 1;
    PenWriteGroup group(*this);
    writePens(penRecordBit(2));
    ScaleSet();
}

void Velder_ChartCtl::optMidole_Click()
{
    settings_.ChartXMode = 2;
    PenWriteGroup group(*this);
    writePens(penRecordBit(2));
    ScaleSet();
}

void Velder_ChartCtl::openKeypad(int mode, const QString& now, const QString& range)
{
    EntryMode = mode;
    QWidget* parent = services_ ? services_->mainWindow() : this;
    const auto make = [&] { return new Setting3_Disp(*this, parent); };
    Setting3_Disp* pad =
        services_
            ? services_->subWindows().open<Setting3_Disp>(QStringLiteral("Setting3_Disp"), make)
            : make();
    pad->Form_Load();
    pad->prepare(now, range);
    pad->exec();
    if (!services_)
        delete pad;
}

void Velder_ChartCtl::Cmd_SH_Click()
{
    ui::Beep();
    ScaleSH = roundScale(captionValue(lblSH->text()));
    ScaleSL = roundScale(captionValue(lblSL->text()));
    openKeypad(0, plainNumber(captionValue(lblSH->text())),
               keypadRangeText(EntryMode::ScaleHigh, ScaleSH, ScaleSL));
}

void Velder_ChartCtl::Cmd_SL_Click()
{
    ui::Beep();
    ScaleSH = roundScale(captionValue(lblSH->text()));
    ScaleSL = roundScale(captionValue(lblSL->text()));
    openKeypad(1, plainNumber(captionValue(lblSL->text())),
               keypadRangeText(EntryMode::ScaleLow, ScaleSH, ScaleSL));
}

void Velder_ChartCtl::Cmd_time_Click()
{
    ui::Beep();
    openKeypad(2, plainNumber(captionValue(lblChartitv->text())),
               keypadRangeText(EntryMode::Cycle, 0, 0));
    // Whether the keypad took a value or was cancelled, the cycle shown is saved and drawn.
    settings_.ChartItv = roundScale(captionValue(lblChartitv->text()));
    {
        PenWriteGroup group(*this);
        writePens(penRecordBit(3));
    }
    ScaleSet();
}

void Velder_ChartCtl::Cmd_Division_Click()
{
    ui::Beep();
    openKeypad(3, plainNumber(captionValue(Lbl_Y->text())),
               keypadRangeText(EntryMode::Divisions, 0, 0));
}

} // namespace qmx
