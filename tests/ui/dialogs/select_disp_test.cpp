// The list choice as the operator meets it, offline: the frame and the choice a set button shows,
// the captions of the moment, and what OK and Cancel do to the data and the main window.
#include "window_fixture.h"

#include "files/setdata_file.h"
#include "ui/dialogs/select_disp.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace qmx;

namespace {

// The frame and option array of each list item, as the operator's manual names them.
struct ListItem {
    int item;
    const char* frame;
    const char* options;
    int value; // a stored value to find selected
};

const ListItem kItems[] = {
    {12, "Select_at", "Option_at", 0},           {22, "Select_lock", "Option_lock", 2},
    {27, "Select_dp", "Option_dp", 3},           {32, "Select_cool", "Option_cool", 1},
    {36, "Select_alarm", "Option_alarm", 9},     {37, "Select_alarm", "Option_alarm", 4},
    {42, "Select_outdisp", "Option_outdisp", 3}, {45, "Select_out", "Option_out", 1},
    {46, "Select_manu", "Option_manu", 1},       {48, "Select_reigi", "Option_reigi", 1},
    {49, "Select_reigi", "Option_reigi", 0},     {50, "Select_sensor", "Option_sensor", 35},
    {51, "Select_hc", "Option_hc", 1},           {55, "Select_bklt", "Option_bklt", 6},
    {56, "Select_color", "Option_color", 5},     {62, "Select_smsl", "Option_smsl", 2},
    {63, "Select_dcosl", "Option_dcosl", 1},     {64, "Select_manusl", "Option_manusl", 1},
};

class Choice : public WindowFixture {
protected:
    Select_Disp* dlg() const
    {
        return w->subWindows().find<Select_Disp>(QStringLiteral("Select_Disp"));
    }
    void setButton(int item) { w->Cmd_set_Click(item - 10); }
    QRadioButton* option(const char* array, int i) const
    {
        return dlg()->findChild<QRadioButton*>(QStringLiteral("%1(%2)").arg(array).arg(i));
    }
    QGroupBox* frame(const char* name) const
    {
        return dlg()->findChild<QGroupBox*>(QLatin1String(name));
    }
    QStringList visibleFrames() const
    {
        QStringList out;
        for (QGroupBox* g : dlg()->findChildren<QGroupBox*>())
            if (!g->isHidden())
                out << g->objectName();
        return out;
    }
    QStringList checked(const char* array) const
    {
        QStringList out;
        for (QRadioButton* b : dlg()->findChildren<QRadioButton*>())
            if (b->objectName().startsWith(QLatin1String(array) + QLatin1Char('(')) &&
                b->isChecked())
                out << b->objectName();
        return out;
    }
    void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

} // namespace

TEST_F(Choice, EveryListItemOpensWithItsChoiceAndOnlyItsFrame)
{
    for (const ListItem& l : kItems) {
        d.ParaVal(l.item) = int16_t(l.value);
        setButton(l.item);
        ASSERT_TRUE(dlg()) << l.item;
        EXPECT_TRUE(dlg()->isVisible());
        EXPECT_FALSE(dlg()->isModal());
        EXPECT_EQ(dlg()->windowTitle(), S(233));
        EXPECT_EQ(visibleFrames(), QStringList{QLatin1String(l.frame)}) << l.item;
        EXPECT_EQ(checked(l.options),
                  QStringList{QStringLiteral("%1(%2)").arg(l.options).arg(l.value)})
            << l.item;
        EXPECT_EQ(d.ParaNo, l.item);
        EXPECT_EQ(d.ParaBak(l.item), l.value);
    }
    // The dialog was re-targeted each time, never stacked.
    EXPECT_EQ(w->findChildren<Select_Disp*>().size(), 1);
}

TEST_F(Choice, InfraredListsItsFourInputTypes)
{
    d.RDModel = true;
    d.ParaVal(50) = 2;
    setButton(50);
    for (int i = 0; i <= 35; ++i)
        EXPECT_EQ(option("Option_sensor", i)->isHidden(), i > 3) << i;
    EXPECT_EQ(option("Option_sensor", 0)->text(), S(797));
    EXPECT_EQ(option("Option_sensor", 3)->text(), QStringLiteral("32.0 to 932.0 deg.F"));
    EXPECT_TRUE(option("Option_sensor", 2)->isChecked());
    // The standard controller after it: all 36 again.
    d.RDModel = false;
    setButton(50);
    for (int i = 0; i <= 35; ++i)
        EXPECT_FALSE(option("Option_sensor", i)->isHidden()) << i;
    EXPECT_EQ(option("Option_sensor", 3)->text(), QStringLiteral("R(0 to 1760 deg.C)"));
}

TEST_F(Choice, CaptionsFollowTheDataWhenPrepared)
{
    setButton(12);
    EXPECT_EQ(frame("Select_at")->title(), QStringLiteral("AT selection"));
    EXPECT_EQ(option("Option_at", 1)->text(), QStringLiteral("AT Perform"));
    // The dialog stays open; the next set button finds the data changed.
    d.ParaVal(16) = 0;
    setButton(12);
    EXPECT_EQ(frame("Select_at")->title(), QStringLiteral("Auto-reset selection"));
    EXPECT_EQ(option("Option_at", 0)->text(), QStringLiteral("Auto-reset Cancel"));
}

TEST_F(Choice, AValueOutsideTheListSelectsNothingAndOkKeepsIt)
{
    d.ParaVal(36) = 15;
    setButton(36);
    EXPECT_TRUE(checked("Option_alarm").isEmpty());
    dlg()->Command1->click();
    settle();
    EXPECT_FALSE(dlg());
    EXPECT_EQ(d.ParaVal(36), 15);
}

TEST_F(Choice, CancelLeavesValueAndLabel)
{
    w->Disp_SStab2(0);
    const QString label = w->Label_othval[0]->text();
    setButton(22);
    option("Option_lock", 3)->click();
    dlg()->Command2->click();
    settle();
    EXPECT_FALSE(dlg());
    EXPECT_EQ(d.ParaVal(22), 0);
    EXPECT_EQ(w->Label_othval[0]->text(), label);
    EXPECT_FALSE(d.DataChanged);
    EXPECT_EQ(int(texts().count(QStringLiteral("<beep>"))), 2) << "the set button's and Cancel's";
}

TEST_F(Choice, OkActsOnThePreparedItem)
{
    setButton(36);
    option("Option_alarm", 2)->click();
    d.ParaNo = 15; // another routine took ParaNo meanwhile
    const int16_t i15 = d.ParaVal(15);
    dlg()->Command1->click();
    EXPECT_EQ(d.ParaVal(36), 2);
    EXPECT_EQ(d.ParaVal(15), i15);
    EXPECT_TRUE(d.DataChanged);
    EXPECT_EQ(w->Label_A1val[4]->text(), S(203));
}

TEST_F(Choice, OnlineOkQueuesTheWrite)
{
    d.OnLine = true;
    setButton(51);
    option("Option_hc", 1)->click();
    dlg()->Command1->click();
    EXPECT_EQ(d.ParaVal(51), 1);
    ASSERT_EQ(d.WriteQueue.size(), 1u);
    EXPECT_EQ(d.WriteQueue.front(), 51);
    EXPECT_FALSE(d.DataChanged);
    w->Timer1.stop();
}

TEST_F(Choice, AutoManualFollowsTheRefreshOnlyWhileTheDialogExists)
{
    d.ParaVal(64) = 1;
    d.ParaVal(46) = 1;
    w->Disp_SStab2(0);
    EXPECT_FALSE(dlg()) << "a refresh never creates the dialog";
    d.ParaVal(46) = 0;
    w->Disp_SStab2(0);
    setButton(46);
    EXPECT_TRUE(option("Option_manu", 0)->isChecked());
    d.ParaVal(46) = 1;
    w->Disp_SStab2(0);
    EXPECT_TRUE(option("Option_manu", 1)->isChecked());
}

// An offline input-type change against a second window that loads the same data from a file.
namespace {

struct TypeChange {
    const char* name;
    int from;
    int to;
    int outType;
};

const TypeChange kTypes[] = {
    {"CelsiusToFahrenheit", 0, 17, 0},  {"ToTenths", 0, 7, 0},
    {"ToDcVoltage", 0, 33, 0},          {"ToDcCurrentWithDcOutput", 3, 30, 2},
    {"DcBackToThermocouple", 31, 4, 2}, {"SameTypeAgain", 2, 2, 0},
};

class InputType : public Choice, public ::testing::WithParamInterface<TypeChange> {};

QStringList otherPagesOf(MainDisp& m)
{
    QStringList out;
    auto add = [&out](QWidget* wd) {
        if (!wd)
            return;
        QString s = wd->objectName() + (wd->isHidden() ? QStringLiteral(" hidden") : QString());
        if (auto* l = qobject_cast<QLabel*>(wd); l && !wd->isHidden())
            s += QStringLiteral(" ") + l->text().trimmed();
        out << s;
    };
    for (int r = 0; r <= 23; ++r) {
        add(m.Label_oth[size_t(r)]);
        add(m.Label_othval[size_t(r)]);
    }
    for (QLabel* l : m.Label_CF)
        add(l);
    for (QLabel* l : m.Label_UD)
        add(l);
    add(m.Text_SV[1]);
    for (int r = 0; r <= 4; ++r)
        add(m.Label_A1val[size_t(r)]);
    for (int b : {15, 16, 17, 53, 49, 50, 51, 42})
        add(m.Cmd_set[size_t(b)]);
    return out;
}

} // namespace

TEST_P(InputType, RowsAsAReloadShowsThem)
{
    const TypeChange& c = GetParam();
    d.ModelName = QStringLiteral("QMX-400");
    d.OptSet_OutType = int16_t(c.outType);
    d.ParaVal(50) = int16_t(c.from);
    d.ParaVal(36) = 1;
    d.ParaVal(11) = 150;
    d.ParaVal(19) = 20;
    w->Disp_SStab2(2);
    setButton(50);
    option("Option_sensor", c.to)->click();
    dlg()->Command1->click();
    ASSERT_TRUE(d.DataChanged);
    EXPECT_EQ(d.ParaVal(50), c.to);
    EXPECT_EQ(d.ParaVal(11) == 0, c.from != c.to);
    EXPECT_EQ(d.ParaVal(19) == 0, c.from != c.to);
    EXPECT_FALSE(w->subWindows().find(QStringLiteral("SubDisp_Opset")))
        << "the output type comes from the option set, not the model-option dialog";

    const QString path = dir.filePath(QStringLiteral("same.dat"));
    ASSERT_TRUE(writeSetDataFile(path, d));
    QmxData d2;
    d2.Set_Defaults();
    MainDisp other(d2);
    other.system_init();
    answers({"Yes", path});
    other.mnuLoad_Click();
    ASSERT_EQ(d2.ParaVal(50), c.to) << "the file was loaded";
    EXPECT_EQ(otherPagesOf(*w), otherPagesOf(other));
}

INSTANTIATE_TEST_SUITE_P(Offline, InputType, ::testing::ValuesIn(kTypes),
                         [](const auto& i) { return std::string(i.param.name); });
