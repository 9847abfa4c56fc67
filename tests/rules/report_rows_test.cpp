// The report's row collection against a stand-in window whose captions are the controls' own
// names: which rows a hidden control takes out. What each row shows is checked against the real
// window in tests/ui/print.
#include "rules/report_rows.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace qmx;

// Rows 0 to 54 each take their own caption label and the slots above stay empty. A hidden caption
// label or group frame takes out exactly the rows whose captions it holds; value and unit labels
// and the frames of the other pages decide nothing.
TEST(ReportRows, HiddenControlTakesOutItsRows)
{
    const struct {
        const char* hide;
        const char* goes; // the caption of the rows that go, or its start ending in "("
    } cases[] = {
        {"", ""},
        {"Label_Alm1(4)", "Label_Alm1(4)"},
        {"Label3(0)", "Label3(0)"},
        {"Label_oth(23)", "Label_oth(23)"},
        {"Label_A1val(4)", ""},
        {"Label_CF(17)", ""},
        {"Text_SV(1)", ""},
        {"Frame_Alarm1", "Label_Alm1("},
        {"Frame_Alarm2", "Label_Alm2("},
        {"Frame_HB", "Label_Alm_HB("},
        {"Frame_Heat", "Label_pid("},
        {"Frame_Cool", "Label_cool("},
        {"Frame_Other", ""},
        {"Frame_Other2", ""},
    };
    for (const auto& c : cases) {
        const QString hidden = QLatin1String(c.hide);
        const QString goes = QLatin1String(c.goes);
        const ReportRows r = Collect_RptData([&](const QString& name) {
            return ControlView{name != hidden, name};
        });
        QSet<QString> captions;
        for (size_t k = 0; k < r.RptFlag.size(); ++k) {
            const QString& item = r.RptItem[k];
            const bool taken =
                !goes.isEmpty() &&
                (goes.endsWith(QLatin1Char('(')) ? item.startsWith(goes) : item == goes);
            EXPECT_EQ(r.RptFlag[k], k < 55 && !taken) << c.hide << ", row " << k;
            EXPECT_EQ(item.isEmpty(), k >= 55) << "row " << k;
            captions << item;
        }
        EXPECT_EQ(captions.size(), 56) << "every row has a caption label of its own";
    }
}
