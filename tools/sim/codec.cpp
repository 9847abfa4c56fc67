#include "codec.h"

#include <cstdio>

namespace qmxsim {

namespace {
Op opOf(std::uint8_t command)
{
    switch (command) {
    case maker::kRead:
        return Op::Read;
    case maker::kWrite:
        return Op::Write;
    case maker::kMemoRead:
        return Op::MemoRead;
    case maker::kSpecialRead1:
        return Op::SpecialRead1;
    case maker::kSpecialRead2:
        return Op::SpecialRead2;
    case maker::kSpecialWrite1:
        return Op::SpecialWrite1;
    case maker::kSpecialWrite2:
        return Op::SpecialWrite2;
    default:
        return Op::Unknown;
    }
}

Bytes encodeModbus(Protocol protocol, const modbus::Pdu& pdu)
{
    return protocol == Protocol::Rtu ? modbus::encodeRtu(pdu) : modbus::encodeAscii(pdu);
}
} // namespace

Decoded decodeMaker(const maker::Request& request, int instrument)
{
    Decoded d;
    const int target = request.address - maker::kAddressBase;
    d.global = target == maker::kGlobalInstrument;
    d.forUs = d.global || target == instrument;
    d.cmd = hex2(request.command);
    d.reg = request.reg;
    d.data = request.data;
    Command& c = d.command;
    c.op = opOf(request.command);
    const auto reg = request.reg.size() == 4 ? parseUpperHex(request.reg) : std::nullopt;
    c.regValid = reg.has_value();
    c.reg = reg.value_or(0);
    d.writing = maker::carriesData(request.command);
    if (d.writing) {
        const auto data = request.data.size() == 4 ? parseUpperHex(request.data) : std::nullopt;
        c.dataValid = data.has_value();
        c.value = data.value_or(0);
    }
    return d;
}

std::optional<Decoded> decodeModbus(const modbus::Pdu& pdu, int instrument)
{
    Decoded d;
    d.global = pdu.address == modbus::kBroadcast;
    d.forUs = d.global || pdu.address == instrument;
    d.cmd = hex2(pdu.function);
    Command& c = d.command;
    c.modbus = true;
    if (pdu.function != modbus::kReadHolding && pdu.function != modbus::kWriteSingle) {
        c.op = Op::Unknown;
        return d;
    }
    if (pdu.payload.size() != 4)
        return std::nullopt;
    c.reg = modbus::word(pdu.payload, 0);
    d.reg = hex4(c.reg);
    const std::uint16_t second = modbus::word(pdu.payload, 2);
    d.data = hex4(second);
    if (pdu.function == modbus::kReadHolding) {
        c.op = Op::Read;
        // One register per read; any other count is a value this controller does not take.
        c.dataValid = second == 1;
    } else {
        c.op = Op::Write;
        c.value = second;
        d.writing = true;
    }
    return d;
}

char nakDigit(Verdict verdict)
{
    switch (verdict) {
    case Verdict::BadCheck:
        return '1';
    case Verdict::UnknownCommand:
        return '2';
    case Verdict::NoRegister:
        return '3';
    case Verdict::OutOfRange:
        return '4';
    case Verdict::KeysBusy:
        return '5';
    case Verdict::RefusedInState:
        return '6';
    default:
        return 0;
    }
}

std::uint8_t exceptionCode(Verdict verdict)
{
    switch (verdict) {
    case Verdict::NoRegister:
        return modbus::kIllegalAddress;
    case Verdict::OutOfRange:
        return modbus::kIllegalValue;
    case Verdict::KeysBusy:
        return modbus::kKeysBusy;
    case Verdict::RefusedInState:
        return modbus::kRefusedInState;
    default:
        return modbus::kIllegalFunction;
    }
}

Reply makerRefusal(const maker::Request& request, std::uint8_t lead, char digit)
{
    Reply r;
    r.bytes = maker::encodeRefusal(lead, digit, request);
    r.note = lead == maker::kEsc ? std::string("esc") : std::string("nak:") + digit;
    return r;
}

Reply makerReply(const maker::Request& request, const Answer& answer)
{
    if (answer.verdict == Verdict::Ack) {
        Reply r;
        r.bytes = maker::encodeAck(request, answer.value);
        r.note = "ack";
        r.data = hex4(answer.value);
        return r;
    }
    if (answer.verdict == Verdict::NotExecutable)
        return makerRefusal(request, maker::kEsc, '0');
    return makerRefusal(request, maker::kNak, nakDigit(answer.verdict));
}

Reply modbusException(Protocol protocol, const modbus::Pdu& request, std::uint8_t code)
{
    Reply r;
    r.bytes =
        encodeModbus(protocol, modbus::exceptionReply(request.address, request.function, code));
    r.note = "exception:" + hex2(code);
    return r;
}

Reply modbusReply(Protocol protocol, const modbus::Pdu& request, const Answer& answer)
{
    if (answer.verdict != Verdict::Ack)
        return modbusException(protocol, request, exceptionCode(answer.verdict));
    Reply r;
    r.note = "ack";
    r.data = hex4(answer.value);
    if (request.function == modbus::kReadHolding) {
        r.bytes = encodeModbus(protocol, modbus::readReply(request.address, answer.value));
    } else {
        r.bytes = encodeModbus(
            protocol,
            modbus::writeRequest(request.address, modbus::word(request.payload, 0), answer.value));
    }
    return r;
}

} // namespace qmxsim
