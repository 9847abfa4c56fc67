// The monitoring poll: one register a tick, and the status word's requests.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {

void MainDisp::Read_Monitor() {}

void MainDisp::statecomchk() {}

} // namespace qmx
