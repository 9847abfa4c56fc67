// The numeric entry as the operator meets it, offline: the set buttons, the keypad and keyboard,
// the OK step's refusals, and what an accepted value does to the main window.
#include "reload_look.h"

#include "ui/dialogs/select_disp.h"
#include "ui/dialogs/setting_disp.h"
#include "ui/dialogs/subdisp_opset.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace qmx;

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

class Entry : public ReloadFixture {
protected:
    Setting_Disp* dlg() const
    {
        return w->subWindows().find<Setting_Disp>(QStringLiteral("Setting_Disp"));
    }
    // Keys pressed on the dialog: digits on the pad, "n" the "+/-" button, "c" CE, "o" OK.
    void pad(const char* keys)
    {
        for (const char* k = keys; *k; ++k) {
            ASSERT_TRUE(dlg());
            QPushButton* b = *k == 'n'   ? dlg()->Command1
                             : *k == 'c' ? dlg()->Command2
                             : *k == 'o' ? dlg()->Command3
                                         : dlg()->Ten_key[size_t(*k - '0')];
            b->click();
        }
    }
    // Text typed on the keyboard into the entry box; "\r" is Enter, "\b" Backspace.
    void type(const QString& text)
    {
        for (QChar c : text) {
            ASSERT_TRUE(dlg());
            if (c == u'\r' || c == u'\b')
                QTest::keyClick(dlg()->Disp_setdata,
                                c == u'\r' ? Qt::Key_Return : Qt::Key_Backspace);
            else
                QTest::keyClicks(dlg()->Disp_setdata, QString(c));
        }
    }
    QString entry() const { return dlg()->change_data->text(); }
    QString shown() const { return dlg()->Disp_setdata->text(); }
};

} // namespace

// Item 17 (1..120): the set button opens the entry beside the value shown; 121 and 0 are refused
// with 229 and an emptied entry, 120 and Enter is stored and shown.
TEST_F(Entry, ProportionalCycleAcceptsItsRangeWithBothEndsIncluded)
{
    answers({"OK", "OK"});
    w->Disp_SStab2(0);
    setButton(17);
    ASSERT_TRUE(dlg());
    EXPECT_TRUE(dlg()->isVisible());
    EXPECT_FALSE(dlg()->isModal());
    EXPECT_EQ(dlg()->Now_data->text(), w->Label_pidval[5]->text());
    EXPECT_EQ(dlg()->Limit_data->text(), QStringLiteral(" 1 to  120"));
    EXPECT_EQ(d.ParaNo, 17);
    EXPECT_EQ(d.ParaMin, 1);
    EXPECT_EQ(d.ParaMax, 120);
    for (const char* refused : {"121", "0"}) {
        type(QString::fromLatin1(refused));
        pad("o");
        ASSERT_TRUE(dlg()) << refused;
        EXPECT_TRUE(entry().isEmpty() && shown().isEmpty()) << refused;
    }
    EXPECT_EQ(boxes(229), 2);
    EXPECT_FALSE(d.DataChanged);

    type(QStringLiteral("120\r"));
    settle();
    EXPECT_FALSE(dlg()) << "an accepted entry closes the dialog";
    EXPECT_EQ(d.ParaVal(17), 120);
    EXPECT_TRUE(d.DataChanged);
    EXPECT_EQ(w->Label_pidval[5]->text(), QStringLiteral(" 120"));
}

namespace {

struct PadCase {
    const char* name;
    int item;
    std::vector<std::pair<int, int>> set; // ParaVal; item 0 is the infrared variant
    const char* pad;                      // see Entry::pad
    const char* typed;                    // then typed into the box
    const char* entry;                    // change_data afterwards
    const char* shown;                    // Disp_setdata afterwards
    int refusals;                         // boxes with string 229
};

const PadCase kPad[] = {
    {"SixthDigitIgnored", 15, {}, "123456", "", " 12345", " 12345", 0},
    {"LeadingZerosVanish", 15, {}, "007", "", " 7", " 7", 0},
    {"SignChangeOutOfRangeRefused", 17, {}, "5n", "", "", "", 1},
    {"DcTwoDecimals", 59, {{50, 30}, {27, 2}, {26, -2000}}, "1234n", "", "-1234", "-12.34", 0},
    {"InfraredEmissivity", 66, {{0, 1}, {50, 1}}, "500", "", " 500", "0.500", 0},
    {"ClearEntry", 15, {}, "12c", "", "", "", 0},
    {"TypedMinusSkipsTheRangeTest", 17, {}, "5", "-", "-5", "-5", 0},
    {"BackspaceEmptiesAll", 15, {}, "123", "\b", "", "", 0},
    {"OtherKeysShowNothingOfTheirOwn", 15, {}, "4", "a+ x", " 4", " 4", 0},
};

class Pad : public Entry, public ::testing::WithParamInterface<PadCase> {};

} // namespace

TEST_P(Pad, EntryAndBox)
{
    const PadCase& c = GetParam();
    answers({"OK"});
    for (const auto& [item, v] : c.set) {
        if (item == 0)
            d.RDModel = true;
        else
            d.ParaVal(item) = int16_t(v);
    }
    setButton(c.item);
    ASSERT_TRUE(dlg());
    pad(c.pad);
    type(QString::fromLatin1(c.typed));
    EXPECT_EQ(entry(), QString::fromLatin1(c.entry));
    EXPECT_EQ(shown(), QString::fromLatin1(c.shown));
    EXPECT_EQ(boxes(229), c.refusals);
}

INSTANTIATE_TEST_SUITE_P(Keys, Pad, ::testing::ValuesIn(kPad),
                         [](const auto& i) { return std::string(i.param.name); });

// OK refuses with 559 (and a beep) whichever field is empty: nothing typed, a box left empty by a
// DC decimal point outside the list, or a dialog re-targeted to another item, which empties both.
TEST_F(Entry, EmptyEntryIsRefusedWhicheverFieldIsEmpty)
{
    answers({"OK", "OK", "OK"});
    setButton(15);
    const int before = beeps();
    pad("o");
    EXPECT_EQ(boxes(559), 1);
    EXPECT_EQ(beeps(), before + 1);

    d.ParaVal(50) = 30;
    d.ParaVal(27) = 5;
    setButton(59);
    type(QStringLiteral("12"));
    pad("o");
    EXPECT_EQ(boxes(559), 2);
    d.ParaVal(50) = 0;

    setButton(15);
    type(QStringLiteral("12"));
    setButton(17);
    EXPECT_TRUE(entry().isEmpty() && shown().isEmpty());
    pad("o");
    EXPECT_EQ(boxes(559), 3) << "nothing typed for the new item";
    EXPECT_FALSE(d.DataChanged);
    const int16_t i15 = d.ParaVal(15);
    type(QStringLiteral("5\r"));
    EXPECT_EQ(d.ParaVal(17), 5);
    EXPECT_EQ(d.ParaVal(15), i15);
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
    EXPECT_EQ(beeps(), 2) << "the set button's and OK's";
}

TEST_F(Entry, CancelAndTheCloseBoxStoreNothing)
{
    const int16_t before = d.ParaVal(15);
    for (bool cancel : {true, false}) {
        setButton(15);
        type(QStringLiteral("99"));
        cancel ? dlg()->Command4->click() : void(dlg()->close());
        settle();
        EXPECT_FALSE(dlg()) << cancel;
        EXPECT_EQ(d.ParaVal(15), before) << cancel;
        EXPECT_FALSE(d.DataChanged) << cancel;
    }
}

// Lock 3 refuses the input type; while auto-tuning runs only its own choice and output OUT/OFF
// open; item 47 has no set button.
TEST_F(Entry, SetButtonRefusals)
{
    d.ParaVal(22) = 3;
    d.ParaBak(50) = 7;
    setButton(50);
    EXPECT_EQ(d.ParaBak(50), 7);
    EXPECT_FALSE(w->subWindows().find(QStringLiteral("Select_Disp")));
    d.ParaVal(22) = 0;
    d.ParaVal(12) = 1;
    d.ParaNo = 33;
    setButton(13);
    EXPECT_FALSE(dlg());
    EXPECT_EQ(d.ParaNo, 33);
    EXPECT_EQ(beeps(), 2);
    for (int item : {12, 45}) {
        setButton(item);
        EXPECT_EQ(d.ParaNo, item);
    }
    d.ParaNo = 15;
    const int logged = int(texts().size());
    w->Cmd_set_Click(37);
    EXPECT_EQ(d.ParaNo, 15);
    EXPECT_EQ(int(texts().size()), logged);
}

// The PID and cooling rows after an offline change of items 13 to 16, as a reload shows them.
namespace {

struct Relay {
    const char* name;
    int item;
    const char* keys;
    int p, pc, i, dd, heatCool, outType, inputType;
};

const Relay kRelay[] = {
    {"ProportionalToOnOff", 13, "0", 30, 20, 200, 50, 1, 0, 0},
    {"ProportionalFromOnOffDcOutput", 13, "50", 0, 0, 200, 50, 0, 2, 31},
    {"CoolingOnOff", 14, "0", 30, 20, 200, 50, 1, 0, 0},
    {"IntegralOnWithoutD", 15, "100", 30, 20, 0, 0, 1, 0, 0},
    {"DerivativeOffWithoutI", 16, "0", 30, 20, 0, 50, 1, 0, 0},
};

class Relayout : public Entry, public ::testing::WithParamInterface<Relay> {};

} // namespace

TEST_P(Relayout, RowsAsAReloadShowsThem)
{
    const Relay& c = GetParam();
    answers({"OK"}); // a refusal would show a box
    d.OptSet_HeatCool = int16_t(c.heatCool);
    d.OptSet_OutType = int16_t(c.outType);
    d.OptSet_HB = 1;
    d.ModelName = QStringLiteral("QMX-400");
    const std::pair<int, int> values[] = {
        {50, c.inputType}, {13, c.p}, {14, c.pc}, {15, c.i}, {16, c.dd}};
    for (const auto& [item, v] : values)
        d.ParaVal(item) = int16_t(v);
    showLoaded(0);
    setButton(c.item);
    type(QString::fromLatin1(c.keys));
    // Another routine (manual output, an upload) takes ParaNo and the limits meanwhile: OK acts
    // on the item and limits the set button prepared.
    d.ParaNo = 47;
    d.ParaMin = 500;
    d.ParaMax = 600;
    type(QStringLiteral("\r"));
    ASSERT_TRUE(d.DataChanged);
    EXPECT_EQ(d.ParaVal(c.item), QString::fromLatin1(c.keys).toInt());
    EXPECT_EQ(d.ParaVal(47), 0);
    EXPECT_EQ(pagesLook(*w), reloadedLook());
}

INSTANTIATE_TEST_SUITE_P(Offline, Relayout, ::testing::ValuesIn(kRelay),
                         [](const auto& i) { return std::string(i.param.name); });

// The data changed under the open entry of the set value. Told (the input type chosen in the list),
// the entry shows the new type's range, current value and decimals and refuses what the old type
// took; not told, OK tests against the limits in force when it is pressed, narrowed or widened.
TEST_F(Entry, OpenEntryFollowsTheLimitsInForce)
{
    answers({"OK", "OK"});
    d.ParaVal(50) = 1; // K, -200.0 to 400.0
    d.ParaVal(25) = 4000;
    d.ParaVal(26) = -2000;
    showLoaded(0);
    setButton(11);
    Setting_Disp* entry = dlg();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Limit_data->text(), QStringLiteral("-200.0 to 400.0"));
    type(QStringLiteral("4000"));
    EXPECT_EQ(shown(), QStringLiteral("400.0"));

    setButton(50);
    auto* list = w->subWindows().find<Select_Disp>(QStringLiteral("Select_Disp"));
    list->findChild<QRadioButton*>(QStringLiteral("Option_sensor(0)"))->click();
    list->Command1->click();
    settle();
    ASSERT_EQ(dlg(), entry) << "the entry stays open";
    EXPECT_EQ(entry->Limit_data->text(), QStringLiteral("-200 to  1370"));
    EXPECT_EQ(entry->Now_data->text(), w->Text_SV[1]->text());
    EXPECT_EQ(shown(), QStringLiteral(" 4000"));
    pad("o");
    EXPECT_EQ(boxes(229), 1);
    EXPECT_EQ(d.ParaVal(11), 0);

    type(QStringLiteral("1300"));
    d.ParaVal(25) = 1000;
    pad("o");
    EXPECT_EQ(boxes(229), 2);
    EXPECT_EQ(d.ParaVal(11), 0);
    type(QStringLiteral("1200"));
    d.ParaVal(25) = 1370;
    pad("o");
    settle();
    EXPECT_FALSE(dlg());
    EXPECT_EQ(d.ParaVal(11), 1200);
}

// An edit left open while a file of the other variant or a model change takes its item away ends
// unstored: what was typed or chosen never reaches the data.
TEST_F(Entry, AnOpenEditWhoseItemGoesEndsUnstored)
{
    const auto noSvSelection = [&] {
        answers({QStringLiteral("Yes")});
        QTimer::singleShot(0, w.get(), [&] {
            auto* opset = w->findChild<SubDisp_Opset*>(QStringLiteral("SubDisp_Opset"));
            ASSERT_TRUE(opset);
            opset->Option_set4[0]->click();
            opset->Command1[0]->click();
        });
        w->mnuOpset_Click();
    };
    const auto svSelection = [](QmxData& f) { f.OptSet_SVsel = 1; };
    const struct {
        const char* route;
        bool infrared;
        std::function<void(QmxData&)> set;
        int item;
        const char* option; // chosen in the list; nullptr: 300 typed into the entry
        std::function<void()> change;
    } routes[] = {
        {"scaling high, infrared file", false, {}, 25, nullptr, [&] { load(setDataFile(true)); }},
        {"emissivity, standard file", true, {}, 66, nullptr, [&] { load(setDataFile(false)); }},
        {"set value 2, model change", false, svSelection, 59, nullptr, noSvSelection},
        {"contact input list, model change", false, svSelection, 62, "Option_smsl(2)",
         noSvSelection},
        {"AT list, a P band of 0 entered",
         false,
         {},
         12,
         "Option_at(1)",
         [&] {
             setButton(13);
             type(QStringLiteral("0\r"));
         }},
    };
    const auto list = [&] {
        return w->subWindows().find<Select_Disp>(QStringLiteral("Select_Disp"));
    };
    for (const auto& r : routes) {
        SCOPED_TRACE(r.route);
        load(setDataFile(r.infrared, r.set));
        ASSERT_FALSE(hiddenOnPage(w->Cmd_set[size_t(r.item - 10)]));
        setButton(r.item);
        if (r.option)
            list()->findChild<QRadioButton*>(QLatin1String(r.option))->click();
        else
            type(QStringLiteral("300"));
        r.change();
        settle();
        ASSERT_TRUE(hiddenOnPage(w->Cmd_set[size_t(r.item - 10)]));
        const int16_t brought = d.ParaVal(r.item);
        EXPECT_FALSE(dlg() || list()) << "the edit stays open";
        // An edit left open (the fault) is committed as the operator would.
        if (dlg())
            pad("o");
        if (list())
            list()->Command1->click();
        EXPECT_EQ(d.ParaVal(r.item), brought);
        EXPECT_EQ(boxes(229), 0);
        settle();
    }
}

// An edit left open while the data come to meet its set button's refusal (auto-tuning performed,
// "Lock 3") ends unstored and silently: at the layout that brings the data, or at its own OK when
// nothing laid the pages out.
TEST_F(Entry, AnOpenEditItsSetButtonNowRefusesEndsUnstored)
{
    const auto list = [&] {
        return w->subWindows().find<Select_Disp>(QStringLiteral("Select_Disp"));
    };
    const auto loadWith = [&](int item, int16_t v) {
        return [&, item, v] { load(setDataFile(false, [&](QmxData& f) { f.ParaVal(item) = v; })); };
    };
    const auto unseen = [&](int item, int16_t v) { return [&, item, v] { d.ParaVal(item) = v; }; };
    const struct {
        const char* route;
        int item;
        const char* options; // the list's option array; nullptr: 55 typed into the entry
        std::function<void()> change;
        bool laidOut;
    } routes[] = {
        {"alarm value entry, a file with AT running", 19, nullptr, loadWith(12, 1), true},
        {"alarm type list, a file with AT running", 36, "Option_alarm", loadWith(12, 1), true},
        {"input-type list, a file with Lock 3", 50, "Option_sensor", loadWith(22, 3), true},
        {"P entry, AT running unseen", 13, nullptr, unseen(12, 1), false},
        {"input-type list, Lock 3 unseen", 50, "Option_sensor", unseen(22, 3), false},
    };
    for (const auto& r : routes) {
        SCOPED_TRACE(r.route);
        load(setDataFile(false));
        setButton(r.item);
        if (r.options)
            list()->findChild<QRadioButton*>(QStringLiteral("%1(5)").arg(r.options))->click();
        else
            type(QStringLiteral("55"));
        r.change();
        settle();
        const int16_t brought = d.ParaVal(r.item);
        EXPECT_EQ(dlg() || list(), !r.laidOut);
        // An edit still open is committed as the operator would.
        if (dlg())
            pad("o");
        if (list())
            list()->Command1->click();
        settle();
        EXPECT_FALSE(dlg() || list());
        EXPECT_EQ(d.ParaVal(r.item), brought);
    }
    EXPECT_EQ(boxes(229) + boxes(559), 0);
}
