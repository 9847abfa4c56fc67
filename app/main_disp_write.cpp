// Single writes and the manual-output buttons.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {

void MainDisp::Write_Para() {}

void MainDisp::Manuval_Click(int Index)
{
    Q_UNUSED(Index);
}

} // namespace qmx
