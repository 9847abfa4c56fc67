#include "faults.h"

#include "maker_frame.h"
#include "modbus_frame.h"

#include <array>
#include <utility>

namespace qmxsim {

namespace {
const std::array<std::pair<FaultKind, const char*>, 11> kKindNames = {{
    {FaultKind::Silence, "silence"},
    {FaultKind::Delay, "delay"},
    {FaultKind::Late, "late"},
    {FaultKind::Garble, "garble"},
    {FaultKind::Nak, "nak"},
    {FaultKind::Esc, "esc"},
    {FaultKind::Exception, "exception"},
    {FaultKind::Busy, "busy"},
    {FaultKind::AutoTuning, "at"},
    {FaultKind::PowerCycle, "powercycle"},
    {FaultKind::Unplug, "unplug"},
}};

const std::array<std::pair<Garble, const char*>, 4> kGarbleNames = {{
    {Garble::Check, "check"},
    {Garble::Truncate, "truncate"},
    {Garble::Address, "address"},
    {Garble::Echo, "echo"},
}};

char otherHexDigit(char c)
{
    return c == '0' ? '1' : '0';
}

Bytes garbleMaker(Bytes r, Garble how)
{
    if (r.size() < 7)
        return r;
    const auto resum = [&r] {
        const std::string bcc = hex2(maker::bcc(r.data(), r.data() + r.size() - 2));
        r[r.size() - 2] = static_cast<std::uint8_t>(bcc[0]);
        r[r.size() - 1] = static_cast<std::uint8_t>(bcc[1]);
    };
    switch (how) {
    case Garble::Check:
        r.back() = static_cast<std::uint8_t>(otherHexDigit(static_cast<char>(r.back())));
        break;
    case Garble::Address:
        r[1] ^= 0x01;
        resum();
        break;
    case Garble::Echo:
        r[7] = static_cast<std::uint8_t>(otherHexDigit(static_cast<char>(r[7])));
        resum();
        break;
    case Garble::Truncate:
        break;
    }
    return r;
}

// Address, function and payload of a Modbus reply, changed as `how` says.
Bytes garblePdu(Bytes body, Garble how)
{
    if (body.size() < 3)
        return body;
    if (how == Garble::Address) {
        body[0] ^= 0x01;
    } else if (how == Garble::Echo) {
        // A write reply echoes the register; a read reply has only the function to echo.
        if (body[1] == modbus::kWriteSingle && body.size() >= 4)
            body[3] ^= 0x01;
        else
            body[1] ^= 0x07;
    }
    return body;
}
} // namespace

std::optional<FaultKind> faultKindFromName(const std::string& name)
{
    for (const auto& [kind, text] : kKindNames)
        if (name == text)
            return kind;
    return std::nullopt;
}

std::string faultKindName(FaultKind kind)
{
    for (const auto& [k, text] : kKindNames)
        if (k == kind)
            return text;
    return "?";
}

std::optional<Garble> garbleFromName(const std::string& name)
{
    for (const auto& [how, text] : kGarbleNames)
        if (name == text)
            return how;
    return std::nullopt;
}

std::string garbleName(Garble how)
{
    for (const auto& [h, text] : kGarbleNames)
        if (h == how)
            return text;
    return "?";
}

int defaultFaultMs(FaultKind kind)
{
    return kind == FaultKind::Late ? 1000 : kind == FaultKind::Delay ? 100 : 0;
}

int FaultList::add(Fault fault)
{
    fault.id = nextId_++;
    faults_.push_back(fault);
    return fault.id;
}

std::optional<Fault> FaultList::take(std::uint16_t reg, bool writing)
{
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->reg && *it->reg != reg)
            continue;
        if (it->kind == FaultKind::Busy && !writing)
            continue; // busy keys refuse writes only; a read passes and does not use it up
        Fault found = *it;
        if (it->remaining > 0 && --it->remaining == 0)
            faults_.erase(it);
        return found;
    }
    return std::nullopt;
}

Bytes garbleReply(Protocol protocol, const Bytes& reply, Garble how)
{
    if (how == Garble::Truncate)
        return Bytes(reply.begin(), reply.end() - static_cast<long>(std::min<std::size_t>(
                                                      3, reply.size() > 1 ? reply.size() - 1 : 0)));
    switch (protocol) {
    case Protocol::Maker:
        return garbleMaker(reply, how);
    case Protocol::Ascii: {
        if (reply.size() < 9)
            return reply;
        if (how == Garble::Check) {
            Bytes r = reply;
            r[r.size() - 3] =
                static_cast<std::uint8_t>(otherHexDigit(static_cast<char>(r[r.size() - 3])));
            return r;
        }
        const auto raw = fromHex(std::string(reply.begin() + 1, reply.end() - 4));
        if (!raw)
            return reply;
        const Bytes body = garblePdu(*raw, how);
        return modbus::encodeAscii({body[0], body[1], Bytes(body.begin() + 2, body.end())});
    }
    case Protocol::Rtu: {
        if (reply.size() < 5)
            return reply;
        if (how == Garble::Check) {
            Bytes r = reply;
            r.back() ^= 0x5A;
            return r;
        }
        const Bytes body = garblePdu(Bytes(reply.begin(), reply.end() - 2), how);
        return modbus::encodeRtu({body[0], body[1], Bytes(body.begin() + 2, body.end())});
    }
    }
    return reply;
}

std::uint8_t exceptionForNakDigit(int digit)
{
    switch (digit) {
    case 2:
        return modbus::kIllegalFunction;
    case 3:
        return modbus::kIllegalAddress;
    case 4:
        return modbus::kIllegalValue;
    case 5:
        return modbus::kKeysBusy;
    default:
        return modbus::kRefusedInState;
    }
}

int nakDigitForException(std::uint8_t code)
{
    switch (code) {
    case modbus::kIllegalFunction:
        return 2;
    case modbus::kIllegalAddress:
        return 3;
    case modbus::kIllegalValue:
        return 4;
    case modbus::kKeysBusy:
        return 5;
    default:
        return 6;
    }
}

} // namespace qmxsim
