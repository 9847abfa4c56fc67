// The model-option dialog: which options the controller of the screen data has (alarm 2,
// heating/cooling, heater burnout, SV2-SV4 selection, output type, serial communication). The left
// panel shows the set in force when the dialog opened, the right panel takes the new one; every
// choice is tested at once against the exclusions (rules/model_options.h). Change commits the set
// and lays the main window out again; Cancel, the close box and Escape put back the set in force.
// The dialog never talks to the controller: it opens only offline.
#pragma once

#include "rules/model_options.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qmx {

class MainServices;
struct QmxData;

class SubDisp_Opset : public QDialog {
    Q_OBJECT
public:
    // Builds the dialog and runs its open step, so a refusal of an inconsistent set is told
    // before the window shows.
    explicit SubDisp_Opset(MainServices& main, QWidget* parent = nullptr);

    // The click rule of each group (Index: the option within the group).
    void Option_set1_Click(int Index) { optionClick(0, Index); }
    void Option_set2_Click(int Index) { optionClick(1, Index); }
    void Option_set3_Click(int Index) { optionClick(2, Index); }
    void Option_set4_Click(int Index) { optionClick(3, Index); }
    void Option_set5_Click(int Index) { optionClick(4, Index); }
    void Option_set6_Click(int Index) { optionClick(5, Index); }
    // 0 Change, 1 Cancel.
    void Command1_Click(int Index);

    QGroupBox* Frame1 = nullptr; // the set in force
    QGroupBox* Frame2 = nullptr; // the set after the change
    std::array<QGroupBox*, kOptionGroups> Frame_OP1{};
    std::array<QGroupBox*, kOptionGroups> Frame2_OP1{};
    std::array<QLabel*, kOptionGroups> Lbl_OP{}; // Lbl_OP1 .. Lbl_OP6
    std::array<QRadioButton*, 2> Option_set1{};
    std::array<QRadioButton*, 2> Option_set2{};
    std::array<QRadioButton*, 5> Option_set3{};
    std::array<QRadioButton*, 2> Option_set4{};
    std::array<QRadioButton*, 3> Option_set5{};
    std::array<QRadioButton*, 2> Option_set6{};
    std::array<QPushButton*, 2> Command1{};

public slots:
    // Any way of closing but Change is Cancel.
    void reject() override;

private:
    void Form_Load();
    void optionClick(int group, int Index);
    QRadioButton* option(int group, int k) const;
    // Shows the panel's selection and enabled states, stores its words, then tells the refusals.
    void showPanel(const std::vector<int>& messages);

    MainServices& main_;
    QmxData& d;
    OpsetPanel panel_;
    OptionSet before_{}; // the words in force when the dialog opened
};

} // namespace qmx
