#include "ui/main/main_disp.h"

#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "ui/main/link/main_disp_host.h"
#include "ui/main/main_disp_pages.h"

#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/dialogs/help_window.h"
#include "ui/ui_widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qmx {

namespace {

QString idx(const char* name, int i)
{
    return QLatin1String(name) + QLatin1Char('(') + QString::number(i) + QLatin1Char(')');
}

// The items of each group's rows, top to bottom, as the settings pages address them.
constexpr int kAlarm1Items[5] = {19, 38, 40, 48, 36};
constexpr int kAlarm2Items[5] = {20, 39, 41, 49, 37};
constexpr int kHeatItems[11] = {12, 13, 15, 16, 53, 17, 29, 30, 31, 52, 65};
constexpr int kCoolItems[7] = {32, 14, 18, 33, 34, 24, 35};
constexpr int kOtherItems[24] = {22, 23, 50, 25, 26, 27, 28, 43, 44, 51, 45, 55,
                                 56, 57, 58, 46, 42, 59, 60, 61, 63, 64, 62, 66};

// Widths that keep the value and unit columns of one page in line from group to group.
constexpr int kValueWidth = 230;
constexpr int kOtherValueWidth = 340;
constexpr int kUnitWidth = 76;
// The left column: live values, link settings, file name and notices.
constexpr int kLeftWidth = 400;
// A row below every setting row of a group, holding only the column spacers.
constexpr int kSpacerRow = 64;

QLabel* noticeBox(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    l->setContentsMargins(6, 4, 6, 4);
    setBackColor(l, 0xC0FFFF); // pale yellow
    return l;
}

// Hands the chart the communication-error notice's state whenever the notice is shown or hidden,
// whichever path does it: a sample taken while it shows holds no measured value.
class CommErrorWatch : public QObject {
public:
    CommErrorWatch(QLabel* notice, Velder_ChartCtl* chart) : QObject(notice), chart_(chart)
    {
        notice->installEventFilter(this);
        chart->setCommError(!notice->isHidden());
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (chart_ && (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent))
            chart_->setCommError(e->type() == QEvent::ShowToParent);
        return false;
    }

private:
    QPointer<Velder_ChartCtl> chart_;
};

QScrollArea* scrolled(QWidget* page)
{
    // A page scrolls only where a small screen cannot hold its longest group.
    auto* s = new QScrollArea;
    s->setWidget(page);
    s->setWidgetResizable(true);
    s->setFrameShape(QFrame::NoFrame);
    return s;
}

} // namespace

MainDisp::MainDisp(QmxData& data, QWidget* parent) : QMainWindow(parent), d(data)
{
    setObjectName(QStringLiteral("MainDisp"));
    setWindowIcon(QIcon(productLogo(64)));

    buildMenus();

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildMainPage(), QString());
    SSTab1->addTab(buildTracePage(), QString());
    setCentralWidget(SSTab1);
    new CommErrorWatch(Text_readmsg2, Velder_ChartCtl1);

    StatusBar1 = new PanelStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);

    setupTimers();
    resize(1260, 770);
}

MainDisp::~MainDisp() = default;

QString MainDisp::statusPanel(int panel) const
{
    return StatusBar1->panel(panel);
}

void MainDisp::setStatusPanel(int panel, const QString& text)
{
    StatusBar1->setPanel(panel, text);
}

void MainDisp::focusTabs()
{
    SSTab1->setFocus();
}

bool MainDisp::traceChecked() const
{
    return mnuTrace->isChecked();
}

void MainDisp::setTraceChecked(bool on)
{
    mnuTrace->setChecked(on);
}

void MainDisp::buildMenus()
{
    auto action = [this](QMenu* m, const char* name, void (MainDisp::*handler)()) {
        QAction* a = m->addAction(QString());
        a->setObjectName(QLatin1String(name));
        if (handler)
            connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto menu = [this](const char* name, QAction*& act) {
        QMenu* m = menuBar()->addMenu(QString());
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        act = m->menuAction();
        return m;
    };

    mnuFileMenu = menu("mnuFile", mnuFile);
    mnuUpload = action(mnuFileMenu, "mnuUpload", &MainDisp::mnuUpload_Click);
    mnuDownload = action(mnuFileMenu, "mnuDownload", &MainDisp::mnuDownload_Click);
    mnuFileMenu->addSeparator();
    mnuSave = action(mnuFileMenu, "mnuSave", &MainDisp::mnuSave_Click);
    mnuLoad = action(mnuFileMenu, "mnuLoad", &MainDisp::mnuLoad_Click);
    mnudata = action(mnuFileMenu, "mnudata", &MainDisp::mnudata_Click);
    mnuexport = action(mnuFileMenu, "mnuexport", &MainDisp::mnuexport_Click);
    mnuFileMenu->addSeparator();
    mnuFilePrint = action(mnuFileMenu, "mnuFilePrint", &MainDisp::mnuFilePrint_Click);
    mnuFileMenu->addSeparator();
    mnuExit = action(mnuFileMenu, "mnuExit", &MainDisp::mnuExit_Click);

    QMenu* online = menu("mnuOnline", mnuOnline);
    mnuTrace = action(online, "mnuTrace", &MainDisp::mnuTrace_Click);
    mnuTrace->setCheckable(true);

    QMenu* set = menu("mnuSet", mnuSet);
    mnuComset = action(set, "mnuComset", &MainDisp::mnuComset_Click);
    set->addSeparator();
    mnuOpset = action(set, "mnuOpset", &MainDisp::mnuOpset_Click);

    QMenu* help = menu("mnuHelp", mnuHelp);
    mnuHelp2 = action(help, "mnuHelp2", &MainDisp::mnuHelp2_Click);
    help->addSeparator();
    mnuVer = action(help, "mnuVer", &MainDisp::mnuVer_Click);
}

void MainDisp::setupTimers()
{
    const std::pair<QTimer*, int> timers[6] = {{&Timer1, 50},   {&Timer2, 1000},  {&Timer3, 2000},
                                               {&Timer4, 2000}, {&Timer5, 10000}, {&Timer6, 500}};
    for (int i = 0; i < 6; ++i) {
        timers[i].first->setObjectName(QStringLiteral("Timer") + QString::number(i + 1));
        timers[i].first->setInterval(timers[i].second);
    }
    Timer2.setSingleShot(true);
    // The transfers pause the controller with Timer4's 100 ms; a coarse timer may end it 5% early.
    Timer4.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &MainDisp::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &MainDisp::Timer2_Timer);
    connect(&Timer3, &QTimer::timeout, this, &MainDisp::Timer3_Timer);
    connect(&Timer4, &QTimer::timeout, this, [this] {
        Timer4.stop();
        WaitFlag = true;
    });
    connect(&Timer6, &QTimer::timeout, this, &MainDisp::Timer6_Timer);
}

QLabel* MainDisp::unitLabel(const QString& name, const QString& text)
{
    auto* l = new QLabel(text);
    l->setObjectName(name);
    l->setMinimumWidth(kUnitWidth);
    return l;
}

QLabel* MainDisp::captionLabel(const QString& name)
{
    auto* l = new QLabel;
    l->setObjectName(name);
    l->setWordWrap(true);
    return l;
}

void MainDisp::addRow(QGridLayout* grid, int row, QLabel* caption, QLabel* value, QLabel* unit,
                      int setIndex)
{
    if (caption)
        grid->addWidget(caption, row, 0);
    if (value)
        grid->addWidget(value, row, 1);
    if (unit)
        grid->addWidget(unit, row, 2);
    if (setIndex > 0) {
        auto* b = new QPushButton(QStringLiteral("Set"));
        b->setObjectName(idx("Cmd_set", setIndex));
        b->setFixedWidth(52);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [this, setIndex] { Cmd_set_Click(setIndex); });
        Cmd_set[size_t(setIndex)] = b;
        grid->addWidget(b, row, 3);
    }
}

GroupFrame* MainDisp::addGroup(QVBoxLayout* page, int index, const QString& frameName,
                               QGridLayout*& grid)
{
    // The button heads the frame from outside it: a switched-off group must still be switchable on.
    auto* head = new QPushButton;
    head->setObjectName(idx("Cmd_True", index));
    head->setStyleSheet(
        QStringLiteral("QPushButton { text-align: left; font-weight: bold; padding: 3px 10px; }"));
    connect(head, &QPushButton::clicked, this, [this, index] { Cmd_True_Click(index); });
    Cmd_True[size_t(index)] = head;

    auto* frame = new GroupFrame;
    frame->setObjectName(frameName);
    grid = new QGridLayout(frame);
    grid->setContentsMargins(10, 6, 8, 6);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    grid->setColumnStretch(0, 1);
    // Units and set buttons keep their columns when a layout hides them, so the value boxes of
    // every group stay aligned whatever rows are shown.
    for (auto [column, width] : {std::pair{2, kUnitWidth}, std::pair{3, 52}}) {
        auto* keep = new QWidget; // a visible, empty widget: a spacer would not hold the spacing
        keep->setFixedSize(width, 0);
        grid->addWidget(keep, kSpacerRow, column);
    }

    auto* box = new QVBoxLayout;
    box->setSpacing(0);
    box->addWidget(head);
    box->addWidget(frame);
    page->addLayout(box);
    return frame;
}

QWidget* MainDisp::buildMainPage()
{
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    h->setContentsMargins(6, 6, 6, 6);

    auto* left = new QVBoxLayout;
    left->addWidget(buildLivePanel());
    left->addWidget(buildCommPanel());

    Frame8 = new QGroupBox;
    Frame8->setObjectName(QStringLiteral("Frame8"));
    auto* f8 = new QVBoxLayout(Frame8);
    Label6 = makeValueBox(Frame8, QStringLiteral("Label6"));
    Label6->setMinimumHeight(24);
    f8->addWidget(Label6);
    left->addWidget(Frame8);
    left->addWidget(buildNotices());
    left->addStretch(1);

    auto* leftBox = new QWidget;
    leftBox->setLayout(left);
    leftBox->setFixedWidth(kLeftWidth);
    left->setContentsMargins(0, 0, 0, 0);
    h->addWidget(leftBox);

    SSTab2 = new QTabWidget;
    SSTab2->setObjectName(QStringLiteral("SSTab2"));
    SSTab2->addTab(scrolled(buildAlarmPage()), QString());
    SSTab2->addTab(scrolled(buildPidPage()), QString());
    SSTab2->addTab(scrolled(buildOtherPage()), QString());
    SSTab2->addTab(scrolled(buildOther2Page()), QString());
    h->addWidget(SSTab2, 1);
    return page;
}

QGroupBox* MainDisp::buildLivePanel()
{
    // Its values change at every monitoring step; the panel's size changes only with its rows.
    Frame1 = new SteadyGroupBox(kLeftWidth);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* v = new QVBoxLayout(Frame1);
    v->setSpacing(6);

    // State line: offline/online, monitor state, and the Online button.
    auto* state = new QHBoxLayout;
    Label2 = makeValueBox(Frame1, QStringLiteral("Label2"));
    Label4 = makeValueBox(Frame1, QStringLiteral("Label4"));
    for (QLabel* l : {Label2, Label4}) {
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumHeight(26);
    }
    Cmd_ONOFF = new QPushButton;
    Cmd_ONOFF->setObjectName(QStringLiteral("Cmd_ONOFF"));
    Cmd_ONOFF->setMinimumHeight(30);
    Cmd_ONOFF->setMinimumWidth(96);
    connect(Cmd_ONOFF, &QPushButton::clicked, this, &MainDisp::Cmd_ONOFF_Click);
    state->addWidget(Label2, 1);
    state->addWidget(Label4, 1);
    state->addWidget(Cmd_ONOFF);
    v->addLayout(state);

    // PV, SV and the two outputs.
    auto* g = new QGridLayout;
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(4);
    auto bigBox = [this](const QString& name, int px) {
        QLabel* l = makeValueBox(Frame1, name);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont f = l->font();
        f.setPixelSize(px);
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    Label3[1] = new QLabel(QStringLiteral("PV"));
    Label3[1]->setObjectName(QStringLiteral("Label3(1)"));
    Label3[2] = new QLabel(QStringLiteral("SV"));
    Label3[2]->setObjectName(QStringLiteral("Label3(2)"));
    Text_PV = bigBox(QStringLiteral("Text_PV"), 34);
    Text_SV[0] = bigBox(QStringLiteral("Text_SV(0)"), 22);
    Label_CF[0] = unitLabel(QStringLiteral("Label_CF(0)"));
    Label_CF[0]->setMinimumWidth(60);
    g->addWidget(Label3[1], 0, 0);
    g->addWidget(Text_PV, 0, 1);
    g->addWidget(Label_CF[0], 0, 2);
    g->addWidget(Label3[2], 1, 0);
    g->addWidget(Text_SV[0], 1, 1);

    Label23 = makeLamp(Frame1, QStringLiteral("Label23"), QStringLiteral("OUT 1"));
    Label58 = makeLamp(Frame1, QStringLiteral("Label58"), QStringLiteral("OUT 2"));
    for (int i = 0; i < 2; ++i) {
        Text_MV[size_t(i)] = bigBox(idx("Text_MV", i), 16);
        Label18[size_t(i)] = new QLabel(QStringLiteral("%"));
        Label18[size_t(i)]->setObjectName(idx("Label18", i));
        g->addWidget(i == 0 ? Label23 : Label58, 2 + i, 0);
        g->addWidget(Text_MV[size_t(i)], 2 + i, 1);
        g->addWidget(Label18[size_t(i)], 2 + i, 2);
    }
    g->setColumnStretch(1, 1);
    v->addLayout(g);

    // Status lamps.
    auto* lamps = new QHBoxLayout;
    lamps->setSpacing(4);
    const char* lampText[5] = {"EVT1", "EVT2", "UP", "DOWN", "HB"};
    for (int i = 0; i < 5; ++i) {
        lbl_alm[size_t(i)] = makeLamp(Frame1, idx("lbl_alm", i), QLatin1String(lampText[i]));
        lamps->addWidget(lbl_alm[size_t(i)], 1);
    }
    Label_atm = makeLamp(Frame1, QStringLiteral("Label_atm"), QStringLiteral("AT"));
    lamps->addWidget(Label_atm, 1);
    v->addLayout(lamps);

    // Heater currents.
    auto* ct = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        Lbl_HB[size_t(i)] = new QLabel(i == 0 ? QStringLiteral("CT1") : QStringLiteral("CT2"));
        Lbl_HB[size_t(i)]->setObjectName(idx("Lbl_HB", i));
        Text_HB[size_t(i + 1)] = makeValueBox(Frame1, idx("Text_HB", i + 1));
        Text_HB[size_t(i + 1)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Text_HB[size_t(i + 1)]->setMinimumWidth(70);
        Label_HB[size_t(i + 2)] = new QLabel(QStringLiteral("A"));
        Label_HB[size_t(i + 2)]->setObjectName(idx("Label_HB", i + 2));
        ct->addWidget(Lbl_HB[size_t(i)]);
        ct->addWidget(Text_HB[size_t(i + 1)]);
        ct->addWidget(Label_HB[size_t(i + 2)]);
        ct->addSpacing(10);
    }
    ct->addStretch(1);
    v->addLayout(ct);

    // The main set value row, the one setting that is edited from this panel.
    auto* sv = new QGridLayout;
    Label3[0] = captionLabel(QStringLiteral("Label3(0)"));
    Text_SV[1] = makeValueBox(Frame1, QStringLiteral("Text_SV(1)"));
    Text_SV[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text_SV[1]->setMinimumWidth(90);
    Label_CF[17] = unitLabel(QStringLiteral("Label_CF(17)"));
    Label_CF[17]->setMinimumWidth(50);
    addRow(sv, 0, Label3[0], Text_SV[1], Label_CF[17], 1);
    sv->setColumnStretch(0, 1);
    v->addLayout(sv);

    // Control output state and the manual output steps.
    auto* out = new QHBoxLayout;
    Label_OUTOFF = makeValueBox(Frame1, QStringLiteral("Label_OUTOFF"));
    Label5 = makeValueBox(Frame1, QStringLiteral("Label5"));
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setMinimumWidth(56);
    out->addWidget(Label_OUTOFF, 1);
    out->addWidget(Label5);
    v->addLayout(out);

    auto* manual = new QHBoxLayout;
    manual->setSpacing(3);
    const char* stepText[6] = {"+1.0", "+0.1", "-0.1", "-1.0", "+10.0", "-10.0"};
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(QLatin1String(stepText[i]));
        b->setObjectName(idx("Manuval", i));
        b->setMinimumWidth(50);
        connect(b, &QPushButton::clicked, this, [this, i] { Manuval_Click(i); });
        Manuval[size_t(i)] = b;
    }
    // Steps down on the left, up on the right.
    for (int i : {5, 3, 2, 1, 0, 4})
        manual->addWidget(Manuval[size_t(i)]);
    v->addLayout(manual);
    return Frame1;
}

QGroupBox* MainDisp::buildCommPanel()
{
    Frame2 = new QGroupBox;
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* g = new QGridLayout(Frame2);
    g->setVerticalSpacing(3);
    for (int i = 0; i < 6; ++i) {
        Lbl_com[size_t(i)] = captionLabel(idx("Lbl_com", i));
        Lbl_comm[size_t(i)] = makeValueBox(Frame2, idx("Lbl_comm", i));
        Lbl_comm[size_t(i)]->setMinimumWidth(150);
        g->addWidget(Lbl_com[size_t(i)], i, 0);
        g->addWidget(Lbl_comm[size_t(i)], i, 1);
    }
    g->setColumnStretch(0, 1);
    return Frame2;
}

QWidget* MainDisp::buildNotices()
{
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);

    // The search notice with its Cancel button.
    Frame3 = new QFrame;
    Frame3->setObjectName(QStringLiteral("Frame3"));
    auto* f3 = new QHBoxLayout(Frame3);
    f3->setContentsMargins(0, 0, 0, 0);
    Text_readmsg1 = noticeBox(Frame3, QStringLiteral("Text_readmsg1"));
    Command1 = new QPushButton;
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &MainDisp::Command1_Click);
    f3->addWidget(Text_readmsg1, 1);
    f3->addWidget(Command1);
    Frame3->hide();
    v->addWidget(Frame3);

    // Transfer progress.
    Frame4 = new QFrame;
    Frame4->setObjectName(QStringLiteral("Frame4"));
    auto* f4 = new QVBoxLayout(Frame4);
    f4->setContentsMargins(0, 0, 0, 0);
    Lbl_UPmsg = new QLabel;
    Lbl_UPmsg->setObjectName(QStringLiteral("Lbl_UPmsg"));
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setMaximum(60);
    ProgressBar1->setValue(0);
    Lbl_UPmsg->hide();
    ProgressBar1->hide();
    f4->addWidget(Lbl_UPmsg);
    f4->addWidget(ProgressBar1);
    v->addWidget(Frame4);

    Text_readmsg2 = noticeBox(box, QStringLiteral("Text_readmsg2"));
    setBackColor(Text_readmsg2, 0xC0C0FF); // pale red: the link is down
    Text_readmsg2->hide();
    v->addWidget(Text_readmsg2);
    Text_readmsg3 = noticeBox(box, QStringLiteral("Text_readmsg3"));
    Text_readmsg3->hide();
    v->addWidget(Text_readmsg3);
    return box;
}

QWidget* MainDisp::buildTracePage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    Velder_ChartCtl1 = new Velder_ChartCtl;
    Velder_ChartCtl1->setObjectName(QStringLiteral("Velder_ChartCtl1"));
    Velder_ChartCtl1->setSharedData(&d);
    Velder_ChartCtl1->setServices(this);
    Velder_ChartCtl1->setProgramFolder(programFolder());
    v->addWidget(Velder_ChartCtl1, 1);

    auto* bottom = new QHBoxLayout;
    Frame5 = new QFrame;
    Frame5->setObjectName(QStringLiteral("Frame5"));
    auto* f5 = new QHBoxLayout(Frame5);
    f5->setContentsMargins(0, 0, 0, 0);
    Lbl_UPmsg2 = new QLabel;
    Lbl_UPmsg2->setObjectName(QStringLiteral("Lbl_UPmsg2"));
    ProgressBar2 = new QProgressBar;
    ProgressBar2->setObjectName(QStringLiteral("ProgressBar2"));
    ProgressBar2->setMaximum(60);
    ProgressBar2->setValue(0);
    ProgressBar2->setMinimumWidth(300);
    Lbl_UPmsg2->hide();
    ProgressBar2->hide();
    f5->addWidget(Lbl_UPmsg2);
    f5->addWidget(ProgressBar2);
    bottom->addWidget(Frame5);

    Frame6 = new QFrame;
    Frame6->setObjectName(QStringLiteral("Frame6"));
    auto* f6 = new QHBoxLayout(Frame6);
    f6->setContentsMargins(0, 0, 0, 0);
    Text_readmsg4 = noticeBox(Frame6, QStringLiteral("Text_readmsg4"));
    Command2 = new QPushButton;
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command2, &QPushButton::clicked, this, &MainDisp::Command2_Click);
    f6->addWidget(Text_readmsg4, 1);
    f6->addWidget(Command2);
    Frame6->hide();
    bottom->addWidget(Frame6, 1);

    Text_readmsg5 = noticeBox(page, QStringLiteral("Text_readmsg5"));
    Text_readmsg5->hide();
    bottom->addWidget(Text_readmsg5, 1);
    v->addLayout(bottom);
    return page;
}

QWidget* MainDisp::buildAlarmPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setSpacing(10);
    QGridLayout* g = nullptr;

    Frame_Alarm1 = addGroup(v, 0, QStringLiteral("Frame_Alarm1"), g);
    Label_CF[1] = unitLabel(QStringLiteral("Label_CF(1)"));
    Label_CF[2] = unitLabel(QStringLiteral("Label_CF(2)"));
    Label1[0] = unitLabel(QStringLiteral("Label1(0)"));
    QLabel* a1Units[5] = {Label_CF[1], Label_CF[2], Label1[0], nullptr, nullptr};
    for (int r = 0; r < 5; ++r) {
        Label_Alm1[size_t(r)] = captionLabel(idx("Label_Alm1", r));
        Label_A1val[size_t(r)] = makeValueBox(Frame_Alarm1, idx("Label_A1val", r));
        Label_A1val[size_t(r)]->setFixedWidth(kValueWidth);
        addRow(g, r, Label_Alm1[size_t(r)], Label_A1val[size_t(r)], a1Units[r],
               kAlarm1Items[r] - 10);
    }

    Frame_Alarm2 = addGroup(v, 1, QStringLiteral("Frame_Alarm2"), g);
    Label_CF[3] = unitLabel(QStringLiteral("Label_CF(3)"));
    Label_CF[4] = unitLabel(QStringLiteral("Label_CF(4)"));
    Label1[1] = unitLabel(QStringLiteral("Label1(1)"));
    QLabel* a2Units[5] = {Label_CF[3], Label_CF[4], Label1[1], nullptr, nullptr};
    for (int r = 0; r < 5; ++r) {
        Label_Alm2[size_t(r)] = captionLabel(idx("Label_Alm2", r));
        Label_A2val[size_t(r)] = makeValueBox(Frame_Alarm2, idx("Label_A2val", r));
        Label_A2val[size_t(r)]->setFixedWidth(kValueWidth);
        addRow(g, r, Label_Alm2[size_t(r)], Label_A2val[size_t(r)], a2Units[r],
               kAlarm2Items[r] - 10);
    }

    Frame_HB = addGroup(v, 2, QStringLiteral("Frame_HB"), g);
    for (int r = 0; r < 2; ++r) {
        Label_Alm_HB[size_t(r)] = captionLabel(idx("Label_Alm_HB", r));
        Label_HBval[size_t(r)] = makeValueBox(Frame_HB, idx("Label_HBval", r));
        Label_HBval[size_t(r)]->setFixedWidth(kValueWidth);
        Label_HB[size_t(r)] = unitLabel(idx("Label_HB", r), QStringLiteral("A"));
        addRow(g, r, Label_Alm_HB[size_t(r)], Label_HBval[size_t(r)], Label_HB[size_t(r)],
               r == 0 ? 11 : 44);
    }
    v->addStretch(1);
    return page;
}

QWidget* MainDisp::buildPidPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setSpacing(10);
    QGridLayout* g = nullptr;

    for (int i = 0; i < 5; ++i)
        Label21[size_t(i)] = unitLabel(idx("Label21", i), QStringLiteral("%"));
    for (int i = 2; i <= 5; ++i)
        Label1[size_t(i)] = unitLabel(idx("Label1", i));
    for (int i = 5; i <= 9; ++i)
        Label_CF[size_t(i)] = unitLabel(idx("Label_CF", i));
    lbl_OUT = unitLabel(QStringLiteral("lbl_OUT"));

    Frame_Heat = addGroup(v, 3, QStringLiteral("Frame_Heat"), g);
    QLabel* heatUnits[11] = {nullptr,     Label_CF[5], Label1[2],  Label1[3],
                             Label21[2],  Label1[4],   Label21[0], Label21[1],
                             Label_CF[6], Label_CF[7], lbl_OUT};
    for (int i = 0; i < 11; ++i) {
        Label_pid[size_t(i)] = captionLabel(idx("Label_pid", i));
        Label_pidval[size_t(i)] = makeValueBox(Frame_Heat, idx("Label_pidval", i));
        Label_pidval[size_t(i)]->setFixedWidth(kValueWidth);
        addRow(g, i, Label_pid[size_t(i)], Label_pidval[size_t(i)], heatUnits[i],
               kHeatItems[i] - 10);
    }

    Frame_Cool = addGroup(v, 4, QStringLiteral("Frame_Cool"), g);
    QLabel* coolUnits[7] = {nullptr,    nullptr,     Label1[5],  Label21[3],
                            Label21[4], Label_CF[8], Label_CF[9]};
    for (int i = 0; i < 7; ++i) {
        Label_cool[size_t(i)] = captionLabel(idx("Label_cool", i));
        Label_coolval[size_t(i)] = makeValueBox(Frame_Cool, idx("Label_coolval", i));
        Label_coolval[size_t(i)]->setFixedWidth(kValueWidth);
        addRow(g, i, Label_cool[size_t(i)], Label_coolval[size_t(i)], coolUnits[i],
               kCoolItems[i] - 10);
    }
    v->addStretch(1);
    return page;
}

QWidget* MainDisp::buildOtherPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    QGridLayout* g = nullptr;

    for (int i = 10; i <= 16; ++i)
        Label_CF[size_t(i)] = unitLabel(idx("Label_CF", i));
    Label_UD[0] = unitLabel(QStringLiteral("Label_UD(0)"));
    Label_UD[1] = unitLabel(QStringLiteral("Label_UD(1)"));
    Label1[6] = unitLabel(QStringLiteral("Label1(6)"));
    Label_Min = unitLabel(QStringLiteral("Label_Min"));

    Frame_Other = addGroup(v, 5, QStringLiteral("Frame_Other"), g);
    for (int k = 0; k < 23; ++k) {
        QLabel* unit = nullptr;
        switch (k) {
        case 1:
            unit = Label_CF[10];
            break;
        case 3:
            unit = Label_CF[11];
            break;
        case 4:
            unit = Label_CF[12];
            break;
        case 6:
            unit = Label1[6];
            break;
        case 7:
            unit = Label_UD[0];
            break;
        case 8:
            unit = Label_UD[1];
            break;
        case 13:
            unit = Label_CF[13];
            break;
        case 14:
            unit = Label_Min;
            break;
        case 17:
        case 18:
        case 19:
            unit = Label_CF[size_t(k - 3)];
            break;
        default:
            break;
        }
        Label_oth[size_t(k)] = captionLabel(idx("Label_oth", k));
        Label_othval[size_t(k)] = makeValueBox(Frame_Other, idx("Label_othval", k));
        Label_othval[size_t(k)]->setFixedWidth(kOtherValueWidth);
        Label_othval[size_t(k)]->setWordWrap(true);
        addRow(g, k, Label_oth[size_t(k)], Label_othval[size_t(k)], unit, kOtherItems[k] - 10);
    }
    v->addStretch(1);
    return page;
}

QWidget* MainDisp::buildOther2Page()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    QGridLayout* g = nullptr;
    Frame_Other2 = addGroup(v, 6, QStringLiteral("Frame_Other2"), g);
    Label_oth[23] = captionLabel(QStringLiteral("Label_oth(23)"));
    Label_othval[23] = makeValueBox(Frame_Other2, QStringLiteral("Label_othval(23)"));
    Label_othval[23]->setFixedWidth(kOtherValueWidth);
    addRow(g, 0, Label_oth[23], Label_othval[23], nullptr, kOtherItems[23] - 10);
    v->addStretch(1);
    return page;
}

} // namespace qmx
