// The scheduler: one step per Timer1 tick, and the error watchdog.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {

void MainDisp::Timer1_Timer() {}

void MainDisp::Timer6_Timer() {}

void MainDisp::requestComMode(int mode)
{
    d.ComMode = mode;
}

} // namespace qmx
