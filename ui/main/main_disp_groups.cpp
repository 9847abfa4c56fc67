// The group enable buttons above the settings groups: each switches its whole group on or off.
#include "ui/main/main_disp.h"

#include "ui/ui_widgets.h"

#include <QLabel>
#include <QPushButton>

namespace qmx {

void MainDisp::Cmd_True_Click(int Index)
{
    if (Index < 0 || Index > 6)
        return;
    QWidget* frames[7] = {Frame_Alarm1, Frame_Alarm2, Frame_HB,    Frame_Heat,
                          Frame_Cool,   Frame_Other,  Frame_Other2};
    // The group's state is its frame's own Enabled property.
    const bool enabledNow = !frames[Index]->testAttribute(Qt::WA_ForceDisabled);
    setGroupEnabled(Index, !enabledNow);
}

void MainDisp::setGroupEnabled(int index, bool on)
{
    std::vector<QWidget*> w;
    auto all = [&w](const auto& arr, int from, int to) {
        for (int i = from; i <= to; ++i)
            w.push_back(arr[size_t(i)]);
    };
    auto some = [&w](const auto& arr, std::initializer_list<int> ids) {
        for (int i : ids)
            w.push_back(arr[size_t(i)]);
    };
    // Frame, name and value labels, the group's other labels, then its set buttons.
    switch (index) {
    case 0:
        w.push_back(Frame_Alarm1);
        all(Label_Alm1, 0, 4);
        all(Label_A1val, 0, 4);
        some(Label_CF, {1, 2});
        some(Label1, {0});
        some(Cmd_set, {9, 26, 28, 30, 38});
        break;
    case 1:
        w.push_back(Frame_Alarm2);
        all(Label_Alm2, 0, 4);
        all(Label_A2val, 0, 4);
        some(Label_CF, {3, 4});
        some(Label1, {1});
        some(Cmd_set, {10, 27, 29, 31, 39});
        break;
    case 2:
        w.push_back(Frame_HB);
        all(Label_Alm_HB, 0, 1);
        all(Label_HBval, 0, 1);
        all(Label_HB, 0, 1);
        // Both heater-burnout settings follow their group, so a switched-off group has no live
        // button.
        some(Cmd_set, {11, 44});
        break;
    case 3:
        w.push_back(Frame_Heat);
        all(Label_pid, 0, 10);
        all(Label_pidval, 0, 10);
        some(Label_CF, {5, 6, 7});
        some(Label1, {2, 3, 4});
        some(Label21, {0, 1, 2});
        w.push_back(lbl_OUT);
        some(Cmd_set, {2, 3, 5, 6, 7, 19, 20, 21, 42, 43, 55});
        break;
    case 4:
        w.push_back(Frame_Cool);
        all(Label_cool, 0, 6);
        all(Label_coolval, 0, 6);
        some(Label_CF, {8, 9});
        some(Label1, {5});
        some(Label21, {3, 4});
        some(Cmd_set, {4, 8, 14, 22, 23, 24, 25});
        break;
    case 5:
        w.push_back(Frame_Other);
        all(Label_oth, 0, 22);
        all(Label_othval, 0, 22);
        all(Label_CF, 10, 16);
        all(Label_UD, 0, 1);
        some(Label1, {6});
        w.push_back(Label_Min);
        some(Cmd_set, {12, 13, 15, 16, 17, 18, 32, 33, 34, 35, 36, 40,
                       41, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54});
        break;
    case 6:
        w.push_back(Frame_Other2);
        some(Label_oth, {23});
        some(Label_othval, {23});
        some(Cmd_set, {56});
        break;
    default:
        return;
    }
    for (QWidget* x : w)
        x->setEnabled(on);
}

} // namespace qmx
