#include "comm/monitor_table.h"

#include "model/items.h"

#include <array>

namespace qmx {

namespace {

// What a step reads, before the option words decide.
enum Slot : char {
    Pv,        // item 0
    Status,    // item 4
    Sv,        // item 3
    Mv1,       // item 1
    Mv2,       // 2 with heating/cooling, else PV
    Heater1,   // 5 with heater burnout, else the status word
    Heater2,   // 6 with three-phase heater burnout, else SV
    Sv2,       // 59 with the SV memory option, else as Mv2
    Sv3,       // 60 with the SV memory option, else as Heater1
    Sv4,       // 61 with the SV memory option, else as Heater2
    Contact,   // 62 with the SV memory option, else as Mv2
    OutOffKey, // 64 with the SV memory option, else MV1
    InputAbn,  // 63 for DC inputs with the option, else MV1
    AutoMan,   // item 46
};

// The cycle: PV and the status word every five or six steps, SV and MV1 every twelve or so, and
// the optional values spread between them.
constexpr std::array<Slot, kMonitorSteps> kCycle = {
    Pv,        Status,   Sv,      Mv1,     Mv2,       Pv,       Status,    Heater1, // 0-7
    Heater2,   Sv2,      Heater1, Pv,      Status,    Sv,       Mv1,       Mv2,     // 8-15
    Heater2,   Pv,       Status,  Sv3,     Sv4,       InputAbn, Sv2,       Pv,      // 16-23
    Status,    Sv,       Mv1,     Mv2,     Sv3,       Pv,       Status,    Contact, // 24-31
    OutOffKey, AutoMan,  Sv4,     Pv,      Status,    Sv,       Mv1,       Mv2,     // 32-39
    InputAbn,  Pv,       Status,  Heater1, Heater2,   Sv2,      Contact,   Pv,      // 40-47
    Status,    Sv,       Mv1,     Mv2,     OutOffKey, Pv,       Status,    Sv3,     // 48-55
    Sv4,       InputAbn, AutoMan, Pv,      Status,    Contact,  OutOffKey, AutoMan, // 56-63
};

constexpr int kHeatCool = 0x40;
constexpr int kHeaterBurnout = 0x04;
constexpr int kThreePhase = 0x10;
constexpr int kSvMemory = 0x01;      // option word 2
constexpr int kInputAbnormal = 0x10; // option word 2

int mv2OrPv(int ob)
{
    return (ob & kHeatCool) ? 2 : 0;
}

int heater1OrStatus(int ob)
{
    return (ob & kHeaterBurnout) ? 5 : 4;
}

int heater2OrSv(int ob)
{
    return (ob & kThreePhase) ? 6 : 3;
}

} // namespace

int monitorItem(int step, int optionBits, int optionBits2, int inputType, bool infrared)
{
    if (step < 0 || step >= kMonitorSteps)
        return 0;
    const int ob = optionBits & 0xFF;
    const int ob2 = optionBits2 & 0xFF;
    const bool memory = (ob2 & kSvMemory) != 0;
    switch (kCycle[static_cast<size_t>(step)]) {
    case Pv:
        return 0;
    case Status:
        return 4;
    case Sv:
        return 3;
    case Mv1:
        return 1;
    case Mv2:
        return mv2OrPv(ob);
    case Heater1:
        return heater1OrStatus(ob);
    case Heater2:
        return heater2OrSv(ob);
    case Sv2:
        return memory ? 59 : mv2OrPv(ob);
    case Sv3:
        return memory ? 60 : heater1OrStatus(ob);
    case Sv4:
        return memory ? 61 : heater2OrSv(ob);
    case Contact:
        return memory ? 62 : mv2OrPv(ob);
    case OutOffKey:
        return memory ? 64 : 1;
    case InputAbn:
        return isDcInput(inputType, infrared) && (ob2 & kInputAbnormal) ? 63 : 1;
    case AutoMan:
        return 46;
    }
    return 0;
}

int nextMonitorStep(int step)
{
    const int next = step + 1;
    return next > kMonitorSteps - 1 ? 0 : next;
}

bool isSpecialMonitorItem(int item)
{
    return item >= 59 && item <= 64;
}

int specialCodeIndex(int item)
{
    return item - 50;
}

ReadVerdict judgeReadReply(int protocol, const QString& reply)
{
    if (protocol == 0) {
        if (reply.isEmpty())
            return ReadVerdict::NoAnswer;
        return reply[0] == QChar(0x06) ? ReadVerdict::Stored : ReadVerdict::Refused;
    }
    if (reply.size() < 4)
        return ReadVerdict::NoAnswer;
    return reply.mid(3, 2) == u"03" ? ReadVerdict::Stored : ReadVerdict::Refused;
}

StatusRequest statusCheck(int statusBits, bool atRun)
{
    constexpr int kSettingsChanged = 0x8000;
    constexpr int kAutoTuning = 0x800;
    StatusRequest r;
    r.upload = (statusBits & kSettingsChanged) != 0;
    r.atRun = atRun;
    if (statusBits & kAutoTuning) {
        r.atRun = true;
    } else if (atRun) {
        // Auto-tuning has just ended: it changed P, I and D, so the screen must fetch them.
        r.atRun = false;
        r.upload = true;
    }
    return r;
}

} // namespace qmx
