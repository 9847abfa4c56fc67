// The maker's special commands. Set values 2 to 4, the contact input function, the output state
// on input failure and the OUT/OFF key function have no ordinary register; they are reached by
// special codes. A change takes two writes: 0x71 with the first code stages the value, 0x72 with
// the matching second code and the same value commits it. 0x61 reads through the first code,
// 0x62 through the second, 0x60 reads the set-value memory number in use.
#include "controller.h"

#include "register_table.h"

namespace qmxsim {

namespace {
constexpr int kFirstSv1 = 8;
constexpr int kFirstSv2 = 9;
constexpr int kFirstSv4 = 11;
constexpr int kFirstContact = 12;
constexpr int kFirstInputAbnormal = 13;
constexpr int kFirstKeyFunction = 14;
constexpr int kMemoryNumber = 15;
constexpr int kPairDistance = 7; // first code element k pairs with second code element k - 7
// Without the user register map the model is read through this code with 0x61.
constexpr std::uint16_t kModelByCode = 0x002A;

struct Limits {
    int min;
    int max;
};
Limits limitsOf(int element)
{
    switch (element) {
    case kFirstContact:
        return {0, 2};
    case kFirstInputAbnormal:
    case kFirstKeyFunction:
        return {0, 1};
    default:
        return {-32768, 32767};
    }
}
} // namespace

bool Controller::svMemoryOption() const
{
    return (config_.option1 & 0x01) && !(config_.option1 & 0x02);
}

std::optional<int> Controller::specialValue(int element) const
{
    if (element == kFirstSv1)
        return param(kSetValue);
    if (element >= kFirstSv2 && element <= kFirstSv4)
        return setValues_[element - kFirstSv1];
    switch (element) {
    case kFirstContact:
        return contactInput_;
    case kFirstInputAbnormal:
        return inputAbnormal_;
    case kFirstKeyFunction:
        return keyFunction_;
    case kMemoryNumber:
        return memoryNumber_;
    default:
        return std::nullopt;
    }
}

void Controller::setSpecialValue(int element, int value)
{
    const int v = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    if (element == kFirstSv1)
        params_[kSetValue] = v;
    else if (element >= kFirstSv2 && element <= kFirstSv4)
        setValues_[element - kFirstSv1] = v;
    else if (element == kFirstContact)
        contactInput_ = v;
    else if (element == kFirstInputAbnormal)
        inputAbnormal_ = v;
    else if (element == kFirstKeyFunction)
        keyFunction_ = v;
    else if (element == kMemoryNumber)
        memoryNumber_ = v;
}

Verdict Controller::specialAllowed(int element) const
{
    // Set values 2..4 and the contact input exist only with the set-value memory option; the
    // output state on input failure only with the DC current output.
    if (element >= kFirstSv2 && element <= kFirstContact)
        return svMemoryOption() ? Verdict::Ack : Verdict::NotExecutable;
    if (element == kFirstInputAbnormal)
        return (config_.option2 & 0x10) ? Verdict::Ack : Verdict::NotExecutable;
    return Verdict::Ack;
}

Answer Controller::special(const Command& c, const Overrides& o)
{
    if (!c.regValid)
        return {Verdict::NoRegister};
    const bool writing = c.op == Op::SpecialWrite1 || c.op == Op::SpecialWrite2;
    if (writing && !c.dataValid)
        return {Verdict::OutOfRange};
    if (writing && (busy_ || o.busy))
        return {Verdict::KeysBusy};
    if (!key_)
        return {Verdict::RefusedInState};

    const auto element = [&](int from, int to) {
        for (int e = from; e <= to; ++e)
            if (specialCodes[e] == c.reg)
                return e;
        return 0;
    };
    switch (c.op) {
    case Op::MemoRead:
        if (c.reg != specialCodes[kMemoryNumber])
            return {Verdict::NoRegister};
        return {Verdict::Ack, static_cast<std::uint16_t>(memoryNumber_)};
    case Op::SpecialRead1:
    case Op::SpecialRead2: {
        int e = c.op == Op::SpecialRead1 ? element(kFirstSv1, kFirstKeyFunction)
                                         : element(1, kPairDistance);
        if (e == 0) {
            if (c.op == Op::SpecialRead1 && c.reg == kModelByCode)
                return {Verdict::Ack, static_cast<std::uint16_t>(config_.model)};
            return {Verdict::NoRegister};
        }
        if (c.op == Op::SpecialRead2)
            e += kPairDistance;
        if (const Verdict v = specialAllowed(e); v != Verdict::Ack)
            return {v};
        return {Verdict::Ack, static_cast<std::uint16_t>(*specialValue(e))};
    }
    case Op::SpecialWrite1: {
        const int e = element(kFirstSv1, kFirstKeyFunction);
        if (e == 0)
            return {Verdict::NoRegister};
        if (const Verdict v = specialAllowed(e); v != Verdict::Ack)
            return {v};
        const int value = static_cast<std::int16_t>(c.value);
        const Limits limits = limitsOf(e);
        if (value < limits.min || value > limits.max)
            return {Verdict::OutOfRange};
        staged_ = std::make_pair(e, c.value);
        return {Verdict::Ack, c.value};
    }
    case Op::SpecialWrite2: {
        const int second = element(1, kPairDistance);
        if (second == 0)
            return {Verdict::NoRegister};
        const int e = second + kPairDistance;
        if (const Verdict v = specialAllowed(e); v != Verdict::Ack)
            return {v};
        // Commit only what was staged for this pair, with the same value.
        if (!staged_ || staged_->first != e || staged_->second != c.value)
            return {Verdict::RefusedInState};
        setSpecialValue(e, c.value);
        staged_.reset();
        return {Verdict::Ack, c.value};
    }
    default:
        return {Verdict::UnknownCommand};
    }
}

} // namespace qmxsim
