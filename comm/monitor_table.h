// The monitoring poll as plain functions: which item each of the 64 steps reads, how a read's
// reply is judged, and what the status word asks of the scheduler.
#pragma once

#include <QString>

namespace qmx {

inline constexpr int kMonitorSteps = 64;

// The item step `step` reads. PV and the status word come round most often; heater currents, MV2,
// the extra set values and the input-abnormal output only when the option words (low bytes) and
// the input type say the controller has them; `infrared` names the list the type belongs to. A
// step outside 0..63 reads PV.
int monitorItem(int step, int optionBits, int optionBits2, int inputType, bool infrared);

// The step after `step`: 63 wraps to 0.
int nextMonitorStep(int step);

// Items 59..64 have no ordinary register: the poll reads them with the special read through their
// first special code, CommNoTbl2(item - 50).
bool isSpecialMonitorItem(int item);
int specialCodeIndex(int item);

// How the reply to a plain read is judged by the poll and the online check. `protocol` 0 is the
// maker's protocol (first character), 1 and 2 Modbus (characters 4-5; a reply too short to hold
// them counts as no answer).
enum class ReadVerdict { Stored, Refused, NoAnswer };
ReadVerdict judgeReadReply(int protocol, const QString& reply);

// What one status word asks for: an upload when the controller flags changed settings (0x8000) or
// when auto-tuning (0x800) has just ended; `atRun` is whether auto-tuning is seen running now.
struct StatusRequest {
    bool upload = false;
    bool atRun = false;
};
StatusRequest statusCheck(int statusBits, bool atRun);

} // namespace qmx
