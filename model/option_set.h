// The controller's option set as the screen data names it, decoded from the two option words, and
// the comparison with the option set of the screen data.
#pragma once

#include <array>
#include <cstdint>

namespace qmx {

// In the order of the screen's option words: alarm 2 (0/1), heating/cooling (0/1), heater burnout
// (0 none, 1 single-phase 20 A, 2 single-phase 50 A, 3 three-phase 20 A, 4 three-phase 50 A),
// set values 2-4 by contact input (0/1), control output (0 relay, 1 voltage, 2 current), serial
// communication (0/1).
using OptionSet = std::array<int16_t, 6>;

enum OptionWord { Alarm2, HeatCool, HeaterBurnout, SvSelect, OutputType, SerialComm };

// The heater-burnout option word (OptSet_HB). Any value outside 1 to 4 (0, or a word from a file
// that no controller has) is no heater-burnout alarm with a current transformer.
constexpr bool isHeaterBurnoutOption(int hb)
{
    return hb >= 1 && hb <= 4;
}
// Three phases: a second alarm value (item 54) and a second heater current.
constexpr bool isThreePhaseOption(int hb)
{
    return hb == 3 || hb == 4;
}
// The 50 A current transformer; the other options have the 20 A one.
constexpr bool isFiftyAmpOption(int hb)
{
    return hb == 2 || hb == 4;
}

// CtrlSpec from the option words; only their low bytes count. Contact-input set values and serial
// communication share a terminal: a word with both bits set names neither.
OptionSet decodeOptions(int optionBits, int optionBits2);

// The first word (OptionWord order) where the two sets differ; -1 when they are equal.
int firstOptionDifference(const OptionSet& screen, const OptionSet& controller);

} // namespace qmx
