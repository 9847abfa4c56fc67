// The main window in-process: its named controls, colours, set-data file menus, the model-change
// and trace refusals, and a close during a long step.
#include "window_fixture.h"

#include "files/setdata_file.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/ui_widgets.h"

#include <QAction>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace qmx;

namespace {

void writeLines(const QString& path, const QStringList& lines)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const QString& l : lines)
        f.write(l.toLatin1() + "\r\n");
}

// A set-data file: marker, header word, six option words, then items 11.. in order.
QStringList setFile(const QString& marker, int head, std::array<int, 6> opt, int values)
{
    QStringList l{QLatin1Char('"') + marker + QLatin1Char('"'), QString::number(head)};
    for (int o : opt)
        l << QString::number(o);
    for (int i = 0; i < values; ++i)
        l << QString::number(100 + i);
    return l;
}

// The window's own controls of that name: the chart's controls are its own (they are addressed as
// "MainDisp/Velder_ChartCtl1/Label1(0)").
int ownNamed(MainDisp& w, const QString& n)
{
    int count = 0;
    for (QWidget* c : w.findChildren<QWidget*>(n))
        count += c != w.Velder_ChartCtl1 && w.Velder_ChartCtl1->isAncestorOf(c) ? 0 : 1;
    return count;
}

} // namespace

using MainWindow = WindowFixture;

TEST_F(MainWindow, EveryControlCarriesItsName)
{
    const struct {
        const char* name;
        int from, to;
    } arrays[] = {
        {"Cmd_True", 0, 6},      {"Manuval", 0, 5},       {"Lbl_com", 0, 5},
        {"Lbl_comm", 0, 5},      {"Label_Alm1", 0, 4},    {"Label_A1val", 0, 4},
        {"Label_Alm2", 0, 4},    {"Label_A2val", 0, 4},   {"Label_Alm_HB", 0, 1},
        {"Label_HBval", 0, 1},   {"Label_pid", 0, 10},    {"Label_pidval", 0, 10},
        {"Label_cool", 0, 6},    {"Label_coolval", 0, 6}, {"Label_oth", 0, 23},
        {"Label_othval", 0, 23}, {"Label_CF", 0, 17},     {"Label_UD", 0, 1},
        {"Label1", 0, 6},        {"Label21", 0, 4},       {"Label18", 0, 1},
        {"lbl_alm", 0, 4},       {"Lbl_HB", 0, 1},        {"Label_HB", 0, 3},
        {"Text_HB", 1, 2},       {"Text_MV", 0, 1},       {"Text_SV", 0, 1},
        {"Label3", 0, 0},
    };
    for (const auto& a : arrays)
        for (int i = a.from; i <= a.to; ++i) {
            const QString n = QStringLiteral("%1(%2)").arg(QLatin1String(a.name)).arg(i);
            EXPECT_EQ(ownNamed(*w, n), 1) << n.toStdString();
        }
    int setButtons = 0;
    for (int i = 0; i <= 57; ++i) {
        QPushButton* b = w->findChild<QPushButton*>(QStringLiteral("Cmd_set(%1)").arg(i));
        EXPECT_EQ(b != nullptr, i >= 1 && i <= 56 && i != 37) << i;
        EXPECT_EQ(b, i <= 56 ? w->Cmd_set[size_t(i)] : nullptr) << i;
        setButtons += b != nullptr;
    }
    EXPECT_EQ(setButtons, 55);
    for (const char* n :
         {"SSTab1",        "SSTab2",        "StatusBar1",    "Velder_ChartCtl1", "Frame1",
          "Frame2",        "Frame3",        "Frame4",        "Frame5",           "Frame6",
          "Frame8",        "Frame_Alarm1",  "Frame_Alarm2",  "Frame_HB",         "Frame_Heat",
          "Frame_Cool",    "Frame_Other",   "Frame_Other2",  "Text_PV",          "Label23",
          "Label58",       "Label_atm",     "Label_OUTOFF",  "Label5",           "Label2",
          "Label4",        "Label6",        "Label_Min",     "lbl_OUT",          "Lbl_UPmsg",
          "Lbl_UPmsg2",    "Text_readmsg1", "Text_readmsg2", "Text_readmsg3",    "Text_readmsg4",
          "Text_readmsg5", "ProgressBar1",  "ProgressBar2",  "Cmd_ONOFF",        "Command1",
          "Command2"})
        EXPECT_EQ(ownNamed(*w, QLatin1String(n)), 1) << n;
    for (const char* n : {"mnuFile", "mnuUpload", "mnuDownload", "mnuSave", "mnuLoad", "mnudata",
                          "mnuexport", "mnuFilePrint", "mnuExit", "mnuOnline", "mnuTrace", "mnuSet",
                          "mnuComset", "mnuOpset", "mnuHelp", "mnuHelp2", "mnuVer"})
        EXPECT_EQ(w->findChildren<QAction*>(QLatin1String(n)).size(), 1) << n;
    EXPECT_EQ(w->objectName(), QStringLiteral("MainDisp"));
    EXPECT_EQ(w->Timer1.interval(), 50);
    EXPECT_EQ(w->Timer6.interval(), 500);
    EXPECT_FALSE(w->Timer1.isActive());
}

TEST_F(MainWindow, GroupButtonsSitOutsideTheFramesTheySwitch)
{
    QWidget* frames[7] = {w->Frame_Alarm1, w->Frame_Alarm2, w->Frame_HB,    w->Frame_Heat,
                          w->Frame_Cool,   w->Frame_Other,  w->Frame_Other2};
    for (int i = 0; i < 7; ++i) {
        EXPECT_FALSE(frames[i]->isAncestorOf(w->Cmd_True[size_t(i)])) << i;
        w->Cmd_True_Click(i);
        EXPECT_TRUE(w->Cmd_True[size_t(i)]->isEnabled()) << i; // still pressable to switch back
    }
}

TEST_F(MainWindow, ColoursAreBlueGreenRedValues)
{
    EXPECT_EQ(colorFromBgr(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(colorFromBgr(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(colorFromBgr(0x00C000), QColor(0, 0xC0, 0));
    EXPECT_EQ(colorFromBgr(0x00FFFF), QColor(255, 255, 0));
    setBackColor(w->lbl_alm[0], colour::Red);
    EXPECT_EQ(w->lbl_alm[0]->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_TRUE(w->lbl_alm[0]->styleSheet().isEmpty());
    EXPECT_EQ(w->Label2->palette().color(QPalette::Window), QColor(255, 255, 255));
}

TEST_F(MainWindow, LoadWhileOnlineIsRefusedAndChangesNothing)
{
    d.OnLine = true;
    answers({QStringLiteral("OK")});
    w->Label6->setText(QStringLiteral("before.dat"));
    w->mnuLoad_Click();
    EXPECT_EQ(texts(), QStringList{S(701)});
    EXPECT_EQ(log()[0].value(QStringLiteral("buttons")).toArray(),
              QJsonArray{QStringLiteral("OK")});
    EXPECT_EQ(w->Label6->text(), QStringLiteral("before.dat"));
    EXPECT_FALSE(d.DataValid);

    // Offline, while a step works on the screen data (a download from offline): a beep only.
    d.OnLine = false;
    {
        qmx::MainDisp::LongStep busy(*w);
        w->mnuLoad_Click();
    }
    EXPECT_EQ(texts(), (QStringList{S(701), QStringLiteral("<beep>")}));
    EXPECT_FALSE(d.DataValid);
}

TEST_F(MainWindow, LoadAnsweredNoOrCancelledChangesNothing)
{
    answers({QStringLiteral("No"), QStringLiteral("Yes"), QStringLiteral("Cancel")});
    w->mnuLoad_Click();
    w->mnuLoad_Click();
    EXPECT_EQ(texts(), (QStringList{S(535), S(535), QStringLiteral("<file>")}));
    EXPECT_EQ(log()[0].value(QStringLiteral("icon")).toString(), QStringLiteral("exclamation"));
    EXPECT_EQ(log()[2].value(QStringLiteral("answer")).toString(), QStringLiteral("Cancel"));
    EXPECT_FALSE(d.DataValid);
    EXPECT_FALSE(d.DataChanged);
}

TEST_F(MainWindow, ABadFileIsRefusedWholeAndChangesNothing)
{
    const QString bad = dir.filePath(QStringLiteral("short.dat"));
    writeLines(bad,
               setFile(QStringLiteral("QMX-400"), 0, {1, 1, 2, 1, 2, 1}, 30)); // 30 of 55 values
    w->Label6->setText(QStringLiteral("before.dat"));
    const int16_t p13 = d.ParaVal(13);
    answers({QStringLiteral("Yes"), bad, QStringLiteral("OK")});
    w->mnuLoad_Click();
    EXPECT_EQ(texts(), (QStringList{S(535), QStringLiteral("<file>"), S(27)}));
    EXPECT_EQ(w->Label6->text(), QStringLiteral("before.dat"));
    EXPECT_EQ(d.OptSet_Alarm2, 0);
    EXPECT_EQ(d.ParaVal(13), p13);
    EXPECT_FALSE(d.DataValid);
    EXPECT_FALSE(d.DataChanged);
    EXPECT_TRUE(w->ProgressBar1->isHidden());
}

TEST_F(MainWindow, AGoodFileReplacesTheDataAndMarksIt)
{
    const QString path = dir.filePath(QStringLiteral("cleared.dat"));
    writeLines(path, setFile(QStringLiteral("QMX-400"), 1, {1, 1, 2, 1, 2, 1}, 55));
    answers({QStringLiteral("Yes"), path});
    w->mnuLoad_Click();
    EXPECT_EQ(w->Label6->text(), QStringLiteral("cleared.dat"));
    // Header word 1 clears the option set.
    EXPECT_EQ(d.OptSet_Alarm2 + d.OptSet_HeatCool + d.OptSet_HB + d.OptSet_SVsel +
                  d.OptSet_OutType + d.OptSet_Comm,
              0);
    EXPECT_EQ(d.ParaVal(11), 100);
    EXPECT_EQ(d.ParaVal(65), 154);
    EXPECT_FALSE(d.RDModel);
    EXPECT_TRUE(d.DataValid);
    EXPECT_TRUE(d.SpecCheck);
    EXPECT_TRUE(d.DataChanged);
    EXPECT_TRUE(w->ProgressBar1->isHidden());
    EXPECT_EQ(w->ProgressBar1->maximum(), 62);

    const QString rd = dir.filePath(QStringLiteral("rd.dat"));
    writeLines(rd, setFile(QStringLiteral("RDQMX"), 0, {0, 0, 1, 0, 0, 0}, 56));
    answers({QStringLiteral("Yes"), rd});
    w->mnuLoad_Click();
    EXPECT_TRUE(d.RDModel);
    EXPECT_EQ(d.OptSet_HB, 1);
    EXPECT_EQ(d.ParaVal(66), 155);
}

TEST_F(MainWindow, ASaveClearsDataChangedAndAFailedSaveSaysSo)
{
    d.DataChanged = true;
    const QString bad = dir.filePath(QStringLiteral("no/such/folder/x.dat"));
    answers({bad, QStringLiteral("OK")});
    w->mnuSave_Click();
    ASSERT_EQ(log().size(), 3);
    EXPECT_EQ(log()[2].value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
    EXPECT_TRUE(
        log()[2].value(QStringLiteral("text")).toString().contains(QStringLiteral("x.dat")));
    EXPECT_TRUE(d.DataChanged);
    EXPECT_TRUE(w->ProgressBar1->isHidden());

    const QString good = dir.filePath(QStringLiteral("good.dat"));
    answers({good});
    w->mnuSave_Click();
    EXPECT_FALSE(d.DataChanged);
    EXPECT_TRUE(d.SpecCheck);
    EXPECT_EQ(d.FileHead, 0);
    EXPECT_TRUE(readSetDataFile(good).has_value());
}

TEST_F(MainWindow, ModelChangeAndTraceAreRefusedWhereTheyCannotRun)
{
    answers({QStringLiteral("OK"), QStringLiteral("OK")});
    d.OnLine = true;
    w->mnuOpset->trigger();
    d.OnLine = false;
    w->mnuTrace->trigger();
    EXPECT_FALSE(w->mnuTrace->isChecked());
    EXPECT_FALSE(w->Velder_ChartCtl1->isRunning());
    // Offline the model change opens its dialog; closing it at once asks nothing more.
    bool opened = false;
    QTimer::singleShot(0, w.get(), [&] {
        if (auto* dialog = w->findChild<QDialog*>(QStringLiteral("SubDisp_Opset"))) {
            opened = dialog->isModal();
            dialog->reject();
        }
    });
    w->mnuOpset->trigger();
    EXPECT_TRUE(opened);
    // The Trace menu beeps first, then refuses.
    EXPECT_EQ(texts(),
              (QStringList{S(59), QStringLiteral("<beep>"), S(159), QStringLiteral("<beep>")}));

    d.OnLine = true;
    w->mnuTrace->trigger();
    EXPECT_TRUE(w->mnuTrace->isChecked());
    EXPECT_TRUE(w->Velder_ChartCtl1->isRunning());
    w->mnuTrace->trigger();
    EXPECT_FALSE(w->mnuTrace->isChecked());
}

TEST_F(MainWindow, AWriteRequestWakesTheScheduler)
{
    d.ParaNo = 19;
    w->Req_Write();
    EXPECT_EQ(d.ComMode, 2);
    EXPECT_TRUE(w->Timer1.isActive());
    w->Cmd_set_Click(26);
    EXPECT_EQ(d.ParaNo, 36);
    w->Command1->click();
    EXPECT_TRUE(d.CancelFlag);
}

TEST_F(MainWindow, NoToTheCloseQuestionKeepsTheWindowAndSavesThePages)
{
    d.CommSetOK = true;
    d.strAdr = QStringLiteral("12");
    w->SSTab2->setCurrentIndex(2);
    w->mnuFile->setEnabled(false);
    answers({QStringLiteral("No")});
    QSignalSpy ended(w.get(), &MainDisp::programEnded);
    w->show();
    w->close();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(ended.count(), 0);
    EXPECT_TRUE(w->QMXCom);
    EXPECT_FALSE(w->mnuFile->isEnabled()); // a confirmed link leaves the menus to the link
    const auto s = openSettings();
    EXPECT_EQ(s->value(QStringLiteral("SSTab2")).toString(), QStringLiteral("2"));
    EXPECT_EQ(s->value(QStringLiteral("strAdr")).toString(), QStringLiteral("12"));
    EXPECT_EQ(texts(), (QStringList{S(95), QStringLiteral("<beep>")}));

    d.CommSetOK = false;
    answers({QStringLiteral("No")});
    w->close();
    EXPECT_TRUE(w->mnuFile->isEnabled());
}

TEST_F(MainWindow, ACloseDuringALongStepWaitsForTheStepToEnd)
{
    d.ProtocolSel = 1;
    answers({QStringLiteral("Yes"), QStringLiteral("OK")});
    QSignalSpy ended(w.get(), &MainDisp::programEnded);
    w->show();
    QTimer::singleShot(10, w.get(), [this] { w->close(); });
    bool stepGoesOn = true;
    {
        MainDisp::LongStep step(*w);
        stepGoesOn = w->Wait_100ms();
        // The step still has everything it uses.
        EXPECT_TRUE(w->QMXCom);
        EXPECT_TRUE(w->QuitRequested());
        EXPECT_EQ(ended.count(), 0);
        EXPECT_FALSE(w->Wait_100ms()); // a later wait in the same step returns at once
    }
    EXPECT_FALSE(stepGoesOn);
    EXPECT_TRUE(d.CancelFlag);
    ASSERT_TRUE(ended.wait(2000));
    EXPECT_FALSE(w->QMXCom);
    EXPECT_FALSE(w->isVisible());
    const auto s = openSettings();
    EXPECT_EQ(s->value(QStringLiteral("Protocol")).toString(), QStringLiteral("1"));
    EXPECT_EQ(s->value(QStringLiteral("Port")).toString(), QStringLiteral("COM1"));
    EXPECT_EQ(texts().size(), 2); // the question, then the power-cycle notice
}

TEST_F(MainWindow, AWaitLetsOtherEventsRun)
{
    int ticks = 0;
    QTimer t;
    t.setInterval(5);
    QObject::connect(&t, &QTimer::timeout, [&ticks] { ++ticks; });
    t.start();
    // The transfers give the controller this pause: it may end late on a busy machine, never early.
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer waited;
        waited.start();
        EXPECT_TRUE(w->Wait_100ms());
        EXPECT_GE(waited.elapsed(), 100) << "wait " << i;
    }
    EXPECT_GT(ticks, 0); // other events ran during the wait
    EXPECT_FALSE(w->inLongStep());
}

TEST_F(MainWindow, TheChartKeepsWhatItIsHanded)
{
    Velder_ChartCtl* c = w->Velder_ChartCtl1;
    c->setPv0Caption(QStringLiteral("----U1370"));
    c->setSv0Caption(QStringLiteral("100.0"));
    c->setMv1Caption(QStringLiteral("45.5"));
    c->setMv2Caption(QString());
    // Over its range PV shows and keeps only the dashes; the plot takes the scale high.
    EXPECT_EQ(c->Pv0Caption(), QStringLiteral("----"));
    EXPECT_EQ(c->property("Sv0Caption").toString(), QStringLiteral("100.0"));
    EXPECT_EQ(c->Mv1Caption(), QStringLiteral("45.5"));
    c->setChartMaxCh(0);
    EXPECT_EQ(c->ChartMaxCh(), 0);
    EXPECT_FALSE(c->isRunning());
    // Offline the chart refuses to start; online it starts and stops.
    answers({QStringLiteral("OK")});
    c->auto_run();
    EXPECT_FALSE(c->isRunning());
    EXPECT_EQ(texts().last(), S(159));
    d.OnLine = true;
    c->auto_run();
    EXPECT_TRUE(c->isRunning());
    c->auto_run();
    EXPECT_FALSE(c->isRunning());
}
