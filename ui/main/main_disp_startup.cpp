// Loading and unloading the main window, and the guard that keeps a confirmed close from freeing
// what a running long step still uses.
#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "ui/main/main_disp.h"

#include "files/pen_files.h"
#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/dialogs/help_window.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QSettings>
#include <QTabWidget>

namespace qmx {

namespace {

// A saved number, or `def` when the text is not a number or lies outside lo..hi.
int savedInt(const QSettings& s, const QString& key, int def, int lo, int hi)
{
    bool ok = false;
    const int v = s.value(key, QString::number(def)).toString().trimmed().toInt(&ok);
    return ok && v >= lo && v <= hi ? v : def;
}

} // namespace

void MainDisp::system_init()
{
    Velder_ChartCtl& chart = *Velder_ChartCtl1;
    // A pen file that cannot be read or written never ends the start: its settings take their
    // defaults in memory and the operator hears of it once.
    Velder_ChartCtl::PenWriteGroup group(chart);
    for (const PenFileFailure& f : loadPenFiles(chart.programFolder(), chart.settings()))
        chart.reportPenError(f.path, f.why);

    if (!loaded_)
        Form_Load();
    chart.ReadProperties(Velder_ChartCtl::mainLayoutProperties());

    const ChartSettings& s = chart.settings();
    chart.setYScaleDivision(QString::number(s.ChartDiv));
    switch (s.ChartXMode) {
    case 0:
        chart.setXScaleShort(true);
        break;
    case 1:
        chart.setXScaleLong(true);
        break;
    default:
        chart.setXScaleMidole(true);
        break;
    }
    chart.setXScaleTime(QString::number(s.ChartItv));
    chart.setYScaleHigh(QString::number(s.ChartSH));
    chart.setYScaleLow(QString::number(s.ChartSL));
    // The chart takes its pen colours last, once its other settings are in place.
    chart.color_set();
}

void MainDisp::Form_Load()
{
    loaded_ = true;
    newQMXCom();

    // The help file follows the language the string table speaks.
    const bool english = LoadResString(2) == LoadResString(2, Language::English);
    HelpPath =
        QCoreApplication::applicationDirPath() +
        (english ? QStringLiteral("/DFX-QMX07K_E.html") : QStringLiteral("/DFX-QMX07K_J.html"));

    d.Fill_CommNoTbl();
    setCaptions();
    readSettings();
    d.onWriteRequested = [this] { Timer1.start(); };

    if (d.StartDataRead) {
        Read_data3();
        Disp_SStab2(SSTab2->currentIndex());
    }
}

void MainDisp::readSettings()
{
    const auto s = openSettings();
    d.Port = s->value(QStringLiteral("Port"), QStringLiteral("COM1")).toString();
    d.Speed = s->value(QStringLiteral("Speed"), QStringLiteral("9600")).toString();
    d.Databit = s->value(QStringLiteral("Databit"), QStringLiteral("7")).toString();
    d.Stopbit = s->value(QStringLiteral("Stopbit"), QStringLiteral("1")).toString();
    d.Parity = s->value(QStringLiteral("Parity"), QStringLiteral("EVEN")).toString();
    d.strAdr = s->value(QStringLiteral("strAdr"), QStringLiteral("00")).toString();
    d.Protocol = savedInt(*s, QStringLiteral("Protocol"), 0, 0, 2);
    SSTab1->setCurrentIndex(savedInt(*s, QStringLiteral("SSTab1"), 0, 0, SSTab1->count() - 1));
    SSTab2->setCurrentIndex(savedInt(*s, QStringLiteral("SSTab2"), 0, 0, SSTab2->count() - 1));

    // Until a link confirms a protocol, the saved one stands; and the communication object starts
    // from the saved line settings, so an exit before any link writes back what was saved.
    d.ProtocolSel = d.Protocol;
    QMXCom->setCom_Port(d.Port);
    QMXCom->setCom_Speed(d.Speed);
    QMXCom->setCom_Databit(d.Databit);
    QMXCom->setCom_Stopbit(d.Stopbit);
    QMXCom->setCom_Parity(d.Parity);
}

void MainDisp::mnuExit_Click()
{
    bool Cancel = false;
    Form_Unload(Cancel);
}

void MainDisp::closeEvent(QCloseEvent* e)
{
    if (ending_) {
        e->accept();
        return;
    }
    // The window goes only through the end of the unload step.
    e->ignore();
    bool Cancel = false;
    Form_Unload(Cancel);
}

void MainDisp::Form_Unload(bool& Cancel)
{
    // A second close while the question is still open adds nothing.
    if (unloading_ || ending_ || quitRequested_) {
        Cancel = true;
        return;
    }
    unloading_ = true;
    StatusBar1->setPanel(1, QString());
    {
        const auto s = openSettings();
        s->setValue(QStringLiteral("SSTab1"), QString::number(SSTab1->currentIndex()));
        s->setValue(QStringLiteral("SSTab2"), QString::number(SSTab2->currentIndex()));
        if (d.CommSetOK)
            s->setValue(QStringLiteral("strAdr"), d.strAdr);
    }

    const auto answer =
        ui::MsgBox(LoadResString(95), ui::Buttons::YesNo, ui::Icon::Question, LoadResString(1));
    unloading_ = false;
    if (answer != ui::Answer::Yes) {
        ui::Beep();
        if (!d.CommSetOK) {
            if (d.ComOK) {
                Timer1.start();
                Timer6.start();
                QMXCom->Com_Open();
            }
            mnuFile->setEnabled(true);
            mnuOnline->setEnabled(true);
            mnuSet->setEnabled(true);
        }
        Cancel = true;
        return;
    }

    if (inLongStep()) {
        // A search, transfer or wait is still running below us: it ends first, then the program.
        quitRequested_ = true;
        d.CancelFlag = true;
        Cancel = true;
        return;
    }
    unloadConfirmed();
}

void MainDisp::unloadConfirmed()
{
    {
        d.Protocol = d.ProtocolSel;
        saveLink(*openSettings(),
                 {QMXCom->Com_Port(), QMXCom->Com_Speed(), QMXCom->Com_Databit(),
                  QMXCom->Com_Stopbit(), QMXCom->Com_Parity(), QString(), d.Protocol});
    }
    if (d.Protocol != 0) {
        // The controller speaks only the maker's protocol until it is switched off and on.
        ui::MsgBox(LoadResLines({354, 355, 356}), ui::Buttons::OK, ui::Icon::None);
    }
    if (d.ComOK) {
        Timer1.stop();
        Timer6.stop();
        QMXCom->Com_Close();
    }
    link.reset();
    QMXCom.reset();
    endProgram();
}

void MainDisp::endProgram()
{
    ending_ = true;
    for (QTimer* t : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6})
        t->stop();
    d.onWriteRequested = nullptr;
    subWindows_.closeAll();
    close();
    emit programEnded();
}

void MainDisp::whenProgramEnds(QObject* context, std::function<void()> f)
{
    connect(this, &MainDisp::programEnded, context, std::move(f));
}

MainDisp::LongStep::LongStep(MainDisp& w) : w_(w)
{
    ++w_.longStepDepth_;
}

MainDisp::LongStep::~LongStep()
{
    // Whatever the step changed of the screen data (an upload, a write put back, the end of a
    // download, the link set-up's refresh) is on the pages before the clicks held during it run:
    // an open edit meets its hidden or refused set button before its OK can write.
    if (w_.longStepDepth_ == 1 && !w_.quitRequested_ && !w_.ending_)
        w_.relayPagesIfStale();
    if (--w_.longStepDepth_ == 0 && w_.quitRequested_ && !w_.ending_) {
        // Leave the step's frames entirely before the communication object goes.
        QTimer::singleShot(0, &w_, [w = &w_] {
            if (!w->ending_ && !w->inLongStep())
                w->unloadConfirmed();
        });
    }
}

bool MainDisp::Wait_100ms()
{
    LongStep step(*this);
    WaitFlag = false;
    Timer4.setInterval(100);
    Timer4.start();
    while (!WaitFlag && !quitRequested_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (quitRequested_)
        Timer4.stop();
    return !quitRequested_;
}

} // namespace qmx
