// Construction and layout of the chart's controls.
#include "ui/chart/velder_chartctl.h"

#include "ui/chart/chart_canvas.h"
#include "ui/ui_widgets.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qmx {

namespace {

QString idx(const char* name, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

template <class W> W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

QLabel* label(const QString& name)
{
    return named(new QLabel, name);
}

QPushButton* button(const QString& name, const QString& text = QString())
{
    auto* b = named(new QPushButton(text), name);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

// The keypad buttons beside a setting's value.
QPushButton* setButton(const QString& name)
{
    auto* b = button(name, QStringLiteral("Set"));
    b->setFixedWidth(52);
    return b;
}

constexpr int kYLabelWidth = 56;
constexpr int kXLabelHeight = 20;

} // namespace

Velder_ChartCtl::Velder_ChartCtl(QWidget* parent) : QWidget(parent)
{
    // The chart's controls are addressed through the chart ("MainDisp/Velder_ChartCtl1/cmdRUN"):
    // their names would otherwise meet the main window's own (Label1, Label2, Label3).
    setProperty("automationScope", true);
    buildControls();
    timChart.setObjectName(QStringLiteral("timChart"));
    connect(&timChart, &QTimer::timeout, this, &Velder_ChartCtl::timChart_Timer);
    connect(cmdRUN, &QPushButton::clicked, this, &Velder_ChartCtl::cmdRUN_Click);
    connect(cmdStop, &QPushButton::clicked, this, &Velder_ChartCtl::cmdStop_Click);
}

Velder_ChartCtl::~Velder_ChartCtl() = default;

void Velder_ChartCtl::buildControls()
{
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);

    auto* left = new QVBoxLayout;
    auto* live = new QHBoxLayout;
    const char* const liveNames[4] = {"lblPv", "lblSv", "lblMv1", "lblMv2"};
    const char* const penNames[4] = {"PV", "SV", "MV1", "MV2"};
    std::array<QLabel*, 4> values{};
    for (int i = 0; i < 4; ++i) {
        Label3[size_t(i)] = named(new QLabel(QLatin1String(penNames[i])), idx("Label3", i));
        QFont f = Label3[size_t(i)]->font();
        f.setBold(true);
        Label3[size_t(i)]->setFont(f);
        values[size_t(i)] = makeValueBox(this, QLatin1String(liveNames[i]));
        // A fixed size: a new text repaints the label alone, never the layout around it.
        values[size_t(i)]->setFixedSize(96, values[size_t(i)]->sizeHint().height());
        values[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        values[size_t(i)]->setFont(f);
        live->addWidget(Label3[size_t(i)]);
        live->addWidget(values[size_t(i)]);
        live->addSpacing(16);
    }
    lblPv = values[0];
    lblSv = values[1];
    lblMv1 = values[2];
    lblMv2 = values[3];
    live->addStretch(1);
    left->addLayout(live);
    left->addWidget(buildPlotArea(), 1);
    outer->addLayout(left, 1);
    outer->addWidget(buildPanel());
}

QWidget* Velder_ChartCtl::buildPlotArea()
{
    // The axis labels sit around the plotting area at fixed fractions of its size; the area
    // places them itself whenever it is resized.
    auto* area = named(new QWidget, QStringLiteral("plotArea"));
    area->installEventFilter(this);
    picCanbus = named(new ChartCanvas(area), QStringLiteral("picCanbus"));
    for (int i = 0; i < 3; ++i) {
        lblYscal[size_t(i)] = named(new QLabel(area), idx("lblYscal", i));
        lblYscal[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int i = 0; i < 12; ++i) {
        lblXscal[size_t(i)] = named(new QLabel(area), idx("lblXscal", i));
        lblXscal[size_t(i)]->setAlignment(Qt::AlignCenter);
    }
    area->setMinimumSize(kYLabelWidth + 320, 200);
    return area;
}

bool Velder_ChartCtl::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::Resize && o->objectName() == QLatin1String("plotArea"))
        placeAxisLabels();
    return QWidget::eventFilter(o, e);
}

void Velder_ChartCtl::placeAxisLabels()
{
    QWidget* area = picCanbus->parentWidget();
    const int top = 8;
    const QRect plot(kYLabelWidth, top, area->width() - kYLabelWidth - 28,
                     area->height() - top - kXLabelHeight - 4);
    picCanbus->setGeometry(plot);
    const int h = fontMetrics().height() + 2;
    const int ys[3] = {plot.top(), plot.center().y(), plot.bottom()};
    for (int i = 0; i < 3; ++i)
        lblYscal[size_t(i)]->setGeometry(0, ys[i] - h / 2, kYLabelWidth - 6, h);
    const int w = 60;
    for (int i = 0; i <= 10; ++i) {
        const int x = plot.left() + plot.width() * i / 10;
        lblXscal[size_t(i)]->setGeometry(x - w / 2, plot.bottom() + 4, w, kXLabelHeight);
    }
    // The unit stands under the value labels, at the start of the time labels' row.
    lblXscal[11]->setGeometry(0, plot.bottom() + 4, kYLabelWidth - 30, kXLabelHeight);
}

QWidget* Velder_ChartCtl::buildPanel()
{
    auto* panel = named(new QWidget, QStringLiteral("chartPanel"));
    panel->setFixedWidth(250);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);

    frmXScale = named(new QGroupBox, QStringLiteral("frmXScale"));
    auto* xs = new QGridLayout(frmXScale);
    optShort = named(new QRadioButton, QStringLiteral("optShort"));
    optMidole = named(new QRadioButton, QStringLiteral("optMidole"));
    optLong = named(new QRadioButton, QStringLiteral("optLong"));
    for (QRadioButton* o : {optShort, optMidole, optLong}) {
        // Exclusivity is kept by hand: the stored properties can leave none selected.
        o->setAutoExclusive(false);
        connect(o, &QRadioButton::clicked, this, [this, o] { optionClicked(o); });
    }
    xs->addWidget(optShort, 0, 0, 1, 2);
    xs->addWidget(optMidole, 1, 0, 1, 2);
    xs->addWidget(optLong, 2, 0, 1, 2);
    lblChartSpeed = label(QStringLiteral("lblChartSpeed"));
    lblChartitv = makeValueBox(this, QStringLiteral("lblChartitv"));
    lblSec = label(QStringLiteral("lblSec"));
    Cmd_time = setButton(QStringLiteral("Cmd_time"));
    xs->addWidget(lblChartSpeed, 3, 0, 1, 3);
    auto* cycle = new QHBoxLayout;
    cycle->addWidget(lblChartitv, 1);
    cycle->addWidget(lblSec);
    xs->addLayout(cycle, 4, 0, 1, 2);
    xs->addWidget(Cmd_time, 4, 2);
    v->addWidget(frmXScale);

    frmYScale = named(new QGroupBox, QStringLiteral("frmYScale"));
    auto* ys = new QGridLayout(frmYScale);
    lblHi = label(QStringLiteral("lblHi"));
    lblLo = label(QStringLiteral("lblLo"));
    Label2 = label(QStringLiteral("Label2"));
    lblSH = makeValueBox(this, QStringLiteral("lblSH"));
    lblSL = makeValueBox(this, QStringLiteral("lblSL"));
    Lbl_Y = makeValueBox(this, QStringLiteral("Lbl_Y"));
    Cmd_SH = setButton(QStringLiteral("Cmd_SH"));
    Cmd_SL = setButton(QStringLiteral("Cmd_SL"));
    Cmd_Division = setButton(QStringLiteral("Cmd_Division"));
    const std::array<std::array<QWidget*, 3>, 3> rows{
        {{lblHi, lblSH, Cmd_SH}, {lblLo, lblSL, Cmd_SL}, {Label2, Lbl_Y, Cmd_Division}}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            ys->addWidget(rows[size_t(r)][size_t(c)], r, c);
    ys->setColumnStretch(1, 1);
    v->addWidget(frmYScale);

    auto* run = new QHBoxLayout;
    cmdRUN = button(QStringLiteral("cmdRUN"));
    cmdStop = button(QStringLiteral("cmdStop"));
    run->addWidget(cmdRUN);
    run->addWidget(cmdStop);
    v->addLayout(run);
    lblMsg = makeValueBox(this, QStringLiteral("lblMsg"));
    lblMsg->setAlignment(Qt::AlignCenter);
    v->addWidget(lblMsg);

    cmdChartsel = button(QStringLiteral("cmdChartsel"));
    cmdChartsel->setMinimumHeight(40);
    v->addWidget(cmdChartsel);
    v->addWidget(buildPenFrame());

    Label1_80 = label(QStringLiteral("Label1(80)"));
    Label1_80->setWordWrap(true);
    Savename_text = makeValueBox(this, QStringLiteral("Savename_text"));
    Savename_text->setWordWrap(true);
    Savename_text->setMinimumHeight(36);
    v->addWidget(Label1_80);
    v->addWidget(Savename_text);
    v->addStretch(1);

    connect(Cmd_time, &QPushButton::clicked, this, &Velder_ChartCtl::Cmd_time_Click);
    connect(Cmd_SH, &QPushButton::clicked, this, &Velder_ChartCtl::Cmd_SH_Click);
    connect(Cmd_SL, &QPushButton::clicked, this, &Velder_ChartCtl::Cmd_SL_Click);
    connect(Cmd_Division, &QPushButton::clicked, this, &Velder_ChartCtl::Cmd_Division_Click);
    connect(cmdChartsel, &QPushButton::clicked, this, &Velder_ChartCtl::cmdChartsel_Click);
    return panel;
}

QGroupBox* Velder_ChartCtl::buildPenFrame()
{
    frmChartsel = named(new QGroupBox, QStringLiteral("frmChartsel"));
    auto* g = new QGridLayout(frmChartsel);
    const char* const devNames[4] = {"cmdDev", "cmdDev1", "cmdDev2", "cmdDev3"};
    const char* const pens[4] = {"PV", "SV", "MV1", "MV2"};
    for (int i = 0; i < 4; ++i) {
        Label1[size_t(i)] = label(idx("Label1", i));
        cmdDev[size_t(i)] = button(QLatin1String(devNames[i]), QLatin1String(pens[i]));
        cmdDev[size_t(i)]->setAutoFillBackground(true);
        cmdColor[size_t(i)] = button(idx("cmdColor", i));
        g->addWidget(Label1[size_t(i)], i * 2, 0, 1, 2);
        g->addWidget(cmdDev[size_t(i)], i * 2 + 1, 0);
        g->addWidget(cmdColor[size_t(i)], i * 2 + 1, 1);
        connect(cmdDev[size_t(i)], &QPushButton::clicked, this, [this, i] { penToggle(i); });
        connect(cmdColor[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdColor_Click(i); });
    }
    cmdSelend = button(QStringLiteral("cmdSelend"));
    g->addWidget(cmdSelend, 8, 0, 1, 2);
    connect(cmdSelend, &QPushButton::clicked, this, &Velder_ChartCtl::cmdSelend_Click);
    frmChartsel->hide();
    return frmChartsel;
}

} // namespace qmx
