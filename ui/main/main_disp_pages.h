// What the main window keeps for its refreshes: the page rules' state and one reusable display
// list.
#pragma once

#include "rules/settings_pages.h"
#include "ui/display_apply.h"
#include "ui/main/main_disp.h"

#include <optional>

namespace qmx {

struct MainDisp::Pages {
    SettingsPages rules;
    DisplayOps ops;
    DisplayApplier applier;
    bool bound = false;
    // The data the pages were last laid out from; none before the first layout.
    std::optional<PageSource> laidOutFrom;
};

} // namespace qmx
