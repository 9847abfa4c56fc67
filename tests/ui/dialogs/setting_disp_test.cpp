// The numeric entry as the operator meets it, offline: the set buttons, the keypad and keyboard,
// the OK step's refusals, and what an accepted value does to the main window.
#include "window_fixture.h"

#include "files/setdata_file.h"
#include "ui/dialogs/setting_disp.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace qmx;

namespace {

class Entry : public WindowFixture {
protected:
    Setting_Disp* dlg() const
    {
        return w->subWindows().find<Setting_Disp>(QStringLiteral("Setting_Disp"));
    }
    // The set button of item `item`.
    void setButton(int item) { w->Cmd_set_Click(item - 10); }
    // Keys pressed on the dialog: digits on the pad, "n" the "+/-" button, "c" CE, "o" OK.
    void pad(const char* keys)
    {
        for (const char* k = keys; *k; ++k) {
            ASSERT_TRUE(dlg());
            if (*k >= '0' && *k <= '9')
                dlg()->Ten_key[size_t(*k - '0')]->click();
            else if (*k == 'n')
                dlg()->Command1->click();
            else if (*k == 'c')
                dlg()->Command2->click();
            else if (*k == 'o')
                dlg()->Command3->click();
        }
    }
    // Text typed on the keyboard into the entry box.
    void type(const QString& text)
    {
        for (QChar c : text) {
            ASSERT_TRUE(dlg());
            if (c == u'\r')
                QTest::keyClick(dlg()->Disp_setdata, Qt::Key_Return);
            else if (c == u'\b')
                QTest::keyClick(dlg()->Disp_setdata, Qt::Key_Backspace);
            else
                QTest::keyClicks(dlg()->Disp_setdata, QString(c));
        }
    }
    QString entry() const { return dlg()->change_data->text(); }
    QString shown() const { return dlg()->Disp_setdata->text(); }
    // Deleted windows are gone once their deferred deletes ran.
    void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    int boxes(int id) const { return int(texts().count(S(id))); }
    int beeps() const { return int(texts().count(QStringLiteral("<beep>"))); }
};

} // namespace

TEST_F(Entry, SetButtonOpensTheEntryWithTheValueShownAndItsRange)
{
    d.ParaVal(25) = 1370;
    d.ParaVal(26) = -200;
    w->Disp_SStab2(0);
    setButton(11);
    ASSERT_TRUE(dlg());
    EXPECT_TRUE(dlg()->isVisible());
    EXPECT_FALSE(dlg()->isModal());
    EXPECT_EQ(dlg()->windowTitle(), S(230));
    EXPECT_EQ(dlg()->Label1->text(), S(231));
    EXPECT_EQ(dlg()->Label2->text(), S(232));
    EXPECT_EQ(dlg()->Command4->text(), S(30));
    EXPECT_EQ(dlg()->Now_data->text(), w->Text_SV[1]->text());
    EXPECT_EQ(dlg()->Limit_data->text(), QStringLiteral("-200 to  1370"));
    EXPECT_TRUE(entry().isEmpty());
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(d.ParaNo, 11);
    EXPECT_EQ(d.ParaMin, -200);
    EXPECT_EQ(d.ParaMax, 1370);
    EXPECT_FALSE(d.DecFlag);
    EXPECT_EQ(beeps(), 1);
}

namespace {

struct PadCase {
    const char* name;
    int item;
    void (*setup)(QmxData&);
    const char* pad;   // see Entry::pad
    QString typed;     // then typed into the box
    const char* entry; // change_data afterwards
    const char* shown; // Disp_setdata afterwards
    int refusals;      // boxes with string 229
};

void none(QmxData&) {}
void tenths(QmxData& d)
{
    d.ParaVal(50) = 1;
    d.ParaVal(25) = 4000;
    d.ParaVal(26) = -2000;
}
void dcTwoDecimals(QmxData& d)
{
    d.ParaVal(50) = 30;
    d.ParaVal(27) = 2;
    d.ParaVal(25) = 10000;
    d.ParaVal(26) = -2000;
}
void dcOddDecimalPoint(QmxData& d)
{
    dcTwoDecimals(d);
    d.ParaVal(27) = 5;
}
void infrared(QmxData& d)
{
    d.RDModel = true;
    d.ParaVal(50) = 1;
}

const PadCase kPad[] = {
    {"SixthDigitIgnored", 15, none, "123456", {}, " 12345", " 12345", 0},
    {"LeadingZerosVanish", 15, none, "007", {}, " 7", " 7", 0},
    {"WholeKeepsItsBlank", 15, none, "42", {}, " 42", " 42", 0},
    {"TenthsShowOneDecimal", 11, tenths, "125", {}, " 125", "12.5", 0},
    {"SignChangeWithinRange", 11, tenths, "125n", {}, "-125", "-12.5", 0},
    {"SignChangeOutOfRangeRefused", 17, none, "5n", {}, "", "", 1},
    {"SignChangeOfNothingIsTested", 17, none, "n", {}, "", "", 1},
    {"SignChangeOfNothingWithin", 15, none, "n", {}, " 0", " 0", 0},
    {"DcTwoDecimals", 59, dcTwoDecimals, "1234", {}, " 1234", "12.34", 0},
    {"DcTwoDecimalsNegative", 59, dcTwoDecimals, "1234n", {}, "-1234", "-12.34", 0},
    {"DcDecimalPointOutOfListLeavesTheBox", 59, dcOddDecimalPoint, "12", {}, " 12", "", 0},
    {"InfraredEmissivity", 66, infrared, "500", {}, " 500", "0.500", 0},
    {"InfraredBacklightTime", 58, infrared, "99", {}, " 99", "99", 0},
    {"ClearEntry", 15, none, "12c", {}, "", "", 0},
    {"TypedDigits", 15, none, "", QStringLiteral("12"), " 12", " 12", 0},
    {"TypedMinusSkipsTheRangeTest", 17, none, "5", QStringLiteral("-"), "-5", "-5", 0},
    {"BackspaceEmptiesAll", 15, none, "123", QStringLiteral("\b"), "", "", 0},
    {"PointEmptiesAll", 11, tenths, "123", QStringLiteral("."), "", "", 0},
    {"OtherKeysShowNothingOfTheirOwn", 15, none, "4", QStringLiteral("a+ x"), " 4", " 4", 0},
    {"OtherKeyOnAnEmptyEntryShowsNothing", 11, tenths, "", QStringLiteral("a"), "", "", 0},
};

class Pad : public Entry, public ::testing::WithParamInterface<PadCase> {};

} // namespace

TEST_P(Pad, EntryAndBox)
{
    const PadCase& c = GetParam();
    answers({"OK", "OK"});
    c.setup(d);
    w->Disp_SStab2(0);
    setButton(c.item);
    ASSERT_TRUE(dlg());
    pad(c.pad);
    type(c.typed);
    EXPECT_EQ(entry(), QString::fromLatin1(c.entry));
    EXPECT_EQ(shown(), QString::fromLatin1(c.shown));
    EXPECT_EQ(boxes(229), c.refusals);
}

INSTANTIATE_TEST_SUITE_P(Keys, Pad, ::testing::ValuesIn(kPad),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(Entry, OkTestsTheRangeWithBothEndsIncluded)
{
    answers({"OK", "OK", "OK"});
    w->Disp_SStab2(0);
    setButton(17);
    for (const char* refused : {"121", "0"}) {
        type(QString::fromLatin1(refused));
        pad("o");
        ASSERT_TRUE(dlg()) << refused;
        EXPECT_TRUE(entry().isEmpty()) << refused;
        EXPECT_TRUE(shown().isEmpty()) << refused;
    }
    EXPECT_EQ(boxes(229), 2);
    const int16_t before = d.ParaVal(17);
    EXPECT_EQ(d.ParaVal(17), before);
    EXPECT_FALSE(d.DataChanged);

    type(QStringLiteral("120\r"));
    settle();
    EXPECT_FALSE(dlg()) << "an accepted entry closes the dialog";
    EXPECT_EQ(d.ParaVal(17), 120);
    EXPECT_TRUE(d.DataChanged);
    EXPECT_EQ(w->Label_pidval[5]->text(), QStringLiteral(" 120"));
}

TEST_F(Entry, EmptyEntryIsRefusedWithABeep)
{
    answers({"OK", "OK"});
    setButton(15);
    const int before = beeps();
    pad("o");
    EXPECT_EQ(boxes(559), 1);
    EXPECT_EQ(beeps(), before + 1);
    ASSERT_TRUE(dlg());
    EXPECT_FALSE(d.DataChanged);
}

TEST_F(Entry, RetargetingEmptiesBothFieldsAndBindsTheNewItem)
{
    answers({"OK"});
    setButton(15);
    type(QStringLiteral("12"));
    setButton(17);
    EXPECT_TRUE(entry().isEmpty());
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(dlg()->Limit_data->text(), QStringLiteral(" 1 to  120"));
    pad("o");
    EXPECT_EQ(boxes(559), 1) << "nothing typed for the new item";
    const int16_t i15 = d.ParaVal(15);
    type(QStringLiteral("5\r"));
    EXPECT_EQ(d.ParaVal(17), 5);
    EXPECT_EQ(d.ParaVal(15), i15);
}

TEST_F(Entry, OkActsOnThePreparedItemWhateverParaNoSaysNow)
{
    setButton(15);
    type(QStringLiteral("77"));
    // Another routine (manual output, an upload) takes ParaNo meanwhile.
    d.ParaNo = 47;
    d.ParaMin = 500;
    d.ParaMax = 600;
    pad("o");
    EXPECT_EQ(d.ParaVal(15), 77);
    EXPECT_EQ(d.ParaVal(47), 0);
}

TEST_F(Entry, EnterNeverCommitsTwice)
{
    setButton(17);
    type(QStringLiteral("42"));
    Setting_Disp* open = dlg();
    open->Command3_Click();
    d.ParaVal(17) = 9;
    open->Disp_setdata_KeyPress(13);
    EXPECT_EQ(d.ParaVal(17), 9);
    EXPECT_EQ(int(texts().count(QStringLiteral("<beep>"))), 2) << "the set button's and OK's";
}

TEST_F(Entry, CancelAndTheCloseBoxStoreNothing)
{
    const int16_t before = d.ParaVal(15);
    for (int way = 0; way < 2; ++way) {
        setButton(15);
        type(QStringLiteral("99"));
        if (way == 0)
            pad("");
        if (way == 0)
            dlg()->Command4->click();
        else
            dlg()->close();
        settle();
        EXPECT_FALSE(dlg()) << way;
        EXPECT_EQ(d.ParaVal(15), before) << way;
        EXPECT_EQ(d.ParaBak(15), before) << way;
        EXPECT_FALSE(d.DataChanged) << way;
    }
}

TEST_F(Entry, ScalingLimitAsksForAReUploadOfflineToo)
{
    setButton(26);
    type(QStringLiteral("100\r"));
    EXPECT_TRUE(d.ReUpload);
    EXPECT_TRUE(d.DataChanged);
    EXPECT_EQ(d.ParaVal(26), 100);
    EXPECT_TRUE(d.WriteQueue.empty());
}

TEST_F(Entry, OnlineTheWriteIsQueuedAndTheWindowLeftToTheScheduler)
{
    d.OnLine = true;
    w->Disp_SStab2(0);
    const QString label = w->Label_pidval[2]->text();
    setButton(15);
    type(QStringLiteral("120\r"));
    settle();
    EXPECT_FALSE(dlg());
    EXPECT_EQ(d.ParaVal(15), 120);
    EXPECT_EQ(d.ParaBak(15), defaultValue(15));
    ASSERT_EQ(d.WriteQueue.size(), 1u);
    EXPECT_EQ(d.WriteQueue.front(), 15);
    EXPECT_EQ(d.ParaNo, 15);
    EXPECT_EQ(d.ComMode, 2);
    EXPECT_TRUE(w->Timer1.isActive());
    EXPECT_EQ(w->Label_pidval[2]->text(), label);
    EXPECT_FALSE(d.DataChanged);
    w->Timer1.stop();
}

TEST_F(Entry, AutoTuningRefusesEveryButtonButItsOwnAndOutputOff)
{
    d.ParaVal(12) = 1;
    d.ParaNo = 33;
    const int16_t bak = d.ParaBak(13);
    setButton(13);
    EXPECT_FALSE(dlg());
    EXPECT_EQ(d.ParaNo, 33);
    EXPECT_EQ(d.ParaBak(13), bak);
    EXPECT_EQ(beeps(), 1);
    setButton(12);
    EXPECT_EQ(d.ParaNo, 12);
    setButton(45);
    EXPECT_EQ(d.ParaNo, 45);
}

TEST_F(Entry, LockThreeRefusesTheInputType)
{
    d.ParaVal(22) = 3;
    d.ParaBak(50) = 7;
    setButton(50);
    EXPECT_EQ(d.ParaNo, 50);
    EXPECT_EQ(d.ParaBak(50), 7);
    EXPECT_FALSE(dlg());
}

TEST_F(Entry, ItemFortySevenHasNoButton)
{
    d.ParaNo = 15;
    w->Cmd_set_Click(37);
    EXPECT_EQ(d.ParaNo, 15);
    EXPECT_TRUE(texts().isEmpty());
}

// The PID and cooling rows after an offline change of items 13 to 16, compared with a second
// window that loads the same data from a set-data file.
namespace {

struct Relay {
    const char* name;
    int item;
    const char* keys;
    int p, pc, i, dd, heatCool, outType, inputType;
};

const Relay kRelay[] = {
    {"OnOffControl", 13, "0", 30, 20, 200, 50, 1, 0, 0},
    {"PidFromOnOff", 13, "50", 0, 20, 200, 50, 1, 0, 0},
    {"AutoResetWithoutI", 13, "50", 0, 0, 0, 50, 0, 0, 0},
    {"DcOutputNoCycle", 13, "50", 0, 0, 200, 50, 0, 2, 0},
    {"DcInputNoBias", 13, "50", 0, 0, 200, 50, 1, 0, 31},
    {"CoolingOnOff", 14, "0", 30, 20, 200, 50, 1, 0, 0},
    {"CoolingProportional", 14, "25", 30, 0, 200, 50, 1, 0, 0},
    {"CoolingUnderOnOffHeating", 14, "25", 0, 0, 200, 50, 1, 0, 0},
    {"IntegralOff", 15, "0", 30, 20, 200, 50, 1, 0, 0},
    {"IntegralOn", 15, "100", 30, 20, 0, 50, 1, 0, 0},
    {"IntegralOnWithoutD", 15, "100", 30, 20, 0, 0, 1, 0, 0},
    {"IntegralUnderOnOff", 15, "0", 0, 20, 200, 50, 1, 0, 0},
    {"DerivativeOff", 16, "0", 30, 20, 200, 50, 1, 0, 0},
    {"DerivativeOffWithoutI", 16, "0", 30, 20, 0, 50, 1, 0, 0},
    {"DerivativeOn", 16, "40", 30, 20, 200, 0, 1, 0, 0},
    {"DerivativeOnWithoutI", 16, "40", 30, 20, 0, 0, 1, 0, 0},
    {"DerivativeOnDcInput", 16, "40", 30, 20, 200, 0, 1, 0, 33},
};

class Relayout : public Entry, public ::testing::WithParamInterface<Relay> {};

QStringList rowsOf(MainDisp& m)
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
    for (int r = 0; r <= 10; ++r) {
        add(m.Label_pid[size_t(r)]);
        add(m.Label_pidval[size_t(r)]);
    }
    for (int r = 0; r <= 6; ++r) {
        add(m.Label_cool[size_t(r)]);
        add(m.Label_coolval[size_t(r)]);
    }
    for (QLabel* l : m.Label1)
        add(l);
    for (QLabel* l : m.Label21)
        add(l);
    for (int k = 5; k <= 9; ++k)
        add(m.Label_CF[size_t(k)]);
    add(m.Label_atm);
    add(m.lbl_OUT);
    for (int b : {2, 3, 4, 5, 6, 7, 8, 14, 19, 20, 21, 22, 23, 24, 25, 42, 43, 55})
        add(m.Cmd_set[size_t(b)]);
    return out;
}

} // namespace

TEST_P(Relayout, RowsAsAReloadShowsThem)
{
    const Relay& c = GetParam();
    d.OptSet_HeatCool = int16_t(c.heatCool);
    d.OptSet_OutType = int16_t(c.outType);
    d.OptSet_HB = 1;
    d.ParaVal(50) = int16_t(c.inputType);
    d.ParaVal(13) = int16_t(c.p);
    d.ParaVal(14) = int16_t(c.pc);
    d.ParaVal(15) = int16_t(c.i);
    d.ParaVal(16) = int16_t(c.dd);
    d.ModelName = QStringLiteral("QMX-400");
    w->Disp_SStab2(0);
    setButton(c.item);
    type(QString::fromLatin1(c.keys) + QLatin1Char('\r'));
    ASSERT_TRUE(d.DataChanged);

    const QString path = dir.filePath(QStringLiteral("same.dat"));
    ASSERT_TRUE(writeSetDataFile(path, d));
    QmxData d2;
    d2.Set_Defaults();
    MainDisp other(d2);
    other.system_init();
    answers({"Yes", path});
    other.mnuLoad_Click();
    ASSERT_EQ(d2.ParaVal(c.item), d.ParaVal(c.item)) << "the file was loaded";
    EXPECT_EQ(rowsOf(*w), rowsOf(other));
}

INSTANTIATE_TEST_SUITE_P(Offline, Relayout, ::testing::ValuesIn(kRelay),
                         [](const auto& i) { return std::string(i.param.name); });
