// The model-option dialog's rules, free of any window: the six option groups with their captions,
// the four exclusions (heating/cooling with alarm 2 or heater burnout, heater burnout with a DC
// current output, SV2-SV4 selection with serial communication), and what the dialog's opening,
// a click, Cancel and Change do to the option set.
//
// The dialog's right panel is kept here as plain state: which option of each group is selected,
// which frames and options are enabled, and the option words the rules write. A selection runs
// its group's rule, which either accepts it (enabled states follow, the word takes the option) or
// refuses it with a message and selects the group's fallback, whose own rule runs in turn.
#pragma once

#include "model/option_set.h"

#include <array>
#include <vector>

namespace qmx {

struct QmxData;

constexpr int kOptionGroups = 6;
constexpr int kMaxOptions = 5;

// How many options group `g` (0 alarm 2 .. 5 serial communication) offers: 2, 2, 5, 2, 3, 2.
int optionCount(int g);
// String numbers of the group's caption and of its option `k`.
int groupCaption(int g);
int optionCaption(int g, int k);
// The option a stored word shows: the word when it is one of the group's options, else option 0.
int shownOption(int g, int word);

// The option words of the screen data, in group order, and back.
OptionSet optionWords(const QmxData& d);
void setOptionWords(QmxData& d, const OptionSet& w);

struct OpsetPanel {
    std::array<int, kOptionGroups> selected{};      // the selected option of each group, -1 none
    std::array<bool, kOptionGroups> frameEnabled{}; // Frame2_OP1(g)
    std::array<std::array<bool, kMaxOptions>, kOptionGroups> optionEnabled{}; // Option_set(g+1)(k)
    OptionSet words{}; // the option words as the rules leave them

    // As laid out: option 0 of every group selected, every frame and option enabled.
    static OpsetPanel laidOut(const OptionSet& words);
};

// Selects option `k` of group `g` as a click or the program does. An option already selected
// runs nothing; otherwise the group's rule runs. The messages of refusals are appended in order.
void selectOption(OpsetPanel& p, int g, int k, std::vector<int>& messages);

// The dialog's opening.
struct OpsetOpening {
    std::array<int, kOptionGroups> labels{}; // string numbers of Lbl_OP1..Lbl_OP6
    OptionSet before{};                      // the words in force before the opening
    std::vector<int> messages;               // refusals of an inconsistent set, in order
};
// `haveData`: working link settings were found or setting data are on the screen. Without them
// the dialog starts from an empty option set (all words 0). `hbCt50A` is the 50 A flag of the
// heater-burnout option at the opening; an opening without heater burnout leaves it as it was.
OpsetOpening openOpset(OpsetPanel& p, bool haveData, bool& hbCt50A);

// Whether Change clears the heater-burnout alarm values (items 21 and 54): a change of the current
// transformer between 20 A and 50 A against the one in force at the opening, or no heater burnout.
bool clearsHeaterBurnoutValues(int optSetHB, bool hbCt50A);

// What Change does to the data: the data on screen count as present, changed and to be compared
// with the controller at the next go-online; the heater-burnout alarm values are cleared when
// clearsHeaterBurnoutValues says so (against d.HB_CT50A).
void commitOptionChange(QmxData& d);

} // namespace qmx
