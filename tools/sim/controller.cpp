#include "controller.h"

#include "register_table.h"

#include <cmath>

namespace qmxsim {

namespace {
// Factory special codes, elements 1..17: second codes, first codes, memory number, standby.
constexpr std::array<std::uint16_t, 18> kFactoryCodes = {
    0,      0x001C, 0x001D, 0x001E, 0x001F, 0x004D, 0x004E, 0x004F, 0xFC30,
    0xFC32, 0xFC34, 0xFC36, 0xFC92, 0xFC94, 0xFC96, 0xFF13, 0xFF1A, 0xFF1B};

// Registers outside the parameter table that an ordinary read reaches.
constexpr std::uint16_t kPlainReadable[] = {
    kKeyRegister,    kTransferMode,   kPv,        kMv1,         kMv2,        kSvInUse,
    kHeaterCurrent1, kHeaterCurrent2, kRomNumber, kOptionWord1, kOptionWord2};
} // namespace

std::string protocolName(Protocol p)
{
    switch (p) {
    case Protocol::Maker:
        return "maker";
    case Protocol::Ascii:
        return "ascii";
    case Protocol::Rtu:
        return "rtu";
    }
    return "maker";
}

std::optional<Protocol> protocolFromName(const std::string& name)
{
    if (name == "maker")
        return Protocol::Maker;
    if (name == "ascii")
        return Protocol::Ascii;
    if (name == "rtu")
        return Protocol::Rtu;
    return std::nullopt;
}

std::string verdictName(Verdict v)
{
    switch (v) {
    case Verdict::Ack:
        return "ack";
    case Verdict::BadCheck:
        return "bad-check";
    case Verdict::UnknownCommand:
        return "unknown-command";
    case Verdict::NoRegister:
        return "no-register";
    case Verdict::OutOfRange:
        return "out-of-range";
    case Verdict::KeysBusy:
        return "keys-busy";
    case Verdict::RefusedInState:
        return "refused";
    case Verdict::NotExecutable:
        return "not-executable";
    }
    return "?";
}

Controller::Controller(const ControllerConfig& config)
    : specialCodes(kFactoryCodes), config_(config), speaking_(config.protocol)
{
    for (const ParameterInfo& p : parameterTable())
        params_[p.reg] = p.factory;
    pv_ = 25.0 * rawScale();
}

int Controller::param(std::uint16_t reg) const
{
    const auto it = params_.find(reg);
    return it == params_.end() ? 0 : it->second;
}

Answer Controller::handle(const Command& c, double now, Overrides overrides)
{
    tick(now, 0.0);
    switch (c.op) {
    case Op::Read:
        return read(c, overrides);
    case Op::Write:
        return write(c, now, overrides);
    case Op::Unknown:
        return {Verdict::UnknownCommand};
    default:
        return special(c, overrides);
    }
}

Answer Controller::read(const Command& c, const Overrides& o) const
{
    if (!c.regValid)
        return {Verdict::NoRegister};
    if (!c.dataValid)
        return {Verdict::OutOfRange};
    if (c.reg == kStatus)
        return {Verdict::Ack, statusWord(o.autoTuning)};
    for (std::uint16_t reg : kPlainReadable) {
        if (c.reg == reg)
            return {Verdict::Ack, static_cast<std::uint16_t>(*peek(c.reg))};
    }
    const ParameterInfo* p = findParameter(c.reg);
    if (!p || (p->infraredOnly && !infrared()))
        return {Verdict::NoRegister};
    return {Verdict::Ack, static_cast<std::uint16_t>(param(c.reg))};
}

Answer Controller::write(const Command& c, double now, const Overrides& o)
{
    if (!c.regValid)
        return {Verdict::NoRegister};
    const ParameterInfo* p = findParameter(c.reg);
    if (p && p->infraredOnly && !infrared())
        p = nullptr;
    const bool standby = !p && (c.reg == specialCodes[16] || c.reg == specialCodes[17]);
    if (!p && !standby && c.reg != kKeyRegister && c.reg != kTransferMode)
        return {Verdict::NoRegister};
    if (!c.dataValid)
        return {Verdict::OutOfRange};
    if (busy_ || o.busy)
        return {Verdict::KeysBusy};

    if (c.reg == kKeyRegister) {
        if (c.value == kKeyValue) {
            if (autoTuning() || o.autoTuning)
                return {Verdict::RefusedInState};
            key_ = true;
            // An accepted key write over Modbus moves the link to the maker's protocol; the
            // reply to this write still goes out in Modbus (the port encodes it as received).
            speaking_ = Protocol::Maker;
            return {Verdict::Ack, c.value};
        }
        if (c.value == 0) {
            key_ = false;
            return {Verdict::Ack, c.value};
        }
        return {Verdict::OutOfRange};
    }
    if (!c.modbus && !key_)
        return {Verdict::RefusedInState};

    const int value = static_cast<std::int16_t>(c.value);
    if (standby)
        return value == 0 ? Answer{Verdict::Ack, c.value} : Answer{Verdict::OutOfRange};
    if (c.reg == kTransferMode) {
        if (value != 0 && value != 1)
            return {Verdict::OutOfRange};
        transferMode_ = value;
        if (value == 1)
            changedAtFront_ = false;
        return {Verdict::Ack, c.value};
    }
    const int maxValue = c.reg == kInputType ? inputTypeCount(infrared()) - 1 : p->max;
    if (value < p->min || value > maxValue)
        return {Verdict::OutOfRange};

    Answer answer{Verdict::Ack, c.value};
    if (c.reg == kAutoTuning) {
        if (value == 1 && !autoTuning())
            startAutoTuning(now, autoTuningSeconds);
        else if (value == 0)
            cancelAutoTuning();
        return answer;
    }
    if (c.reg == kInputType) {
        answer.delayMs = inputDelayMs;
        if (value != param(kInputType))
            applyInputType(value);
    }
    params_[c.reg] = value;
    return answer;
}

void Controller::applyInputType(int type)
{
    // A new sensor brings its own range: the scaling follows it, as on the front panel.
    const double degrees = pv_ / rawScale();
    params_[kInputType] = type;
    if (const auto r = inputRange(type, infrared()); r && type < 30) {
        params_[kScalingHigh] = r->high;
        params_[kScalingLow] = r->low;
    }
    pv_ = degrees * rawScale();
}

void Controller::powerCycle()
{
    key_ = false;
    busy_ = false;
    speaking_ = config_.protocol;
    staged_.reset();
    cancelAutoTuning();
}

void Controller::setBusy(bool on)
{
    // Whoever operated the keys may have changed settings: the status word tells the program.
    if (busy_ && !on)
        changedAtFront_ = true;
    busy_ = on;
}

void Controller::startAutoTuning(double now, double seconds)
{
    atUntil_ = now + seconds;
    params_[kAutoTuning] = 1;
}

void Controller::cancelAutoTuning()
{
    atUntil_.reset();
    params_[kAutoTuning] = 0;
}

void Controller::finishAutoTuning()
{
    atUntil_.reset();
    params_[kAutoTuning] = 0;
    // The tuned values: fixed, but never equal to what was there, so a change always shows.
    const std::array<std::pair<std::uint16_t, int>, 3> tuned = {
        {{kProportional, 32}, {kIntegral, 180}, {kDerivative, 45}}};
    for (const auto& [reg, v] : tuned)
        params_[reg] = param(reg) == v ? v + 1 : v;
}

std::uint16_t Controller::statusWord(bool autoTuningOverride) const
{
    std::uint16_t s = forcedStatus;
    const int pv = static_cast<int>(std::lround(pv_)) + noise_;
    const int sv = *peek(kSvInUse);
    if (mv1_ > 0)
        s |= kStOut1;
    if (mv2_ > 0 && (config_.option1 & 0x40))
        s |= kStOut2;
    const auto alarm = [&](int type, int a) {
        const int dev = pv - sv;
        switch (type) {
        case 1:
        case 7:
            return dev > a;
        case 2:
        case 8:
            return dev < -a;
        case 3:
        case 9:
            return std::abs(dev) > a;
        case 4:
            return std::abs(dev) <= a;
        case 5:
            return pv > a;
        case 6:
            return pv < a;
        default:
            return false;
        }
    };
    if (alarm(param(kAlarm1Type), param(kAlarm1Value)))
        s |= kStAlarm1;
    if ((config_.option1 & 0x20) && alarm(param(kAlarm2Type), param(kAlarm2Value)))
        s |= kStAlarm2;
    if ((config_.option1 & 0x04) && param(kHeaterAlarm1) > 0 && mv1_ > 0 &&
        heater1_ < param(kHeaterAlarm1))
        s |= kStHeaterBurnout;
    if (const auto r = inputRange(param(kInputType), infrared())) {
        const int high = param(kInputType) >= 30 ? param(kScalingHigh) : r->high;
        const int low = param(kInputType) >= 30 ? param(kScalingLow) : r->low;
        if (pv > high)
            s |= kStOverRange;
        else if (pv < low)
            s |= kStUnderRange;
    }
    if (autoTuning() || autoTuningOverride)
        s |= kStAutoTuning;
    if (keyFunction_ == 1)
        s |= kStAutoManualKey;
    if (changedAtFront_)
        s |= kStChangedAtFront;
    return s;
}

} // namespace qmxsim
