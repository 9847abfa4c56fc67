// Upload of every setting parameter from the controller.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {

void MainDisp::mnuUpload_Click() {}

void MainDisp::ReadPara_setflg() {}

void MainDisp::ReadPara_setflg2() {}

} // namespace qmx
