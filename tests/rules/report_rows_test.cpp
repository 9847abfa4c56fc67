// The report's row collection against a stand-in window: which rows are flagged, and where their
// texts come from. The real window's rows are checked in tests/ui/print.
#include "rules/report_rows.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QSet>

using namespace qmx;

namespace {

// A window where every control is shown and its caption is its own name, unless told otherwise.
struct FakeWindow {
    QSet<QString> hidden;
    QHash<QString, QString> texts;

    ControlLookup lookup() const
    {
        return [this](const QString& name) {
            return ControlView{!hidden.contains(name), texts.value(name, name)};
        };
    }
};

QSet<int> flagged(const ReportRows& r)
{
    QSet<int> out;
    for (int k = 0; k < kReportSlots; ++k)
        if (r.RptFlag[size_t(k)])
            out << k;
    return out;
}

QSet<int> range(int first, int last)
{
    QSet<int> out;
    for (int k = first; k <= last; ++k)
        out << k;
    return out;
}

} // namespace

TEST(ReportRows, EverythingShownFlagsRowsZeroTo54Only)
{
    FakeWindow w;
    const ReportRows r = Collect_RptData(w.lookup());
    EXPECT_EQ(flagged(r), range(0, 54));
    for (int k = 55; k < kReportSlots; ++k) {
        EXPECT_TRUE(r.RptItem[size_t(k)].isEmpty()) << k;
        EXPECT_TRUE(r.RptData[size_t(k)].isEmpty()) << k;
    }
}

// A hidden frame takes out exactly its group's rows, even with every label in it shown; the rows
// after it keep their numbers.
TEST(ReportRows, HiddenFrameTakesOutItsGroup)
{
    const struct {
        const char* frame;
        int first, last;
    } cases[] = {
        {"Frame_Alarm1", 0, 4}, {"Frame_Alarm2", 5, 9}, {"Frame_HB", 10, 11},
        {"Frame_Heat", 12, 22}, {"Frame_Cool", 23, 29},
    };
    for (const auto& c : cases) {
        FakeWindow w;
        w.hidden << QLatin1String(c.frame);
        const ReportRows r = Collect_RptData(w.lookup());
        EXPECT_EQ(flagged(r), range(0, 54) - range(c.first, c.last)) << c.frame;
        // The texts are still copied.
        EXPECT_FALSE(r.RptItem[size_t(c.first)].isEmpty()) << c.frame;
    }
    // Frames of the other pages are not looked at: the set values and other settings stay.
    FakeWindow w;
    w.hidden << QStringLiteral("Frame_Other") << QStringLiteral("Frame_Other2");
    EXPECT_EQ(flagged(Collect_RptData(w.lookup())), range(0, 54));
}

// A row counts as shown by its caption label alone; a hidden value or unit label does not matter.
TEST(ReportRows, CaptionLabelDecidesTheRow)
{
    const struct {
        const char* hide;
        int row; // the row that goes, -1 for none
    } cases[] = {
        {"Label_Alm1(4)", 4},   {"Label3(0)", 30},     {"Label_oth(21)", 44},
        {"Label_oth(23)", 54},  {"Label_pid(10)", 22}, {"Label_cool(6)", 29},
        {"Label_A1val(4)", -1}, {"Label_CF(17)", -1},  {"Text_SV(1)", -1},
    };
    for (const auto& c : cases) {
        FakeWindow w;
        w.hidden << QLatin1String(c.hide);
        QSet<int> expect = range(0, 54);
        if (c.row >= 0)
            expect.remove(c.row);
        EXPECT_EQ(flagged(Collect_RptData(w.lookup())), expect) << c.hide;
    }
}

TEST(ReportRows, EverythingHiddenFlagsNothing)
{
    FakeWindow w;
    const ReportRows shown = Collect_RptData(w.lookup());
    for (int k = 0; k < kReportRows; ++k)
        w.hidden << shown.RptItem[size_t(k)];
    EXPECT_TRUE(flagged(Collect_RptData(w.lookup())).isEmpty());
}

// Where a row names no unit its unit is empty, even though every label of the window has a text.
TEST(ReportRows, RowsWithoutUnitStayEmpty)
{
    const QSet<int> noUnit{3,  4,  8,  9,  12, 23, 24, 34, 36, 39,
                           43, 44, 45, 46, 49, 50, 51, 52, 53, 54};
    FakeWindow w;
    const ReportRows r = Collect_RptData(w.lookup());
    for (int k = 0; k < kReportRows; ++k)
        EXPECT_EQ(r.RptUnit[size_t(k)].isEmpty(), noUnit.contains(k)) << k;
}

// A few rows whose controls lie apart on screen.
TEST(ReportRows, RowsTakeTheirOwnControls)
{
    const struct {
        int row;
        const char *name, *value, *unit;
    } cases[] = {
        {0, "Label_Alm1(0)", "Label_A1val(0)", "Label_CF(1)"},
        {22, "Label_pid(10)", "Label_pidval(10)", "lbl_OUT"},
        {30, "Label3(0)", "Text_SV(1)", "Label_CF(17)"},
        {33, "Label_oth(19)", "Label_othval(19)", "Label_CF(16)"},
        {41, "Label_oth(7)", "Label_othval(7)", "Label_UD(0)"},
        {44, "Label_oth(21)", "Label_othval(21)", ""},
        {48, "Label_oth(14)", "Label_othval(14)", "Label_Min"},
        {54, "Label_oth(23)", "Label_othval(23)", ""},
    };
    FakeWindow w;
    const ReportRows r = Collect_RptData(w.lookup());
    for (const auto& c : cases) {
        EXPECT_EQ(r.RptItem[size_t(c.row)], QLatin1String(c.name)) << c.row;
        EXPECT_EQ(r.RptData[size_t(c.row)], QLatin1String(c.value)) << c.row;
        EXPECT_EQ(r.RptUnit[size_t(c.row)], QLatin1String(c.unit)) << c.row;
    }
}

// The value is the caption on screen, whatever it says.
TEST(ReportRows, ValueIsTheScreenText)
{
    FakeWindow w;
    w.texts.insert(QStringLiteral("Label_othval(3)"), QStringLiteral("----"));
    w.texts.insert(QStringLiteral("Label_othval(2)"), QString());
    const ReportRows r = Collect_RptData(w.lookup());
    EXPECT_EQ(r.RptData[37], QStringLiteral("----"));
    EXPECT_EQ(r.RptData[36], QString());
}
