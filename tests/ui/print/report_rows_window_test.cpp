// The report's rows as the real main window shows them: the built-in defaults, a DC set and an
// infrared set. The expected rows were worked out by hand from the settings pages' rules (which
// rows each option set shows) and the value formats; captions are string-table numbers.
#include "../main/window_fixture.h"

#include "rules/report_rows.h"
#include "ui/print/report_module.h"

#include <QTabWidget>

using namespace qmx;

namespace {

struct Expected {
    int row;
    int name;          // string number of the caption
    const char* value; // nullptr: not checked
    const char* unit;
};

class ReportRowsWindow : public WindowFixture {
protected:
    // The rows come out the same whichever page is in front.
    void check(const std::vector<Expected>& rows)
    {
        std::vector<int> expectRows;
        for (const Expected& e : rows)
            expectRows.push_back(e.row);
        w->Disp_SStab2(0);
        w->show();
        ReportRows r;
        for (int t = w->SSTab2->count() - 1; t >= 0; --t) {
            w->SSTab2->setCurrentIndex(t);
            r = Collect_RptData(windowControls(w.get()));
            std::vector<int> flagged;
            for (size_t k = 0; k < r.RptFlag.size(); ++k)
                if (r.RptFlag[k])
                    flagged.push_back(int(k));
            EXPECT_EQ(flagged, expectRows) << "page " << t << " in front";
        }
        for (const Expected& e : rows) {
            const size_t k = size_t(e.row);
            EXPECT_EQ(r.RptItem[k], S(e.name)) << "row " << e.row;
            if (e.value) {
                EXPECT_EQ(r.RptData[k], QString::fromUtf8(e.value)) << "row " << e.row;
            }
            EXPECT_EQ(r.RptUnit[k], QString::fromUtf8(e.unit)) << "row " << e.row;
        }
    }
};

} // namespace

// Standard model, thermocouple K, no options: one alarm-1 row, PID, the set value, the others.
TEST_F(ReportRowsWindow, BuiltInDefaults)
{
    // clang-format off
    check({{4, 126, "No alarm action", ""}, {12, 151, "During AT cancellation", ""},
           {13, 103, "10", "deg.C"}, {14, 105, "200", "Sec"}, {15, 106, "50", "Sec"},
           {16, 142, "50", "%"}, {17, 107, "30", "Sec"}, {18, 119, "100", "%"}, {19, 120, "0", "%"},
           {21, 141, "20", "deg.C"}, {22, 149, "0", "%/Min"}, {30, 101, "0", "deg.C"},
           {34, 112, "Unlock", ""}, {35, 113, "0.0", "deg.C"},
           {36, 139, "K(-200 to 1370 deg.C)", ""}, {37, 115, "1370", "deg.C"},
           {38, 116, "-200", "deg.C"}, {40, 118, "0.0", "Sec"}, {41, 132, "0", "deg.C/min"},
           {42, 133, "0", "deg.C/min"}, {43, 140, "Heating(reverse)", ""},
           {44, 174, "OUT/OFF function", ""}, {45, 134, "Control output OUT", ""},
           {47, 146, "5.0", "deg.C"}, {48, 147, "0", "Min"}, {49, 144, "All are backlit.", ""},
           {50, 145, "Green", ""}, {53, 148, "OFF indication", ""}});
    // clang-format on
}

// A DC input (0 to 20 mA, one decimal) with DC current output, alarm 2 fitted as a high-limit
// alarm, and no integral time: the auto-reset row, the decimal-point row and the row of the
// output status when the input is abnormal appear; temperature units are empty.
TEST_F(ReportRowsWindow, DcInputAndOutput)
{
    d.ParaVal(50) = 31;
    d.ParaVal(27) = 1;
    d.ParaVal(15) = 0;
    d.ParaVal(37) = 1;
    d.OptSet_OutType = 2;
    d.OptSet_Alarm2 = 1;
    // clang-format off
    check({{4, 126, "No alarm action", ""}, {5, 110, "0.0", ""}, {6, 129, "1.0", ""},
           {7, 131, "0", "Sec"}, {8, 138, "Energized", ""}, {9, 127, "High limit alarm", ""},
           {12, 152, "During AR cancellation", ""}, {13, 103, "1.0", "%"}, {14, 105, "0", "Sec"},
           {15, 106, "50", "Sec"}, {18, 119, "100", "%"}, {19, 120, "0", "%"},
           {22, 149, "0", "%/Min"}, {30, 101, "0.0", ""}, {34, 112, "Unlock", ""},
           {35, 113, "0.0", ""}, {36, 139, "0 to 20mA DC(-2000 to 10000)", ""},
           {37, 115, "137.0", ""}, {38, 116, "-20.0", ""}, {39, 117, "XXX.X", ""},
           {40, 118, "0.0", "Sec"}, {41, 132, "0.0", "/min"}, {42, 133, "0.0", "/min"},
           {43, 140, "Heating(reverse)", ""}, {44, 174, "OUT/OFF function", ""},
           {45, 134, "Control output OUT", ""}, {47, 146, "5.0", ""}, {48, 147, "0", "Min"},
           {49, 144, "All are backlit.", ""}, {50, 145, "Green", ""}, {52, 173, "Output OFF", ""},
           {53, 148, "OFF indication", ""}});
    // clang-format on
}

// The infrared model with a three-phase 20 A heater-burnout alarm: both heater-burnout rows and
// the emissivity row appear, the scaling rows go. Values of the default-rule items (set value, AT
// bias, rates) depend on the item edited last on this model and are not checked.
TEST_F(ReportRowsWindow, InfraredWithHeaterBurnout)
{
    d.RDModel = true;
    d.OptSet_HB = 3;
    // clang-format off
    check({{4, 126, "No alarm action", ""}, {10, 111, "0.0", "A"}, {11, 143, "0.0", "A"},
           {12, 151, "During AT cancellation", ""}, {13, 103, "1.0", "%"}, {14, 105, "200", "Sec"},
           {15, 106, "50", "Sec"}, {16, 142, "50", "%"}, {17, 107, "30", "Sec"},
           {18, 119, "100", "%"}, {19, 120, "0", "%"}, {21, 141, nullptr, "deg.C"},
           {22, 149, "0", "%/Min"}, {30, 101, nullptr, "deg.C"}, {34, 112, "Unlock", ""},
           {35, 113, "0.0", "deg.C"}, {36, 139, "0.0 to 250.0 deg.C", ""}, {40, 118, "0.0", "Sec"},
           {41, 132, nullptr, "deg.C/min"}, {42, 133, nullptr, "deg.C/min"},
           {43, 140, "Heating(reverse)", ""}, {44, 174, "OUT/OFF function", ""},
           {45, 134, "Control output OUT", ""}, {47, 146, "5.0", "deg.C"}, {48, 147, "0", "Min"},
           {49, 144, "All are backlit.", ""}, {50, 145, "Green", ""},
           {53, 148, "OFF indication", ""}, {54, 802, "0.950", ""}});
    // clang-format on
}
