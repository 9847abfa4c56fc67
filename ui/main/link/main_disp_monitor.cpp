// The monitoring poll: one register a tick, and the status word's requests.
#include "ui/main/main_disp.h"

#include "comm/exchange.h"
#include "comm/monitor_table.h"
#include "model/items.h"
#include "model/qmx_data.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/main/link/main_disp_host.h"

namespace qmx {

void MainDisp::Read_Monitor()
{
    StatusBar1->setPanel(1, QString());
    const int item = monitorItem(d.MonStep, d.OptionBits(), d.OptionBits2(),
                                 d.ParaVal(item::kInputType), d.RDModel);

    // Read as it is: no key write before it, so a poll never unlocks the controller.
    const QString reply =
        isSpecialMonitorItem(item)
            ? Sendcomm(d.strAdr, QString(), commandChar(kCmdReadFirst),
                       d.CommNoTbl2(specialCodeIndex(item)), QString(), 3)
            : Sendcomm(d.strAdr, QString(), QStringLiteral("03"), d.CommNoTbl(item), QString(), 3);

    // A missing answer stays on screen until the watchdog finds the link answering again.
    storeReadReply(reply, item);

    // A failed read leaves the last status word, which is judged again all the same.
    if (item == 4)
        statecomchk();

    d.MonStep = nextMonitorStep(d.MonStep);
    Velder_ChartCtl1->setChartMaxCh(0);
}

void MainDisp::statecomchk()
{
    const StatusRequest r = statusCheck(d.StatusBits(), d.ATrun);
    d.ATrun = r.atRun;
    if (r.upload)
        requestComMode(4);
}

} // namespace qmx
