// The PID and cooling rows after an offline change of P, cooling P, I or D (items 13..16): the
// settings pages' own heating and cooling rules, so the rows look as a reload of the same data
// shows them, then the value texts of the two groups.
#pragma once

#include "model/qmx_data.h"
#include "rules/display_ops.h"

namespace qmx {

// The value texts of the PID rows (Label_pidval(0..10)): items 12, 13, 15, 16, 53, 17, 29, 30, 31,
// 52, 65.
void PIDcheck(const QmxData& d, DisplayOps& o);
// The value texts of the cooling rows (Label_coolval(0..6)): items 32, 14, 18, 33, 34, 24, 35.
void PID_bcheck(const QmxData& d, DisplayOps& o);

// The re-layout after item `item` was stored; nothing for any other item than 13..16.
void relayControlRows(const QmxData& d, int item, DisplayOps& o);

} // namespace qmx
