// When a set button refuses an edit. The refusals are silent: the focus goes back to the tabs and
// no box is shown. They hold for as long as the edit is open, so an entry or list opened before one
// began ends unstored once the data meet it (a front-panel change, an upload, a file load).
#pragma once

#include "model/qmx_data.h"

namespace qmx {

// While auto-tuning runs (item 12 = 1) only its own choice and the output OUT/OFF can be changed:
// anything else would be written under the tuning and then replaced by its result.
bool refusedWhileAutoTuning(const QmxData& d, int item);

// "Lock 3" (item 22 = 3) also locks the input type.
bool refusedUnderLock3(const QmxData& d, int item);

// Either refusal: the edit of `item` may be neither opened nor stored now. The set buttons and the
// open edits judge the screen data; the write step judges the data as the controller holds them,
// so a choice still queued behind an edit does not decide it.
bool editRefused(const QmxData& d, int item);

} // namespace qmx
