// The trend-chart control of the trace page. The main window hands it the live texts and the chart
// settings through its properties; the control shows the live values above the plotting area
// `picCanbus`, the axis labels around it and its settings panel beside it, and keeps its settings
// in the four pen files of the program folder.
//
// The control is split by subject:
//   velder_chartctl.cpp   construction and layout of the controls
//   chart_properties.cpp  the fourteen properties and the stored properties
//   chart_scales.cpp      ScaleSet, color_set, text_color_ref, auto_run and the pen-file writes
//   chart_panel.cpp       the settings panel: pens, colours, spans and the keypad buttons
//   chart_run.cpp         recording: start, stop, the sampling tick, plotting and the data log
//   chart_canvas.*        the plotting area
//   setting3_disp.*       the keypad
#pragma once

#include "files/pen_files.h"
#include "files/trend_log.h"
#include "rules/chart_scale.h"
#include "rules/trend_sampling.h"

#include <QLabel>
#include <QTimer>
#include <QVariantMap>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace qmx {

struct QmxData;
class ChartCanvas;
class MainServices;

class Velder_ChartCtl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Pv0Caption READ Pv0Caption WRITE setPv0Caption)
    Q_PROPERTY(int ChartMaxCh READ ChartMaxCh WRITE setChartMaxCh)
    Q_PROPERTY(int Charttime READ Charttime WRITE setCharttime)
    Q_PROPERTY(bool XScaleLong READ XScaleLong WRITE setXScaleLong)
    Q_PROPERTY(QString YScaleLow READ YScaleLow WRITE setYScaleLow)
    Q_PROPERTY(QString YScaleHigh READ YScaleHigh WRITE setYScaleHigh)
    Q_PROPERTY(QString YScaleDivision READ YScaleDivision WRITE setYScaleDivision)
    Q_PROPERTY(bool XScaleShort READ XScaleShort WRITE setXScaleShort)
    Q_PROPERTY(bool XScaleMidole READ XScaleMidole WRITE setXScaleMidole)
    Q_PROPERTY(QString XScaleTime READ XScaleTime WRITE setXScaleTime)
    Q_PROPERTY(QString Sv0Caption READ Sv0Caption WRITE setSv0Caption)
    Q_PROPERTY(QString Mv1Caption READ Mv1Caption WRITE setMv1Caption)
    Q_PROPERTY(QString Mv2Caption READ Mv2Caption WRITE setMv2Caption)
    Q_PROPERTY(int Stat0Caption READ Stat0Caption WRITE setStat0Caption)
    Q_PROPERTY(bool CommError READ CommError WRITE setCommError)
    Q_PROPERTY(int samples READ samples)
public:
    explicit Velder_ChartCtl(QWidget* parent = nullptr);
    ~Velder_ChartCtl() override;

    // The control reads the shared data (online, option words and set) and asks the main window
    // for its status bar, trace menu and tabs; pen files lie in `programFolder`.
    void setSharedData(const QmxData* data) { data_ = data; }
    void setServices(MainServices* services) { services_ = services; }
    void setProgramFolder(const QString& folder) { folder_ = folder; }
    QString programFolder() const { return folder_; }

    // The chart settings loaded from the pen files (shared with the keypad).
    ChartSettings& settings() { return settings_; }
    const ChartSettings& settings() const { return settings_; }

    // --- properties ------------------------------------------------------------------------------
    QString Pv0Caption() const { return pv0_; }
    void setPv0Caption(const QString& t);
    int ChartMaxCh() const { return maxCh_; }
    void setChartMaxCh(int v);
    int Charttime() const { return charttime_; }
    void setCharttime(int ms);
    bool XScaleLong() const;
    void setXScaleLong(bool on);
    QString YScaleLow() const;
    void setYScaleLow(const QString& t);
    QString YScaleHigh() const;
    void setYScaleHigh(const QString& t);
    QString YScaleDivision() const;
    void setYScaleDivision(const QString& t);
    bool XScaleShort() const;
    void setXScaleShort(bool on);
    bool XScaleMidole() const;
    void setXScaleMidole(bool on);
    QString XScaleTime() const;
    void setXScaleTime(const QString& t);
    QString Sv0Caption() const { return sv0_; }
    void setSv0Caption(const QString& t);
    QString Mv1Caption() const { return mv1_; }
    void setMv1Caption(const QString& t);
    QString Mv2Caption() const { return mv2_; }
    void setMv2Caption(const QString& t);
    int Stat0Caption() const { return stat0_; }
    void setStat0Caption(int v);
    // True while the main window shows the communication error: the texts handed in are then the
    // last ones that came, and a sample taken meanwhile logs and plots no value. Not stored.
    bool CommError() const { return commError_; }
    void setCommError(bool shown) { commError_ = shown; }

    // The stored properties: read once when the host window is created (`bag` holds what the
    // host's layout stores; absent keys take their defaults), and what saving would store.
    void ReadProperties(const QVariantMap& bag);
    // What the main window's layout stores for its chart.
    static QVariantMap mainLayoutProperties();
    QVariantMap WriteProperties() const;
    // The properties marked changed since the control was created.
    QStringList changedProperties() const;

    // --- public routines -------------------------------------------------------------------------
    void ScaleSet();
    void text_color_ref();
    void color_set();
    void auto_run();

    // --- recording (chart_run.cpp) ---------------------------------------------------------------
    void cmdRUN_Click();
    void cmdStop_Click();
    void timChart_Timer();
    void Next_time_make();
    // The clocks a run reads: whole seconds of a clock that only moves forward (the sampling
    // schedule) and the date and time (log names and rows). Tests hand in their own.
    using SecondsClock = std::function<int64_t()>;
    using WallClock = std::function<QDateTime()>;
    void setClocks(SecondsClock seconds, WallClock wall);
    // The points plotted in the current run (or the last one, while it stays on screen).
    int samples() const;

    std::array<int16_t, 4> TraceOn{1, 1, 1, 1};
    int16_t RunState = 0;
    bool PlotStarted = false;
    int32_t PlotX = 0;
    int32_t SampleCount = 0;
    int ChartItvSec = 5;
    int16_t YHigh = 0;
    int16_t YLow = 0;
    bool isRunning() const { return RunState == 1; }
    // The current scale, as ScaleSet applied it.
    const ScaleLayout& scale() const { return scale_; }
    ChartCanvas* canvas() const { return picCanbus; }
    XSpan span() const;

    // --- settings panel --------------------------------------------------------------------------
    void cmdChartsel_Click();
    void cmdDev_Click() { penToggle(0); }
    void cmdDev1_Click() { penToggle(1); }
    void cmdDev2_Click() { penToggle(2); }
    void cmdDev3_Click() { penToggle(3); }
    void cmdColor_Click(int Index);
    void cmdSelend_Click();
    void optShort_Click();
    void optLong_Click();
    void optMidole_Click();
    void Cmd_time_Click();
    void Cmd_SH_Click();
    void Cmd_SL_Click();
    void Cmd_Division_Click();

    // Writes the records in `mask` of every pen file (or of pen `onlyPen`) from the settings,
    // the trace flags and the run flag. A failure is told once per operator action.
    bool writePens(unsigned mask, int onlyPen = -1);
    // A pen file that could not be read or written: told once per group (below).
    void reportPenError(const QString& path, const QString& why);
    // Groups the pen-file writes of one action (start-up, a click, the keypad's OK): a failure
    // inside is told once, when the outermost group ends.
    class PenWriteGroup {
    public:
        explicit PenWriteGroup(Velder_ChartCtl& c);
        ~PenWriteGroup();
        PenWriteGroup(const PenWriteGroup&) = delete;
        PenWriteGroup& operator=(const PenWriteGroup&) = delete;

    private:
        Velder_ChartCtl& c_;
    };

    // --- controls --------------------------------------------------------------------------------
    ChartCanvas* picCanbus = nullptr;
    QGroupBox* frmXScale = nullptr;
    QRadioButton* optShort = nullptr;
    QRadioButton* optMidole = nullptr;
    QRadioButton* optLong = nullptr;
    QLabel* lblChartSpeed = nullptr;
    QLabel* lblChartitv = nullptr;
    QLabel* lblSec = nullptr;
    QPushButton* Cmd_time = nullptr;
    QGroupBox* frmYScale = nullptr;
    QLabel* lblHi = nullptr;
    QLabel* lblLo = nullptr;
    QLabel* lblSH = nullptr;
    QLabel* lblSL = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Lbl_Y = nullptr;
    QPushButton* Cmd_SH = nullptr;
    QPushButton* Cmd_SL = nullptr;
    QPushButton* Cmd_Division = nullptr;
    QPushButton* cmdRUN = nullptr;
    QPushButton* cmdStop = nullptr;
    QLabel* lblMsg = nullptr;
    QPushButton* cmdChartsel = nullptr;
    QGroupBox* frmChartsel = nullptr;
    std::array<QLabel*, 4> Label1{};      // 0..3 the pen captions of the selection frame
    QLabel* Label1_80 = nullptr;          // "Label1(80)": the log file's caption
    std::array<QPushButton*, 4> cmdDev{}; // cmdDev, cmdDev1, cmdDev2, cmdDev3
    std::array<QPushButton*, 4> cmdColor{};
    QPushButton* cmdSelend = nullptr;
    QLabel* Savename_text = nullptr;
    QLabel* lblPv = nullptr;
    QLabel* lblSv = nullptr;
    QLabel* lblMv1 = nullptr;
    QLabel* lblMv2 = nullptr;
    std::array<QLabel*, 4> Label3{};
    std::array<QLabel*, 12> lblXscal{}; // 0..10 the time labels, 11 the unit
    std::array<QLabel*, 3> lblYscal{};
    QTimer timChart;

    // The keypad's shared settings (set by the keypad buttons).
    int EntryMode = 0;
    int ScaleSH = 0;
    int ScaleSL = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void buildControls();
    QWidget* buildPlotArea();
    QWidget* buildPanel();
    QGroupBox* buildPenFrame();
    void placeAxisLabels();
    // Selects or deselects one option button without the others (the stored properties can
    // leave none selected); selecting one that was not selected runs its click handler.
    void setOption(QRadioButton* opt, bool on);
    void optionClicked(QRadioButton* opt);
    void mv2RowRule();
    void markChanged(const char* name);
    void penToggle(int i);
    void setPenButton(int i);
    void openKeypad(int mode, const QString& now, const QString& range);
    void focusTabs();
    static void setTextColor(QLabel* l, int32_t bgr);
    void lockSettings(bool lock);
    void setStatus(int panel, const QString& text);
    void setTraceMark(bool on);
    void plotSample(bool silent);
    void logSample(bool silent);
    void endOfScreen(bool silent);
    int64_t clockSeconds() const;

    const QmxData* data_ = nullptr;
    MainServices* services_ = nullptr;
    QString folder_;
    ChartSettings settings_;
    ScaleLayout scale_;

    QString pv0_ = QStringLiteral("0");
    QString sv0_ = QStringLiteral("0");
    QString mv1_ = QStringLiteral("0");
    QString mv2_ = QStringLiteral("0");
    int stat0_ = 0;
    int maxCh_ = 0;
    int charttime_ = 0;
    bool commError_ = false;
    QStringList changed_;

    // The values the next sample plots (a text, read by its leading number).
    QString PvValue, SvValue, Mv1Value, Mv2Value;

    // Each pen's value at the previous sample (PrevPv, PrevSv, PrevMv1, PrevMv2), none after a gap.
    PenTrace trace_;
    SampleSchedule schedule_;
    SecondsClock seconds_;
    int64_t runStartMs_ = 0;
    QDateTime tickTime_; // the time of day of the current tick
    WallClock wall_;
    TrendLog log_;
    bool logFailing_ = false; // the log could not be written since the last row that could
    bool inTick_ = false;

    int penGroupDepth_ = 0;
    QString penError_; // the first failure of the current group
};

} // namespace qmx
