// The list-choice entry: which items choose from a list, the frame and option array of each list,
// and the captions the lists show.
#pragma once

#include "model/qmx_data.h"

#include <QString>

#include <vector>

namespace qmx {

// One kind of list: its frame, its option-button array and how many options it has.
struct OptionFrame {
    const char* frame;   // "Select_alarm"
    const char* options; // "Option_alarm"
    int count;
};

// The sixteen lists, in the order the dialog builds them.
const std::vector<OptionFrame>& optionFrames();

// The list of a list item (12, 22, 27, 32, 36, 37, 42, 45, 46, 48..51, 55, 56, 62..64), as an
// index into optionFrames(); -1 for any other item.
int optionFrameOf(int item);

// How many options of frame `frame` the current model offers: the infrared variant has four input
// types, every other list all of its options.
int offeredOptions(const QmxData& d, int frame);

// Captions, read when a set button prepares the dialog: the AT or auto-reset wording follows
// items 13, 15 and 16, the input types follow the model.
QString frameCaption(const QmxData& d, int frame);
// Empty for an option the current model does not offer.
QString optionCaption(const QmxData& d, int frame, int index);

// The option a stored value selects: the value itself when it is one of the options offered,
// else -1 (a value from a file or an upload outside the list selects nothing).
int optionForValue(const QmxData& d, int frame, int value);

} // namespace qmx
