// The control channel's view of a controller: every register by its code, whatever the wire
// protocol allows, so tests can set up and inspect any state directly.
#include "controller.h"

#include "register_table.h"

#include <cmath>

namespace qmxsim {

std::optional<int> Controller::peek(std::uint16_t reg) const
{
    switch (reg) {
    case kKeyRegister:
        return config_.model;
    case kTransferMode:
        return transferMode_;
    case kPv:
        return static_cast<int>(std::lround(pv_)) + noise_;
    case kMv1:
        return mv1_;
    case kMv2:
        return mv2_;
    case kSvInUse:
        return memoryNumber_ > 0 && svMemoryOption() ? setValues_[memoryNumber_] : param(kSetValue);
    case kStatus:
        return statusWord();
    case kHeaterCurrent1:
        return heater1_;
    case kHeaterCurrent2:
        return heater2_;
    case kRomNumber:
        return config_.rom;
    case kOptionWord1:
        return config_.option1;
    case kOptionWord2:
        return config_.option2;
    default:
        break;
    }
    for (int element = 8; element <= 15; ++element)
        if (reg == specialCodes[element] && !findParameter(reg))
            return specialValue(element);
    const ParameterInfo* p = findParameter(reg);
    if (!p || (p->infraredOnly && !infrared()))
        return std::nullopt;
    return param(reg);
}

bool Controller::poke(std::uint16_t reg, int value)
{
    const auto word = static_cast<std::uint16_t>(value);
    switch (reg) {
    case kKeyRegister:
        config_.model = value;
        return true;
    case kTransferMode:
        transferMode_ = value;
        return true;
    case kPv:
        pv_ = static_cast<std::int16_t>(word);
        noise_ = 0;
        return true;
    case kMv1:
        mv1_ = static_cast<std::int16_t>(word);
        return true;
    case kMv2:
        mv2_ = static_cast<std::int16_t>(word);
        return true;
    case kSvInUse:
        if (memoryNumber_ > 0 && svMemoryOption())
            setValues_[memoryNumber_] = static_cast<std::int16_t>(word);
        else
            params_[kSetValue] = static_cast<std::int16_t>(word);
        return true;
    case kStatus:
        forcedStatus = word & static_cast<std::uint16_t>(~kStChangedAtFront);
        changedAtFront_ = (word & kStChangedAtFront) != 0;
        return true;
    case kHeaterCurrent1:
        heater1_ = static_cast<std::int16_t>(word);
        return true;
    case kHeaterCurrent2:
        heater2_ = static_cast<std::int16_t>(word);
        return true;
    case kRomNumber:
        config_.rom = value;
        return true;
    case kOptionWord1:
        config_.option1 = word;
        return true;
    case kOptionWord2:
        config_.option2 = word;
        return true;
    default:
        break;
    }
    for (int element = 8; element <= 15; ++element) {
        if (reg == specialCodes[element] && !findParameter(reg)) {
            setSpecialValue(element, value);
            return true;
        }
    }
    const ParameterInfo* p = findParameter(reg);
    if (!p || (p->infraredOnly && !infrared()))
        return false;
    if (reg == kAutoTuning)
        return value == 0 ? (cancelAutoTuning(), true) : false;
    params_[reg] = static_cast<std::int16_t>(word);
    return true;
}

std::map<std::uint16_t, int> Controller::dump() const
{
    std::map<std::uint16_t, int> out;
    for (std::uint16_t reg :
         {kKeyRegister, kTransferMode, kPv, kMv1, kMv2, kSvInUse, kStatus, kHeaterCurrent1,
          kHeaterCurrent2, kRomNumber, kOptionWord1, kOptionWord2})
        out[reg] = *peek(reg);
    for (const ParameterInfo& p : parameterTable())
        if (!p.infraredOnly || infrared())
            out[p.reg] = param(p.reg);
    for (int element = 8; element <= 15; ++element)
        if (!findParameter(specialCodes[element]))
            out[specialCodes[element]] = *specialValue(element);
    return out;
}

} // namespace qmxsim
