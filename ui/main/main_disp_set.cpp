// The requests the set buttons and the entry dialogs make of the link.
#include "ui/main/main_disp.h"

#include "model/qmx_data.h"

namespace qmx {

void MainDisp::Cmd_set_Click(int Index)
{
    if (Index < 1 || Index > 56 || Index == 37)
        return;
    d.ParaNo = Index + 10;
    // A refused write puts this value back.
    d.ParaBak(d.ParaNo) = d.ParaVal(d.ParaNo);
}

void MainDisp::Req_Write()
{
    d.Req_Write();
}

} // namespace qmx
