// Going online and offline with the Online button, and the offline look of the main window.
#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "ui/main/main_disp.h"

#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>

namespace qmx {

namespace {

constexpr uint32_t kOnlineButton = 0xFF0000; // blue
constexpr uint32_t kOnlineLabel = 0xC0FFFF;  // pale yellow

void setButtonColor(QPushButton* b, const QColor& c)
{
    QPalette p = b->palette();
    p.setColor(QPalette::Button, c);
    b->setPalette(p);
}

} // namespace

void MainDisp::Cmd_ONOFF_Click()
{
    // The button talks to the controller; it waits while another step does.
    if (inLongStep()) {
        ui::Beep();
        return;
    }
    LongStep step(*this);
    if (!d.CommSetOK && !firstConnection())
        return;
    if (d.OnLine)
        goOffline();
    else if (!d.DataChanged)
        goOnline();
    else
        askUnsavedData();
}

bool MainDisp::firstConnection()
{
    checkcommunicate1();
    while (d.ModelRetry && d.ModelErr && !QuitRequested())
        checkcommunicate1();
    mnuFile->setEnabled(true);
    mnuSet->setEnabled(true);

    if (!d.CommSetOK) {
        // The model check, or the map file's own message, has already said what went wrong.
        if (!d.ModelErr && !mapFileUnusable_)
            ui::MsgBox(LoadResLines({451, 270}), ui::Buttons::OK, ui::Icon::None);
        SSTab1->setFocus();
        Timer1.stop();
        Timer6.stop();
        d.ComOK = false;
        QMXCom->Com_Close();
        d.OnLine = false;
        dropRequests();
        ofline();
        d.SpecCheck = true;
        return false;
    }

    Lbl_comm[0]->setText(QMXCom->Com_Port());
    Lbl_comm[1]->setText(QMXCom->Com_Speed());
    Lbl_comm[2]->setText(d.Databit + QStringLiteral(", ") + d.Parity);
    Lbl_comm[3]->setText(d.Stopbit);
    Lbl_comm[4]->setText(d.strAdr);
    static const char* const kProtocolNames[] = {"Velder", "Modbus ASCII", "Modbus RTU"};
    if (d.ProtocolSel >= 0 && d.ProtocolSel <= 2)
        Lbl_comm[5]->setText(QLatin1String(kProtocolNames[d.ProtocolSel]));

    saveLink(*openSettings(), {QMXCom->Com_Port(), d.Speed, d.Databit, d.Stopbit, d.Parity,
                               d.strAdr, d.ProtocolSel});
    return true;
}

void MainDisp::closeLockedLink()
{
    // Locked again before the port closes, so the controller is never left open to writes.
    link->Clear_Key();
    Timer1.stop();
    Timer6.stop();
    d.ComOK = false;
    QMXCom->Com_Close();
}

void MainDisp::goOffline()
{
    if (d.ComOK) {
        // The edits the operator accepted go out while the controller is still unlocked.
        writeQueuedEdits();
        closeLockedLink();
    }
    dropRequests();
    stopTrace();
    // While online the controller spoke the maker's protocol; it goes back to Modbus only after
    // its power has been turned off and on.
    if (d.ProtocolSel != 0)
        ui::MsgBox(LoadResLines({354, 355, 356}), ui::Buttons::OK, ui::Icon::None);
    ui::Beep();
    d.OnLine = false;
    d.Protocol = d.ProtocolSel;
    ofline();
    d.SpecCheck = true;
    SSTab1->setFocus();
}

void MainDisp::writeKeyInAllProtocols()
{
    // A link to the controller begins: what it held the last time may have been changed at its
    // keys since.
    link->record().clear();
    // Whatever protocol the controller is set to, one of the three writes unlocks it, and from
    // then on it speaks the maker's protocol (Write_Key leaves Protocol at 0).
    for (int protocol : {0, 1, 2}) {
        d.Protocol = protocol;
        link->Write_Key(QString::fromLatin1(kAccessKey));
    }
}

void MainDisp::showOnlineLook()
{
    Label4->setText(LoadResString(162));
    setBackColor(Label4, kOnlineLabel);
    mnuComset->setEnabled(false);
    mnuOpset->setEnabled(false);
    Cmd_ONOFF->setText(LoadResString(75));
    setButtonColor(Cmd_ONOFF, colorFromBgr(kOnlineButton));
    Label2->setText(LoadResString(74));
    setBackColor(Label2, kOnlineLabel);
}

void MainDisp::goOnline()
{
    ui::Beep();
    d.OnLine = true;
    if (!d.ComOK) {
        d.ComOK = true;
        QMXCom->Com_Open();
    } else if (!QMXCom->Com_Open()) {
        QMXCom->Com_Open();
    }
    writeKeyInAllProtocols();
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());
    d.ComMode = 1;
    showOnlineLook();
    Timer1.start();
    Timer6.start();
    // A refusal has already taken the link down; a controller of another model is not monitored.
    if (Setdata_read() == OnlineCheck::ModelError)
        goFullyOffline();
    SSTab1->setFocus();
}

void MainDisp::askUnsavedData()
{
    const QString title = LoadResString(1);
    auto ask = [&](const QString& text) {
        return ui::MsgBox(text, ui::Buttons::YesNo, ui::Icon::Question, title) == ui::Answer::Yes;
    };
    if (ask(LoadResLines({362, 363}))) {
        mnuSave_Click();
        // No file written: the operator stays offline with the data unsaved.
        if (!d.SpecCheck) {
            SSTab1->setFocus();
            return;
        }
        if (ask(LoadResString(516)))
            goOnlineAfterQuestions(3);
        else
            ui::Beep();
    } else {
        goOnlineAfterQuestions(ask(LoadResString(516)) ? 3 : 1);
    }
    SSTab1->setFocus();
}

void MainDisp::goOnlineAfterQuestions(int mode)
{
    ui::Beep();
    d.OnLine = true;
    if (!d.ComOK) {
        d.ComOK = true;
        QMXCom->Com_Open();
    }
    writeKeyInAllProtocols();
    const OnlineCheck check = Setdata_read(mode == 3);
    if (check == OnlineCheck::Passed || check == OnlineCheck::Adopted) {
        d.ComMode = 1;
        if (mode != 1)
            requestComMode(mode);
        showOnlineLook();
        Timer1.start();
        Timer6.start();
        return;
    }
    if (check == OnlineCheck::ModelError)
        goFullyOffline();
    StatusBar1->setPanel(1, QString());
    StatusBar1->setPanel(4, QString());
}

void MainDisp::goFullyOffline()
{
    if (d.ComOK)
        closeLockedLink();
    dropRequests();
    if (d.ProtocolSel != 0)
        ui::MsgBox(LoadResLines({354, 355, 356}), ui::Buttons::OK, ui::Icon::None);
    d.OnLine = false;
    d.Protocol = d.ProtocolSel;
    ofline();
    d.SpecCheck = true;
}

void MainDisp::ofline()
{
    // Every way offline (a refused go-online, a download that found another controller) ends a
    // running trend as the Online button does.
    stopTrace();
    mnuComset->setEnabled(true);
    mnuOpset->setEnabled(true);
    Cmd_ONOFF->setText(LoadResString(74));
    setButtonColor(Cmd_ONOFF, QApplication::palette(Cmd_ONOFF).color(QPalette::Button));
    StatusBar1->setPanel(1, QString());
    Label2->setText(LoadResString(75));
    setBackColor(Label2, colour::White);
    Label4->setText(LoadResString(161));
    setBackColor(Label4, colour::White);
    Text_readmsg2->setVisible(false);
}

} // namespace qmx
