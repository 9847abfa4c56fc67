// Every setting item's value label filled straight from ParaVal after a set-data file was loaded.
#pragma once

#include "model/qmx_data.h"
#include "rules/display_ops.h"

#include <functional>
#include <optional>

namespace qmx {

// `progress(n)` is told the number of items handled so far (1 after item 11 ... 55 or 56).
// The value label of a setting item on the main window (Text_SV(1) for item 11, Label_pidval(1)
// for item 13 ...); nothing for item 47 and numbers outside 11..66.
struct ValueLabel {
    Ctl ctl;
    int index;
};
std::optional<ValueLabel> valueLabelOf(int item);

void Read_data3(const QmxData& d, DisplayOps& ops, const std::function<void(int)>& progress);

} // namespace qmx
