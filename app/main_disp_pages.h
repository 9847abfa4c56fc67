// What the main window keeps for its refreshes: the page rules' state and one reusable display
// list.
#pragma once

#include "app/display_apply.h"
#include "app/main_disp.h"
#include "app/settings_pages.h"

namespace qmx {

struct MainDisp::Pages {
    SettingsPages rules;
    DisplayOps ops;
    DisplayApplier applier;
    bool bound = false;
};

} // namespace qmx
