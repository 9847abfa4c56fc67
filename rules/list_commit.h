// The OK step of the list choice without the window: the new value stored, what depends on it
// cleared or zeroed, and the rows of the main window that follow it, as a display list. The hand-
// over (write request or DataChanged) and the re-layout of the pages are the caller's.
#pragma once

#include "model/qmx_data.h"
#include "rules/display_ops.h"

#include <cstdint>

namespace qmx {

// What the dialog was prepared for, and the option chosen (-1: none).
struct ListChoice {
    int item = 0;
    int16_t old = 0;
    int chosen = -1;
};

// Stores the choice into ParaVal(item) and runs the item's own step. `online` is OnLine as the
// step found it.
void listCommit(QmxData& d, const ListChoice& c, DisplayOps& o);

// The scaling limits (items 25, 26) put to the range of the input type now set; when the type
// differs from `oldType`, the set values and alarm values that no longer mean anything are cleared:
// to 0, or to the low end of their new range where that range leaves 0 out.
void Limitchk_sh(QmxData& d, int16_t oldType);

} // namespace qmx
