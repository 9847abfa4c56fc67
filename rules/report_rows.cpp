#include "rules/report_rows.h"

namespace qmx {

namespace {

struct RowSource {
    int item;          // the parameter the row shows, for the reader of this table
    const char* name;  // the caption label
    const char* value; // the value label
    const char* unit;  // the unit label, nullptr where the row has none
};

// The report's row order. A unit is copied only where the row names one, even if another unit
// label stands beside the row on screen.
constexpr RowSource kRows[kReportRows] = {
    {19, "Label_Alm1(0)", "Label_A1val(0)", "Label_CF(1)"},
    {38, "Label_Alm1(1)", "Label_A1val(1)", "Label_CF(2)"},
    {40, "Label_Alm1(2)", "Label_A1val(2)", "Label1(0)"},
    {48, "Label_Alm1(3)", "Label_A1val(3)", nullptr},
    {36, "Label_Alm1(4)", "Label_A1val(4)", nullptr},
    {20, "Label_Alm2(0)", "Label_A2val(0)", "Label_CF(3)"},
    {39, "Label_Alm2(1)", "Label_A2val(1)", "Label_CF(4)"},
    {41, "Label_Alm2(2)", "Label_A2val(2)", "Label1(1)"},
    {49, "Label_Alm2(3)", "Label_A2val(3)", nullptr},
    {37, "Label_Alm2(4)", "Label_A2val(4)", nullptr},
    {21, "Label_Alm_HB(0)", "Label_HBval(0)", "Label_HB(0)"},
    {54, "Label_Alm_HB(1)", "Label_HBval(1)", "Label_HB(1)"},
    {12, "Label_pid(0)", "Label_pidval(0)", nullptr},
    {13, "Label_pid(1)", "Label_pidval(1)", "Label_CF(5)"},
    {15, "Label_pid(2)", "Label_pidval(2)", "Label1(2)"},
    {16, "Label_pid(3)", "Label_pidval(3)", "Label1(3)"},
    {53, "Label_pid(4)", "Label_pidval(4)", "Label21(2)"},
    {17, "Label_pid(5)", "Label_pidval(5)", "Label1(4)"},
    {29, "Label_pid(6)", "Label_pidval(6)", "Label21(0)"},
    {30, "Label_pid(7)", "Label_pidval(7)", "Label21(1)"},
    {31, "Label_pid(8)", "Label_pidval(8)", "Label_CF(6)"},
    {52, "Label_pid(9)", "Label_pidval(9)", "Label_CF(7)"},
    {65, "Label_pid(10)", "Label_pidval(10)", "lbl_OUT"},
    {32, "Label_cool(0)", "Label_coolval(0)", nullptr},
    {14, "Label_cool(1)", "Label_coolval(1)", nullptr},
    {18, "Label_cool(2)", "Label_coolval(2)", "Label1(5)"},
    {33, "Label_cool(3)", "Label_coolval(3)", "Label21(3)"},
    {34, "Label_cool(4)", "Label_coolval(4)", "Label21(4)"},
    {24, "Label_cool(5)", "Label_coolval(5)", "Label_CF(8)"},
    {35, "Label_cool(6)", "Label_coolval(6)", "Label_CF(9)"},
    {11, "Label3(0)", "Text_SV(1)", "Label_CF(17)"},
    {59, "Label_oth(17)", "Label_othval(17)", "Label_CF(14)"},
    {60, "Label_oth(18)", "Label_othval(18)", "Label_CF(15)"},
    {61, "Label_oth(19)", "Label_othval(19)", "Label_CF(16)"},
    {22, "Label_oth(0)", "Label_othval(0)", nullptr},
    {23, "Label_oth(1)", "Label_othval(1)", "Label_CF(10)"},
    {50, "Label_oth(2)", "Label_othval(2)", nullptr},
    {25, "Label_oth(3)", "Label_othval(3)", "Label_CF(11)"},
    {26, "Label_oth(4)", "Label_othval(4)", "Label_CF(12)"},
    {27, "Label_oth(5)", "Label_othval(5)", nullptr},
    {28, "Label_oth(6)", "Label_othval(6)", "Label1(6)"},
    {43, "Label_oth(7)", "Label_othval(7)", "Label_UD(0)"},
    {44, "Label_oth(8)", "Label_othval(8)", "Label_UD(1)"},
    {51, "Label_oth(9)", "Label_othval(9)", nullptr},
    {64, "Label_oth(21)", "Label_othval(21)", nullptr},
    {45, "Label_oth(10)", "Label_othval(10)", nullptr},
    {46, "Label_oth(15)", "Label_othval(15)", nullptr},
    {57, "Label_oth(13)", "Label_othval(13)", "Label_CF(13)"},
    {58, "Label_oth(14)", "Label_othval(14)", "Label_Min"},
    {55, "Label_oth(11)", "Label_othval(11)", nullptr},
    {56, "Label_oth(12)", "Label_othval(12)", nullptr},
    {62, "Label_oth(22)", "Label_othval(22)", nullptr},
    {63, "Label_oth(20)", "Label_othval(20)", nullptr},
    {42, "Label_oth(16)", "Label_othval(16)", nullptr},
    {66, "Label_oth(23)", "Label_othval(23)", nullptr},
};

// The framed groups: a hidden frame takes its rows out, whatever their own labels say.
struct FramedGroup {
    const char* frame;
    int first, last;
};
constexpr FramedGroup kGroups[] = {
    {"Frame_Alarm1", 0, 4}, {"Frame_Alarm2", 5, 9}, {"Frame_HB", 10, 11},
    {"Frame_Heat", 12, 22}, {"Frame_Cool", 23, 29},
};

} // namespace

int ReportRows::flaggedCount() const
{
    int n = 0;
    for (bool f : RptFlag)
        n += f ? 1 : 0;
    return n;
}

ReportRows Collect_RptData(const ControlLookup& look)
{
    ReportRows r;
    for (int k = 0; k < kReportRows; ++k) {
        const RowSource& s = kRows[k];
        const ControlView name = look(QLatin1String(s.name));
        r.RptFlag[size_t(k)] = name.visible;
        r.RptItem[size_t(k)] = name.text;
        r.RptData[size_t(k)] = look(QLatin1String(s.value)).text;
        r.RptUnit[size_t(k)] = s.unit ? look(QLatin1String(s.unit)).text : QString();
    }
    for (const FramedGroup& g : kGroups) {
        if (look(QLatin1String(g.frame)).visible)
            continue;
        for (int k = g.first; k <= g.last; ++k)
            r.RptFlag[size_t(k)] = false;
    }
    return r;
}

} // namespace qmx
