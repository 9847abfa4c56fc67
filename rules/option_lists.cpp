#include "rules/option_lists.h"

#include "model/items.h"
#include "model/string_table.h"

#include <array>
#include <cstring>

namespace qmx {

namespace {

// Frame numbers, in the order of optionFrames().
enum Frame {
    kAt,
    kLock,
    kDp,
    kCool,
    kAlarm,
    kOutDisp,
    kOut,
    kManu,
    kReigi,
    kSensor,
    kHc,
    kBklt,
    kColor,
    kSmsl,
    kDcosl,
    kManusl,
    kFrameCount
};

struct ListItem {
    int item;
    Frame frame;
};

constexpr ListItem kItems[] = {
    {12, kAt},      {22, kLock}, {27, kDp},    {32, kCool},  {36, kAlarm}, {37, kAlarm},
    {42, kOutDisp}, {45, kOut},  {46, kManu},  {48, kReigi}, {49, kReigi}, {50, kSensor},
    {51, kHc},      {55, kBklt}, {56, kColor}, {62, kSmsl},  {63, kDcosl}, {64, kManusl},
};

constexpr int kFrameCaptions[kFrameCount] = {220, 112, 117, 122, 234, 148, 134, 135,
                                             241, 139, 140, 144, 145, 175, 173, 174};

constexpr int kLockIds[] = {244, 245, 246, 247};
constexpr int kCoolIds[] = {238, 239, 240};
constexpr int kAlarmIds[] = {200, 201, 203, 205, 207, 209, 211, 202, 204, 206};
constexpr int kOutDispIds[] = {165, 166, 167, 157};
constexpr int kOutIds[] = {318, 317};
constexpr int kManuIds[] = {319, 320};
constexpr int kReigiIds[] = {242, 243};
constexpr int kHcIds[] = {315, 316};
constexpr int kBkltIds[] = {60, 61, 62, 63, 64, 65, 66};
constexpr int kColorIds[] = {67, 68, 69, 70, 71, 72, 73};
constexpr int kSmslIds[] = {226, 227, 228};
constexpr int kDcoslIds[] = {163, 164};
constexpr int kManuslIds[] = {176, 177};
constexpr const char* kDpTexts[] = {"XXXX", "XXX. X", "XX. XX", "X. XXX"};

constexpr int kInfraredTypes = kLastInfraredType + 1;

// Auto-reset wording while any of P, I and D is 0.
bool autoReset(const QmxData& d)
{
    return d.ParaVal(item::kProportionalBand) == 0 || d.ParaVal(item::kIntegralTime) == 0 ||
           d.ParaVal(item::kDerivativeTime) == 0;
}

template <size_t N> QString pick(const int (&ids)[N], int index)
{
    return index >= 0 && index < int(N) ? LoadResString(ids[index]) : QString();
}

} // namespace

const std::vector<OptionFrame>& optionFrames()
{
    static const std::vector<OptionFrame> frames = {
        {"Select_at", "Option_at", 2},        {"Select_lock", "Option_lock", 4},
        {"Select_dp", "Option_dp", 4},        {"Select_cool", "Option_cool", 3},
        {"Select_alarm", "Option_alarm", 10}, {"Select_outdisp", "Option_outdisp", 4},
        {"Select_out", "Option_out", 2},      {"Select_manu", "Option_manu", 2},
        {"Select_reigi", "Option_reigi", 2},  {"Select_sensor", "Option_sensor", 36},
        {"Select_hc", "Option_hc", 2},        {"Select_bklt", "Option_bklt", 7},
        {"Select_color", "Option_color", 7},  {"Select_smsl", "Option_smsl", 3},
        {"Select_dcosl", "Option_dcosl", 2},  {"Select_manusl", "Option_manusl", 2},
    };
    return frames;
}

int optionFrameOf(int item)
{
    for (const ListItem& l : kItems)
        if (l.item == item)
            return l.frame;
    return -1;
}

int offeredOptions(const QmxData& d, int frame)
{
    if (frame < 0 || frame >= kFrameCount)
        return 0;
    if (frame == kSensor && d.RDModel)
        return kInfraredTypes;
    return optionFrames()[size_t(frame)].count;
}

QString frameCaption(const QmxData& d, int frame)
{
    if (frame < 0 || frame >= kFrameCount)
        return QString();
    if (frame == kAt)
        return LoadResString(autoReset(d) ? 221 : 220);
    return LoadResString(kFrameCaptions[frame]);
}

QString optionCaption(const QmxData& d, int frame, int index)
{
    if (index < 0 || index >= offeredOptions(d, frame))
        return QString();
    switch (frame) {
    case kAt:
        return LoadResString((autoReset(d) ? 224 : 222) + index);
    case kLock:
        return pick(kLockIds, index);
    case kDp:
        return QString::fromLatin1(kDpTexts[index]);
    case kCool:
        return pick(kCoolIds, index);
    case kAlarm:
        return pick(kAlarmIds, index);
    case kOutDisp:
        return pick(kOutDispIds, index);
    case kOut:
        return pick(kOutIds, index);
    case kManu:
        return pick(kManuIds, index);
    case kReigi:
        return pick(kReigiIds, index);
    case kSensor:
        return LoadResString((d.RDModel ? 797 : 750) + index);
    case kHc:
        return pick(kHcIds, index);
    case kBklt:
        return pick(kBkltIds, index);
    case kColor:
        return pick(kColorIds, index);
    case kSmsl:
        return pick(kSmslIds, index);
    case kDcosl:
        return pick(kDcoslIds, index);
    case kManusl:
        return pick(kManuslIds, index);
    default:
        return QString();
    }
}

int optionForValue(const QmxData& d, int frame, int value)
{
    return value >= 0 && value < offeredOptions(d, frame) ? value : -1;
}

} // namespace qmx
