#include "rules/control_rows.h"

#include "model/value_text.h"
#include "rules/settings_pages.h"

namespace qmx {

namespace {

constexpr int kPidItems[11] = {12, 13, 15, 16, 53, 17, 29, 30, 31, 52, 65};
constexpr int kCoolItems[7] = {32, 14, 18, 33, 34, 24, 35};

} // namespace

void PIDcheck(const QmxData& d, DisplayOps& o)
{
    for (int i = 0; i < 11; ++i)
        o.text(Ctl::Label_pidval, i, Para_Text(d, kPidItems[i]));
}

void PID_bcheck(const QmxData& d, DisplayOps& o)
{
    for (int i = 0; i < 7; ++i)
        o.text(Ctl::Label_coolval, i, Para_Text(d, kCoolItems[i]));
}

void relayControlRows(const QmxData& d, int item, DisplayOps& o)
{
    switch (item) {
    case 13:
        SettingsPages::heating(d, o);
        SettingsPages::cooling(d, o);
        PIDcheck(d, o);
        PID_bcheck(d, o);
        break;
    case 14:
        // Cooling P decides the cooling rows only.
        SettingsPages::cooling(d, o);
        PID_bcheck(d, o);
        break;
    case 15:
    case 16:
        // I and D decide the heating rows only.
        SettingsPages::heating(d, o);
        PIDcheck(d, o);
        break;
    default:
        break;
    }
}

} // namespace qmx
