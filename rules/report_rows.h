// The rows of the parameter report and of the CSV export: the settings pages' rows in one fixed
// order, each copied from the controls that show it, so the report says what the window says.
#pragma once

#include <QString>

#include <array>
#include <functional>

namespace qmx {

// What the report reads of one control of the main window: its own Visible flag (a row on a page
// that is not in front still counts as shown) and its caption.
struct ControlView {
    bool visible = false;
    QString text;
};
// A control by its object name ("Label_Alm1(0)", "lbl_OUT").
using ControlLookup = std::function<ControlView(const QString& objectName)>;

// The row arrays, 61 slots (0 to 60). Rows 55 to 60 are never filled and never flagged.
inline constexpr int kReportSlots = 61;
inline constexpr int kReportRows = 55;

struct ReportRows {
    std::array<bool, kReportSlots> RptFlag{};
    std::array<QString, kReportSlots> RptItem;
    std::array<QString, kReportSlots> RptData;
    std::array<QString, kReportSlots> RptUnit;

    int flaggedCount() const;
};

// Copies rows 0 to 54 from the controls (a hidden row keeps its number and its texts, only its
// flag is off), then clears the flags of every row whose group frame is hidden.
ReportRows Collect_RptData(const ControlLookup& look);

} // namespace qmx
