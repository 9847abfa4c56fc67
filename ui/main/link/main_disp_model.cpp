// The model check and the user register map: which controller answers on the port, and for the
// user-map variant, where its special registers sit.
#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "ui/main/main_disp.h"

#include "comm/reply_verdict.h"
#include "files/settings_store.h"
#include "files/user_map_file.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QAction>

namespace qmx {

namespace {

const QChar kAck(0x06);
const QChar kEsc(0x1B);

} // namespace

MainDisp::MapCheck MainDisp::Check_UserMap()
{
    // The boxes below run their own event loops; nothing else may talk to the controller meanwhile.
    LongStep step(*this);
    const QString reply =
        Sendcomm(d.strAdr, QString(), QStringLiteral("03"), QStringLiteral("0000"), QString(), 3);
    d.ComErr = false;

    if (d.Protocol == 1 || d.Protocol == 2) {
        if (reply.mid(3, 4) != u"0302") {
            d.ModelErr = false;
            d.CommSetOK = false;
            d.ComOK = false;
            return MapCheck::NoAnswer;
        }
    } else if (reply.isEmpty()) {
        d.ModelErr = false;
        d.CommSetOK = false;
        d.ComOK = false;
        return MapCheck::NoAnswer;
    } else if (reply[0] == kEsc) {
        // The controller is there but will not tell its model this way; the model read decides.
        d.ModelErr = false;
        StatusBar1->setPanel(1, QStringLiteral("NG"));
        return MapCheck::Answered;
    } else if (reply[0] != kAck) {
        d.ModelErr = false;
        QMXCom->Com_Close();
        d.CommSetOK = false;
        d.OnLine = false;
        mnuFile->setEnabled(true);
        StatusBar1->setPanel(1, QString());
        d.ComMode = 0;
        return MapCheck::Refused;
    }

    d.ModelCode = fromHex4(QMXCom->Com_GetData(reply, 1));
    if (d.ModelCode != kModelUserMap) {
        // A map taken into use earlier in this run stays: only a new map replaces it.
        d.UserMapFlag = false;
        return MapCheck::Answered;
    }

    d.UserMapFlag = true;
    const QString rom =
        Sendcomm(d.strAdr, QString(), QStringLiteral("03"), QStringLiteral("00A0"), QString(), 3);
    d.RomNo = fromHex4(QMXCom->Com_GetData(rom, 1));

    if (d.RomNo == 0) {
        ui::Beep();
        ui::Beep();
        const ui::Answer a = ui::MsgBox(LoadResString(25), ui::Buttons::RetryCancel,
                                        ui::Icon::Exclamation, LoadResString(24));
        d.OpenCount = 3;
        d.ModelErr = true;
        d.ModelRetry = a == ui::Answer::Retry;
        return MapCheck::Failed;
    }

    const std::optional<UserMap> map = readUserMapFile(programFolder(), d.RomNo);
    if (!map) {
        // A short or damaged map file is as useless as a missing one: the special codes would
        // point anywhere.
        ui::Beep();
        ui::Beep();
        ui::MsgBox(LoadResLines({27, 28}), ui::Buttons::OK, ui::Icon::Exclamation,
                   LoadResString(24));
        bool cancel = false;
        Form_Unload(cancel);
        return MapCheck::BadMapFile;
    }

    for (int k = 0; k < kUserMapRecords; ++k)
        d.UserAdrTbl(k) = (*map)[size_t(k)].address;
    d.Make_CommNoTbl2();
    d.ComOK = true;
    return MapCheck::Answered;
}

bool MainDisp::readModel()
{
    LongStep step(*this);
    const QString reply = sendModelRead();
    d.ComErr = false;

    if (reply.isEmpty()) {
        // The last probe decides whether a controller is there after all.
        d.ModelErr = false;
        d.CommSetOK = false;
        d.ComOK = false;
        return true;
    }
    if (reply[0] == kEsc) {
        d.ModelErr = false;
        StatusBar1->setPanel(1, QStringLiteral("NG"));
        return true;
    }
    if (reply[0] != kAck) {
        d.ModelErr = false;
        QMXCom->Com_Close();
        // The port is closed: a map read before must not make the link count as up.
        d.ComOK = false;
        d.CommSetOK = false;
        d.OnLine = false;
        mnuFile->setEnabled(true);
        StatusBar1->setPanel(1, QString());
        d.ComMode = 0;
        return false;
    }

    StatusBar1->setPanel(1, QString());
    d.ModelCode = fromHex4(QMXCom->Com_GetData(reply, 1));
    if (isServedModel(d.ModelCode, d.UserMapFlag)) {
        d.ComOK = true;
        d.RDModel = !d.UserMapFlag && d.ModelCode == kModelInfrared;
        d.ModelRetry = false;
        // A passed check ends any earlier failure, so it cannot hold back later connections.
        d.ModelErr = false;
        return true;
    }

    return refuseWrongModel();
}

QString MainDisp::sendModelRead()
{
    // The user-map variant keeps its model code where the standard read finds it; the others
    // answer it through the special read.
    return d.UserMapFlag ? Sendcomm(d.strAdr, QString(), QStringLiteral("03"),
                                    QStringLiteral("0000"), QString(), 3)
                         : Sendcomm(d.strAdr, QString(), commandChar(kCmdReadFirst),
                                    QStringLiteral("002A"), QString(), 3);
}

bool MainDisp::refuseWrongModel()
{
    const ui::Answer a =
        ui::MsgBox(LoadResString(796), ui::Buttons::RetryCancel, ui::Icon::Exclamation);
    d.ModelErr = true;
    d.OpenCount = 3;
    d.ModelRetry = a == ui::Answer::Retry;
    return false;
}

} // namespace qmx
