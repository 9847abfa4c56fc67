// Link set-up and search: the first connection with the saved settings, the connection with the
// settings of the dialog, the port scan, the exhaustive search, and the set-up after a link was
// found. Each of them holds the long-step guard: they block in exchanges and let events run, and
// no other step may start meanwhile.
#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "ui/main/main_disp.h"

#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/dialogs/opening_disp.h"
#include "ui/dialogs/subdisp_comm.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>

namespace qmx {

namespace {

const QChar kAck(0x06);
constexpr uint32_t kOnlineBack = 0xC0FFFF; // pale yellow: the monitor runs

void applyLineSettings(Velder_Comm& c, const QmxData& d)
{
    c.setCom_Port(d.Port);
    c.setCom_Speed(d.Speed);
    c.setCom_Databit(d.Databit);
    c.setCom_Stopbit(d.Stopbit);
    c.setCom_Parity(d.Parity);
}

// The library wants to be asked twice; only the second answer counts.
bool openTwice(Velder_Comm& c)
{
    c.Com_Open();
    return c.Com_Open();
}

// One read of the main set value's register: does a controller answer with these settings?
bool probeLink(MainDisp& w, int count)
{
    QmxData& d = w.d;
    const QString reply =
        w.Sendcomm(d.strAdr, QString(), QStringLiteral("03"), d.CommNoTbl(11), QString(), count);
    if (d.Protocol == 0)
        return !reply.isEmpty() && reply[0] == kAck;
    return reply.mid(3, 4) == u"0302";
}

void setMenus(std::initializer_list<QAction*> menus, bool on)
{
    for (QAction* a : menus)
        a->setEnabled(on);
}

// The search notice on both pages; hiding it puts back the plain caption.
void searchNotice(MainDisp& w, bool on)
{
    if (!on) {
        w.Text_readmsg1->setText(LoadResString(261));
        w.Text_readmsg4->setText(LoadResString(261));
    }
    w.Frame3->setVisible(on);
    w.Frame6->setVisible(on);
}

// Under the notice, what the search tries now, so the operator sees it move.
void showTrial(MainDisp& w)
{
    const Velder_Comm& c = *w.QMXCom;
    const QString text = LoadResString(261) + QLatin1Char('\n') + c.Com_Port() +
                         QStringLiteral("  ") + c.Com_Speed() + QStringLiteral(" bps  ") +
                         protocolName(w.d.Protocol) + QStringLiteral("  ") + LoadResString(268) +
                         QStringLiteral(" ") + w.d.strAdr;
    w.Text_readmsg1->setText(text);
    w.Text_readmsg4->setText(text);
}

// After a search or scan that found nothing: the shared settings and the library go back to the
// saved link, so neither the Online button nor the save on quitting takes the last trial for it.
void restoreSavedLink(MainDisp& w)
{
    readSavedLink(*openSettings(), w.d);
    applyLineSettings(*w.QMXCom, w.d);
}

// After a failed first connection: port closed, no working settings, menus back.
void cleanupA(MainDisp& w)
{
    QmxData& d = w.d;
    w.QMXCom->Com_Close();
    w.QMXCom->setCom_TimeOut(300);
    d.CommSetOK = false;
    d.OnLine = false;
    d.ManualComset = false;
    // The port is closed and nothing answered: no step may take the link for up.
    d.ComOK = false;
    setMenus({w.mnuFile, w.mnuSet}, true);
    w.StatusBar1->setPanel(1, QString());
}

// The end of a failed or cancelled search or dialog connection.
void cleanupB(MainDisp& w, const QString& message)
{
    QmxData& d = w.d;
    if (!d.StartDataRead)
        w.Disp_SStab2(w.SSTab2->currentIndex());
    d.ScreenSet = true;
    ui::MsgBox(message, ui::Buttons::OK, ui::Icon::None);
    d.CommSetOK = false;
    d.OnLine = false;
    w.StatusBar1->setPanel(1, QString());
}

// While the search runs only its Cancel buttons answer: the menus, the live panel and the
// settings pages are switched off, and given back as they were.
struct SearchFreeze {
    explicit SearchFreeze(MainDisp& w) : parts{w.menuBar(), w.Frame1, w.SSTab2}
    {
        for (size_t i = 0; i < parts.size(); ++i) {
            were[i] = parts[i]->isEnabled();
            parts[i]->setEnabled(false);
        }
    }
    ~SearchFreeze()
    {
        for (size_t i = 0; i < parts.size(); ++i)
            parts[i]->setEnabled(were[i]);
    }
    std::array<QWidget*, 3> parts;
    std::array<bool, 3> were{};
};

} // namespace

void MainDisp::checkcommunicate1()
{
    LongStep step(*this);
    mapFileUnusable_ = false;
    newQMXCom();
    QMXCom->Com_Option1();
    setMenus({mnuFile, mnuSet}, false);
    applyLineSettings(*QMXCom, d);
    QMXCom->setCom_TimeOut(200);
    QMXCom->Com_Option2();
    QMXCom->Com_Close();
    if (!openTwice(*QMXCom)) {
        QMXCom->Com_Close();
        // Nothing else gives these menus back before the next connection.
        setMenus({mnuFile, mnuSet}, true);
        return;
    }

    // A controller that answers goes on whether or not it carries a user map.
    const MapCheck map = Check_UserMap();
    if (QuitRequested())
        return;
    if (map != MapCheck::Answered) {
        cleanupA(*this);
        if (map == MapCheck::BadMapFile) {
            // Its box offered no Retry: a retry state left from before ends here rather than
            // showing the same box again every second.
            mapFileUnusable_ = true;
            d.ModelErr = false;
        }
        return;
    }

    link->Write_Key(QString::fromLatin1(kAccessKey));
    if (QuitRequested() || !readModel() || QuitRequested())
        return;

    const bool answered = probeLink(*this, 3);
    d.ComErr = false;
    if (!answered) {
        cleanupA(*this);
        return;
    }
    // The menus stay off until communicate has shown the link.
    d.ComOK = true;
    d.ComMode = 1;
    QMXCom->setCom_TimeOut(300);
    d.CommSetOK = true;
}

void MainDisp::checkcommunicate()
{
    LongStep step(*this);
    newQMXCom();
    Velder_Comm& c = *QMXCom;

    if (d.ManualComset) {
        applyLineSettings(c, d);
        c.setCom_TimeOut(200);
        c.Com_Option2();
        c.Com_Close();
        if (!openTwice(c) || !probeLink(*this, 3)) {
            c.Com_Close();
            c.setCom_TimeOut(300);
            cleanupB(*this, LoadResLines({451, 270}));
            d.ManualComset = false;
            setMenus({mnuFile, mnuOnline, mnuSet}, true);
            return;
        }
        d.ComOK = true;
        d.ComMode = 1;
        if (!d.CommSetOK) {
            d.CommSetOK = true;
            c.setCom_TimeOut(300);
        }
        d.ProtocolSel = d.Protocol;
        d.ManualComset = false;
        communicate();
        return;
    }

    // The port scan: every port at the controller's factory settings.
    d.Protocol = 0;
    d.strAdr = QStringLiteral("00");
    c.Com_Option1();
    c.Com_Close();
    c.setCom_TimeOut(200);
    c.setCom_Port(QStringLiteral("COM1"));
    c.Com_Option2();
    if (d.ComOK)
        return;

    for (int n = 1; n <= 8; ++n) {
        QCoreApplication::processEvents();
        if (QuitRequested()) {
            c.Com_Close();
            restoreSavedLink(*this);
            return;
        }
        c.setCom_Port(QStringLiteral("COM") + QString::number(n));
        d.Databit = QStringLiteral("7");
        d.Stopbit = QStringLiteral("1");
        d.Parity = QStringLiteral("EVEN");
        c.setCom_Speed(QStringLiteral("9600"));
        c.setCom_Databit(d.Databit);
        c.setCom_Stopbit(d.Stopbit);
        c.setCom_Parity(d.Parity);
        c.setCom_TimeOut(100);
        c.Com_Close();
        // After a failed model check no port is probed: the operator has to act first.
        if (openTwice(c) && !d.ModelErr) {
            const bool answered = probeLink(*this, 3);
            d.ComErr = false;
            if (answered) {
                d.ComOK = true;
                d.ComMode = 1;
                c.setCom_TimeOut(300);
                d.CommSetOK = true;
                d.ProtocolSel = d.Protocol;
            } else {
                c.Com_Close();
                c.setCom_TimeOut(300);
                d.CommSetOK = false;
                d.OnLine = false;
                setMenus({mnuFile, mnuSet}, true);
                StatusBar1->setPanel(1, QString());
            }
        }
        // Closed after a find too: the set-up that follows opens it again.
        c.Com_Close();
        if (d.ComOK)
            return;
    }

    c.Com_Close();
    c.setCom_TimeOut(300);
    restoreSavedLink(*this);
    ui::MsgBox(LoadResLines({297, 299}), ui::Buttons::OK, ui::Icon::Critical, LoadResString(1));
    if (QuitRequested())
        return;
    if (!d.StartDataRead)
        Disp_SStab2(SSTab2->currentIndex());
    d.ScreenSet = true;
    d.CommSetOK = false;
    d.OnLine = false;
    d.ManualComset = false;
    setMenus({mnuFile, mnuOnline, mnuSet}, true);
    StatusBar1->setPanel(1, QString());
}

void MainDisp::checkcommunicate2()
{
    LongStep step(*this);
    SearchFreeze freeze(*this);
    newQMXCom();
    Velder_Comm& c = *QMXCom;
    d.Protocol = 0;
    d.strAdr = QStringLiteral("00");
    searchNotice(*this, true);
    setCursor(Qt::WaitCursor);
    c.Com_Option1();
    c.Com_Close();
    c.setCom_TimeOut(200);
    c.Com_Option2();
    if (d.ComOK)
        return;

    // Port outermost, then speed, then protocol, then instrument number.
    int port = 1;
    int speed = 0;
    d.ComOK = false;
    for (;;) {
        QCoreApplication::processEvents();
        if (QuitRequested())
            break;
        if (port == 9)
            break;
        c.setCom_Port(QStringLiteral("COM") + QString::number(port));
        if (!d.ManualComset)
            c.setCom_Speed(speed == 0 ? QStringLiteral("9600") : QStringLiteral("19200"));
        d.Databit = d.Protocol == 2 ? QStringLiteral("8") : QStringLiteral("7");
        c.setCom_Databit(d.Databit);
        c.setCom_Stopbit(d.Stopbit);
        c.setCom_Parity(d.Parity);
        if (!openTwice(c)) {
            // The next port starts from its first speed and protocol again.
            ++port;
            speed = 0;
            d.Protocol = 0;
            d.strAdr = QStringLiteral("00");
            c.Com_Close();
            continue;
        }

        bool answered = false;
        const int first = d.Protocol == 0 ? 0 : 1;
        const int last = d.Protocol == 0 ? 94 : 95;
        for (int i = first; i <= last && !answered; ++i) {
            if (d.CancelFlag)
                break;
            d.strAdr = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
            showTrial(*this);
            answered = probeLink(*this, 2);
            d.ComErr = false;
            if (!answered)
                QCoreApplication::processEvents();
        }
        if (answered) {
            // The notice and the hourglass stay until communicate has shown the link.
            d.ComOK = true;
            c.setCom_TimeOut(300);
            d.CommSetOK = true;
            d.ProtocolSel = d.Protocol;
            return;
        }
        if (d.CancelFlag)
            break;

        if (d.Protocol < 2) {
            ++d.Protocol;
            d.strAdr = QStringLiteral("01");
        } else {
            d.Protocol = 0;
            if (d.ManualComset) {
                ++port;
            } else {
                ++speed;
                d.strAdr = QStringLiteral("00");
                if (speed == 2) {
                    ++port;
                    speed = 0;
                }
            }
        }
        c.Com_Close();
    }

    // The flags tell how the search ended, not the place it stopped: a Cancel or a close handled
    // after a pass's last number ends the loop without meeting the test before a probe.
    enum class End { Cancelled, Failed, Quit };
    const End end = QuitRequested() ? End::Quit : d.CancelFlag ? End::Cancelled : End::Failed;
    c.Com_Close();
    c.setCom_TimeOut(300);
    restoreSavedLink(*this);
    unsetCursor();
    searchNotice(*this, false);
    if (end != End::Quit)
        cleanupB(*this, end == End::Cancelled ? LoadResString(83) : LoadResLines({451, 270}));
    d.CancelFlag = false;
    setMenus({mnuFile, mnuSet}, true);
}

void MainDisp::communicate()
{
    LongStep step(*this);
    QMXCom->Com_Option1();
    if (d.ComOK) {
        searchNotice(*this, false);
        unsetCursor();
        setMenus({mnuFile, mnuSet, mnuUpload, mnuDownload, mnuSave, mnuLoad}, true);
        StatusBar1->setPanel(1, QString());
        Cmd_set[1]->setEnabled(true);

        // Port and speed come from the library: the searches set them only there.
        Lbl_comm[0]->setText(QMXCom->Com_Port());
        Lbl_comm[1]->setText(QMXCom->Com_Speed());
        Lbl_comm[2]->setText(d.Databit + QStringLiteral(", ") + d.Parity);
        Lbl_comm[3]->setText(d.Stopbit);
        Lbl_comm[4]->setText(d.strAdr);
        if (d.ProtocolSel >= 0 && d.ProtocolSel <= 2)
            Lbl_comm[5]->setText(protocolName(d.ProtocolSel));
        saveLink(*openSettings(), {QMXCom->Com_Port(), QMXCom->Com_Speed(), d.Databit, d.Stopbit,
                                   d.Parity, d.strAdr, d.Protocol});

        Cmd_ONOFF->setVisible(true);
        Cmd_ONOFF->setText(LoadResString(74));
        Label2->setText(LoadResString(75));
        setBackColor(Label2, colour::White);
        Label4->setText(LoadResString(161));
        setBackColor(Label4, colour::White);
    }

    if (d.Protocol != 0) {
        // The key write below switches a Modbus controller to the maker's protocol.
        ui::MsgBox(LoadResLines({350, 351, 352, 353}), ui::Buttons::OK, ui::Icon::None);
        d.ProtocolSel = d.Protocol;
    }
    link->Write_Key(QString::fromLatin1(kAccessKey));
    if (QuitRequested())
        return;

    bool online = d.OnLine;
    if (d.StartDataRead) {
        // The start-up file stays on screen; the next go-online compares it with the controller.
        Disp_SStab2(SSTab2->currentIndex());
        d.SpecCheck = true;
        if (!online)
            d.DataChanged = true;
        d.StartDataRead = false;
        d.ScreenSet = true;
    } else {
        const OnlineCheck check = Setdata_read();
        if (QuitRequested())
            return;
        // A refused controller has already been taken offline: do not put the online look back.
        if (check == OnlineCheck::Refused || check == OnlineCheck::ModelError)
            online = online && d.OnLine;
    }

    if (online) {
        d.ComMode = 1;
        Cmd_ONOFF->setText(LoadResString(75));
        Label2->setText(LoadResString(74));
        setBackColor(Label2, kOnlineBack);
        Label4->setText(LoadResString(162));
        setBackColor(Label4, kOnlineBack);
        Timer1.start();
        Timer6.start();
        searchNotice(*this, false);
    } else {
        d.ComMode = 0;
        searchNotice(*this, false);
        StatusBar1->setPanel(1, QString());
    }
}

// The Cancel buttons of the search notice: the search stops before its next probe.
void MainDisp::Command1_Click()
{
    ui::Beep();
    d.CancelFlag = true;
}

void MainDisp::Command2_Click()
{
    ui::Beep();
    d.CancelFlag = true;
}

void MainDisp::mnuComset_Click()
{
    if (inLongStep()) {
        ui::Beep();
        return;
    }
    if (d.OnLine) {
        ui::MsgBox(LoadResString(58), ui::Buttons::OK, ui::Icon::None);
        return;
    }
    // The dialog is modal and its OK closes the port: no tick may use the link meanwhile.
    LongStep step(*this);
    {
        const auto s = openSettings();
        readSavedLink(*s, d);
        for (QTabWidget* tab : {SSTab1, SSTab2}) {
            bool ok = false;
            const int page = s->value(tab->objectName(), QStringLiteral("0")).toString().toInt(&ok);
            if (ok && page >= 0 && page < tab->count())
                tab->setCurrentIndex(page);
        }
    }
    ui::Beep();

    SubDisp_comm dialog(d, this);
    dialog.preset();
    dialog.exec();
    if (d.ComsetCancel || QuitRequested())
        return;
    if (d.ComOK)
        QMXCom->Com_Close();
    checkcommunicate();
}

} // namespace qmx
