// Every setting item's value label filled straight from ParaVal after a set-data file was loaded.
#pragma once

#include "model/qmx_data.h"
#include "rules/display_ops.h"

#include <functional>

namespace qmx {

// `progress(n)` is told the number of items handled so far (1 after item 11 ... 55 or 56).
void Read_data3(const QmxData& d, DisplayOps& ops, const std::function<void(int)>& progress);

} // namespace qmx
