// What a refresh of the main window does, as a plain list of property changes in the order they
// are decided. The layout rules are written once against this list, tested without a window, and
// the window applies the list (later entries win, as they would on the controls themselves).
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace qmx {

// The controls the refreshes touch. Arrays are addressed with an index; single controls with -1.
enum class Ctl : uint8_t {
    SSTab2,
    Frame1,
    Frame_Alarm1,
    Frame_Alarm2,
    Frame_HB,
    Frame_Heat,
    Frame_Cool,
    Frame_Other,
    Frame_Other2,
    Cmd_True,
    Cmd_set,
    Manuval,
    Text_PV,
    Text_SV,
    Text_MV,
    Text_HB,
    Label_CF,
    Label_UD,
    Label1,
    Label21,
    Label18,
    lbl_OUT,
    Label_Min,
    lbl_alm,
    Label23,
    Label58,
    Label_atm,
    Label_OUTOFF,
    Label5,
    Label_Alm1,
    Label_A1val,
    Label_Alm2,
    Label_A2val,
    Label_Alm_HB,
    Label_HBval,
    Label_HB,
    Lbl_HB,
    Label_pid,
    Label_pidval,
    Label_cool,
    Label_coolval,
    Label_oth,
    Label_othval,
    Count
};

// The control's name as the window names it ("Label_Alm1"); "Name(i)" for an array element.
const char* ctlName(Ctl c);
bool ctlIsArray(Ctl c);

enum class Prop : uint8_t { Visible, Enabled, Text, BackColor };

// Colours are 0x00BBGGRR values, as the controller's documentation writes them.
namespace colour {
inline constexpr uint32_t Red = 0x0000FF;
inline constexpr uint32_t Green = 0x00C000;
inline constexpr uint32_t Yellow = 0x00FFFF;
inline constexpr uint32_t White = 0xFFFFFF;
inline constexpr uint32_t LightGreen = 0xC0FFC0;
} // namespace colour

struct DisplayOp {
    Ctl ctl;
    int8_t index; // -1 for a single control
    Prop prop;
    uint32_t value; // Visible/Enabled: 0 or 1; BackColor: 0x00BBGGRR
    QString text;
};

class DisplayOps {
public:
    void visible(Ctl c, int i, bool v) { ops_.push_back({c, int8_t(i), Prop::Visible, v, {}}); }
    void visible(Ctl c, bool v) { visible(c, -1, v); }
    void enabled(Ctl c, int i, bool v) { ops_.push_back({c, int8_t(i), Prop::Enabled, v, {}}); }
    void text(Ctl c, int i, const QString& t) { ops_.push_back({c, int8_t(i), Prop::Text, 0, t}); }
    void text(Ctl c, const QString& t) { text(c, -1, t); }
    void colour(Ctl c, int i, uint32_t bgr)
    {
        ops_.push_back({c, int8_t(i), Prop::BackColor, bgr, {}});
    }
    void colour(Ctl c, uint32_t bgr) { colour(c, -1, bgr); }

    const std::vector<DisplayOp>& ops() const { return ops_; }
    void clear() { ops_.clear(); } // keeps the capacity, so a refresh does not allocate anew
    size_t size() const { return ops_.size(); }

private:
    std::vector<DisplayOp> ops_;
};

// The end state of one property after a list of ops, for tests and the automation dump.
struct FinalState {
    bool known = false;
    uint32_t value = 0;
    QString text;
};
FinalState finalState(const DisplayOps& ops, Ctl c, int index, Prop p);

} // namespace qmx
