// The list choice as the operator meets it, offline: the frame and the choice a set button shows,
// the captions of the moment, and what OK and Cancel do to the data and the main window.
#include "reload_look.h"

#include "register_table.h"
#include "ui/dialogs/select_disp.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

using namespace qmx;

namespace {

class Choice : public ReloadFixture {
protected:
    Select_Disp* dlg() const
    {
        return w->subWindows().find<Select_Disp>(QStringLiteral("Select_Disp"));
    }
    QRadioButton* option(const char* array, int i) const
    {
        return dlg()->findChild<QRadioButton*>(QStringLiteral("%1(%2)").arg(array).arg(i));
    }
};

} // namespace

// Each item the controller takes a few values for opens its own frame alone, with as many options
// as the controller accepts and its stored value (the last option here) chosen.
TEST_F(Choice, EveryListItemOpensWithItsChoiceAndOnlyItsFrame)
{
    std::vector<std::pair<int, int>> lists = {{62, 2}, {63, 1}, {64, 1}}; // item, last option
    for (const qmxsim::ParameterInfo& p : qmxsim::parameterTable())
        if (p.min == 0 && p.max < 36)
            lists.push_back({p.item, p.max});
    for (const auto& [item, last] : lists) {
        // AT running and lock 3 refuse other set buttons: each value is put back after its check.
        const int16_t kept = d.ParaVal(item);
        d.ParaVal(item) = int16_t(last);
        setButton(item);
        ASSERT_TRUE(dlg()) << item;
        EXPECT_TRUE(dlg()->isVisible() && !dlg()->isModal());
        QList<QGroupBox*> frames;
        for (QGroupBox* g : dlg()->findChildren<QGroupBox*>())
            if (!g->isHidden())
                frames << g;
        ASSERT_EQ(frames.size(), 1) << item;
        QStringList shown, checked;
        for (QRadioButton* b : frames.front()->findChildren<QRadioButton*>()) {
            if (!b->isHidden())
                shown << b->objectName();
            if (b->isChecked())
                checked << b->objectName();
        }
        EXPECT_EQ(shown.size(), last + 1) << item;
        ASSERT_EQ(checked.size(), 1) << item;
        EXPECT_TRUE(checked.front().endsWith(QStringLiteral("(%1)").arg(last))) << item;
        EXPECT_EQ(d.ParaNo, item);
        EXPECT_EQ(d.ParaBak(item), last);
        d.ParaVal(item) = kept;
    }
    EXPECT_EQ(w->findChildren<Select_Disp*>().size(), 1) << "re-targeted, never stacked";
}

TEST_F(Choice, InfraredListsItsFourInputTypes)
{
    for (bool infrared : {true, false}) {
        d.RDModel = infrared;
        d.ParaVal(50) = 2;
        setButton(50);
        const int count = qmxsim::inputTypeCount(infrared);
        for (int i = 0; i <= 35; ++i)
            EXPECT_EQ(option("Option_sensor", i)->isHidden(), i >= count) << i;
        EXPECT_TRUE(option("Option_sensor", 2)->isChecked());
    }
}

TEST_F(Choice, CaptionsFollowTheDataWhenPrepared)
{
    setButton(12);
    EXPECT_EQ(option("Option_at", 1)->text(), QStringLiteral("AT Perform"));
    // The dialog stays open; the next set button finds the data changed.
    d.ParaVal(16) = 0;
    setButton(12);
    EXPECT_EQ(option("Option_at", 1)->text(), QStringLiteral("Auto-reset Perform"));
}

TEST_F(Choice, AValueOutsideTheListSelectsNothingAndOkKeepsIt)
{
    d.ParaVal(36) = 2;
    setButton(36); // leaves option 2 checked in the open dialog
    d.ParaVal(36) = 15;
    setButton(36);
    for (QRadioButton* b : dlg()->findChildren<QRadioButton*>())
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    dlg()->Command1->click();
    settle();
    EXPECT_FALSE(dlg());
    EXPECT_EQ(d.ParaVal(36), 15);
}

TEST_F(Choice, CancelLeavesValueAndLabel)
{
    w->Disp_SStab2(0);
    const std::string before = pagesLook(*w);
    setButton(22);
    option("Option_lock", 3)->click();
    dlg()->Command2->click();
    settle();
    EXPECT_FALSE(dlg());
    EXPECT_EQ(d.ParaVal(22), 0);
    EXPECT_EQ(pagesLook(*w), before);
    EXPECT_FALSE(d.DataChanged);
}

// Online the write goes to the prepared item, whatever another routine left in ParaNo.
TEST_F(Choice, OnlineOkWritesThePreparedItem)
{
    d.OnLine = true;
    setButton(51);
    option("Option_hc", 1)->click();
    d.ParaNo = 15;
    dlg()->Command1->click();
    w->Timer1.stop();
    EXPECT_EQ(d.ParaVal(51), 1);
    ASSERT_EQ(d.WriteQueue.size(), 1u);
    EXPECT_EQ(d.WriteQueue.front(), 51);
    EXPECT_FALSE(d.DataChanged);
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

// A list left open while a file load changes the data under it: it offers what the model offers
// now, with the captions a fresh opening shows; an option the operator chose stays while it is
// offered under the caption it was chosen by, else the stored value's option is chosen; OK stores
// only an offered option and compares with the value stored at OK (an input type that did not
// change zeroes nothing, an alarm type that did not change keeps its alarm value), and a save holds
// what OK stored.
TEST_F(Choice, AnOpenListFollowsAFileLoadedUnderIt)
{
    // The dialog as the operator reads it: its size, its frame's title and each offered option's
    // caption.
    const auto look = [&] {
        QStringList out{QStringLiteral("%1x%2").arg(dlg()->width()).arg(dlg()->height())};
        for (QGroupBox* g : dlg()->findChildren<QGroupBox*>())
            if (!g->isHidden()) {
                out << g->title();
                for (QRadioButton* b : g->findChildren<QRadioButton*>())
                    if (!b->isHidden())
                        out << b->text();
            }
        return out;
    };
    const struct {
        const char* name;
        bool infraredBefore, infraredAfter;
        std::function<void(QmxData&)> after; // the file loaded under the open list
        int item;
        const char* options;
        int chosen;          // clicked by the operator; -1: none
        int stored;          // by OK
        int dependent, kept; // an item OK must leave as the file brought it
    } cases[] = {
        {"standard type 20 chosen, infrared type 1 loaded: dropped", false, true,
         [](QmxData& f) { f.ParaVal(50) = 1, f.ParaVal(11) = 1234; }, 50, "Option_sensor", 20, 1,
         11, 1234},
        {"infrared type 2 chosen, standard type 0 loaded: its position means another type", true,
         false, [](QmxData& f) { f.ParaVal(50) = 0, f.ParaVal(11) = 1234; }, 50, "Option_sensor", 2,
         0, 11, 1234},
        {"standard type 2 chosen, infrared type 1 loaded: its position means another type", false,
         true, [](QmxData& f) { f.ParaVal(50) = 1, f.ParaVal(11) = 1234; }, 50, "Option_sensor", 2,
         1, 11, 1234},
        {"standard type 20 chosen, standard type 5 loaded: kept", false, false,
         [](QmxData& f) { f.ParaVal(50) = 5; }, 50, "Option_sensor", 20, 20, 25,
         qmxsim::inputRange(20, false)->high},
        {"alarm type 3 chosen, a file with type 3 loaded", false, false,
         [](QmxData& f) { f.ParaVal(36) = 3, f.ParaVal(19) = 55; }, 36, "Option_alarm", 3, 3, 19,
         55},
        {"alarm type left as opened, a file with type 3 loaded", false, false,
         [](QmxData& f) { f.ParaVal(36) = 3, f.ParaVal(19) = 55; }, 36, "Option_alarm", -1, 3, 19,
         55},
        {"AT chosen, a file without integral time loaded", false, false,
         [](QmxData& f) { f.ParaVal(15) = 0; }, 12, "Option_at", 0, 0, 15, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        load(setDataFile(c.infraredBefore));
        setButton(c.item);
        if (c.chosen >= 0)
            option(c.options, c.chosen)->click();
        load(setDataFile(c.infraredAfter, c.after));
        settle();
        ASSERT_TRUE(dlg());
        const QStringList followed = look();
        EXPECT_TRUE(option(c.options, c.stored)->isChecked());
        dlg()->Command1->click();
        settle();
        EXPECT_EQ(d.ParaVal(c.item), c.stored);
        EXPECT_EQ(d.ParaVal(c.dependent), c.kept);
        EXPECT_EQ(saved().values[size_t(c.item - 11)], c.stored);
        setButton(c.item); // a fresh opening on the same data
        EXPECT_EQ(look(), followed);
        dlg()->Command2->click();
        settle();
    }
}

// An offline choice against a second window that loads the same data from a file. An input-type
// change also resets the scaling limits and zeroes the values that no longer mean anything.
namespace {

struct Change {
    const char* name;
    int item;
    const char* options;
    int from;
    int to;
    int outType;
};

const Change kChanges[] = {
    {"CelsiusToFahrenheit", 50, "Option_sensor", 0, 17, 0},
    {"ToDcVoltage", 50, "Option_sensor", 0, 33, 0},
    {"ToDcCurrentWithDcOutput", 50, "Option_sensor", 3, 30, 2},
    {"DcBackToThermocouple", 50, "Option_sensor", 31, 4, 2},
    {"SameInputTypeAgain", 50, "Option_sensor", 2, 2, 0},
    {"AlarmOff", 36, "Option_alarm", 1, 0, 0},
    {"AlarmOn", 37, "Option_alarm", 0, 3, 0},
    {"ContactInputOneSetValue", 62, "Option_smsl", 0, 1, 0},
    {"ContactInputNoSetValue", 62, "Option_smsl", 0, 2, 0},
    {"KeyAutoManual", 64, "Option_manusl", 0, 1, 0},
};

class Offline : public Choice, public ::testing::WithParamInterface<Change> {};

} // namespace

TEST_P(Offline, RowsAsAReloadShowsThem)
{
    const Change& c = GetParam();
    d.ModelName = QStringLiteral("QMX-400");
    d.OptSet_OutType = int16_t(c.outType);
    d.ParaVal(36) = 1;
    d.ParaVal(c.item) = int16_t(c.from);
    d.ParaVal(11) = 150;
    d.ParaVal(19) = 20;
    showLoaded(2);
    setButton(c.item);
    option(c.options, c.to)->click();
    d.ParaNo = 15; // another routine takes ParaNo meanwhile: OK acts on the prepared item
    const int16_t i15 = d.ParaVal(15);
    dlg()->Command1->click();
    ASSERT_TRUE(d.DataChanged);
    EXPECT_EQ(d.ParaVal(15), i15);
    EXPECT_EQ(d.ParaVal(c.item), c.to);
    if (c.item == 50) {
        const auto range = qmxsim::inputRange(c.to, false);
        EXPECT_EQ(d.ParaVal(25), range->high);
        EXPECT_EQ(d.ParaVal(26), range->low);
        EXPECT_EQ(d.ParaVal(11) == 0 && d.ParaVal(19) == 0, c.from != c.to);
        EXPECT_FALSE(w->subWindows().find(QStringLiteral("SubDisp_Opset")))
            << "the output type comes from the option set, not the model-option dialog";
    }
    EXPECT_EQ(pagesLook(*w), reloadedLook());
}

INSTANTIATE_TEST_SUITE_P(Choices, Offline, ::testing::ValuesIn(kChanges),
                         [](const auto& i) { return std::string(i.param.name); });
