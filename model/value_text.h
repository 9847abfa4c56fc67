// Stored integers to display texts: numbers with the item's decimals, and selection texts.
// Nothing here adds a unit; units are separate labels.
#pragma once

#include "model/qmx_data.h"

#include <QString>

namespace qmx {

// v shown with `decimals` (0..3) digits after the point: -5 -> "-0.5" for one decimal.
// Exact integer arithmetic, always "." as the separator whatever the locale.
QString formatScaled(int v, int decimals);

// Display text of item `item` (0..8, 11..68) from the current data.
QString Para_Text(const QmxData& d, int item);
// Text of the current input type (item 50) with its range.
QString MakeRange(const QmxData& d);

// The code-to-text routines of the value labels.
QString Alarm_Type_Text(int code);
QString Lock_Text(int code);
QString Cool_Type_Text(int code);
QString Alarm_Energize_Text(int code);
QString ATAR_Text(const QmxData& d, int code);
QString Dp_Text(int code);
QString Action_Text(int code);
QString OutOff_Text(int code);
QString Backlight_Text(int code);
QString PvColor_Text(int code);
QString AutoMan_Text(int code);
QString EventInput_Text(int code);
QString Output_Text(int code);
QString KeyFunction_Text(int code);
QString Indication_Text(int code);

// The text the value labels give a selection item's code (the code-to-text routine of that item);
// empty for an item that is not a selection.
QString Code_Text(const QmxData& d, int item, int code);

} // namespace qmx
