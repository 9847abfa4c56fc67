// The chart keypad's rules: how the entry text grows, which range each setting takes, and what
// OK decides. The entry text is a number's decimal text with a leading blank when it is not
// negative (" 125", "-40"), or empty.
#pragma once

#include "rules/entry_keypad.h"

#include <QString>

namespace qmx {

// What the keypad edits.
enum class EntryMode { ScaleHigh = 0, ScaleLow = 1, Cycle = 2, Divisions = 3 };

struct KeypadRange {
    int lo = 0;
    int hi = 0;
};

// The ends OK allows for a setting.
KeypadRange keypadRange(EntryMode mode);
// The ends the "+/-" button allows: 1 to 60 for the cycle, -2000 to 10000 for everything else.
KeypadRange signRange(EntryMode mode);

// The keypad builds its entry as the numeric entry dialog does: appendDigit, negateEntry and
// entryNumber of rules/entry_keypad.h.

// The range text shown for each setting, from the captions of the other scale end.
QString keypadRangeText(EntryMode mode, int scaleHigh, int scaleLow);

// OK's verdict on an entry: the value to apply, or the string of the message to show (559 an
// empty entry, 229 out of range, 554 high not above low).
struct KeypadVerdict {
    int message = 0; // 0 when accepted
    int value = 0;
};
KeypadVerdict keypadOk(EntryMode mode, const QString& entry, int scaleHigh, int scaleLow);

} // namespace qmx
