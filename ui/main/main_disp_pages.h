// What the main window keeps for its refreshes: the page rules' state and one reusable display
// list.
#pragma once

#include "rules/settings_pages.h"
#include "ui/display_apply.h"
#include "ui/main/main_disp.h"

namespace qmx {

struct MainDisp::Pages {
    SettingsPages rules;
    DisplayOps ops;
    DisplayApplier applier;
    bool bound = false;
};

} // namespace qmx
