// The numeric entry as the operator builds it: a whole number held as text (" 125", "-125", or
// empty when nothing was typed), digits appended, the sign changed, and what each typed key does.
#pragma once

#include <QString>

#include <cstdint>

namespace qmx {

// The number an entry text holds; blanks are ignored and the empty text reads as 0.
int32_t entryNumber(const QString& entry);
// The entry text of `v`: a blank before a number that is not negative, a minus sign otherwise.
QString entryText(int32_t v);
// The entry after digit `digit`: while it is shorter than six characters the digit is appended to
// its number (leading zeros vanish, a negative entry stays negative); otherwise it is unchanged.
QString appendDigit(const QString& entry, int digit);
// The entry with its sign changed; an empty entry gives 0.
QString negateEntry(const QString& entry);

// What a key typed into the entry box does.
enum class EntryKey {
    Digit,  // "0".."9": appended
    Negate, // "-": the sign changes, without the range test of the "+/-" button
    Commit, // Enter: the OK step
    Clear,  // Backspace or ".": the whole entry goes
    Other,  // anything else: the entry stays, its display is refreshed
};
EntryKey classifyKey(int keyAscii);

// The OK step's test of an entry: Empty when either the entry or the box showing it is empty (the
// two can part when a set button re-targets the dialog), OutOfRange outside [min, max], both ends
// included.
enum class EntryVerdict { Empty, OutOfRange, Accepted };
EntryVerdict judgeEntry(const QString& entry, const QString& shown, int32_t min, int32_t max);

} // namespace qmx
