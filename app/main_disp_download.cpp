// Download of the screen data to the controller.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {

void MainDisp::mnuDownload_Click() {}

void MainDisp::Write_AllPara() {}

void MainDisp::Write_AllPara2() {}

void MainDisp::endTemporaryLink() {}

} // namespace qmx
