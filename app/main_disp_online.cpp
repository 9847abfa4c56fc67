// Going online and offline.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {

void MainDisp::Cmd_ONOFF_Click() {}

void MainDisp::ofline() {}

} // namespace qmx
