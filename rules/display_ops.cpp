#include "rules/display_ops.h"

namespace qmx {

namespace {

struct CtlInfo {
    const char* name;
    bool array;
};

constexpr CtlInfo kCtls[] = {
    {"SSTab2", false},       {"Frame1", false},       {"Frame_Alarm1", false},
    {"Frame_Alarm2", false}, {"Frame_HB", false},     {"Frame_Heat", false},
    {"Frame_Cool", false},   {"Frame_Other", false},  {"Frame_Other2", false},
    {"Cmd_True", true},      {"Cmd_set", true},       {"Manuval", true},
    {"Text_PV", false},      {"Text_SV", true},       {"Text_MV", true},
    {"Text_HB", true},       {"Label_CF", true},      {"Label_UD", true},
    {"Label1", true},        {"Label21", true},       {"Label18", true},
    {"lbl_OUT", false},      {"Label_Min", false},    {"lbl_alm", true},
    {"Label23", false},      {"Label58", false},      {"Label_atm", false},
    {"Label_OUTOFF", false}, {"Label5", false},       {"Label_Alm1", true},
    {"Label_A1val", true},   {"Label_Alm2", true},    {"Label_A2val", true},
    {"Label_Alm_HB", true},  {"Label_HBval", true},   {"Label_HB", true},
    {"Lbl_HB", true},        {"Label_pid", true},     {"Label_pidval", true},
    {"Label_cool", true},    {"Label_coolval", true}, {"Label_oth", true},
    {"Label_othval", true},
};
static_assert(sizeof(kCtls) / sizeof(kCtls[0]) == static_cast<size_t>(Ctl::Count));

} // namespace

const char* ctlName(Ctl c)
{
    return kCtls[static_cast<size_t>(c)].name;
}

bool ctlIsArray(Ctl c)
{
    return kCtls[static_cast<size_t>(c)].array;
}

FinalState finalState(const DisplayOps& ops, Ctl c, int index, Prop p)
{
    FinalState s;
    for (const auto& op : ops.ops()) {
        if (op.ctl == c && op.index == index && op.prop == p) {
            s.known = true;
            s.value = op.value;
            s.text = op.text;
        }
    }
    return s;
}

} // namespace qmx
