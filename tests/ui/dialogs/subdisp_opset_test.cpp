// The model-option dialog from its menu, in-process: what it opens with, a click and a refusal,
// Change against a reload of the same set-data file, and the ways of leaving it without a change.
#include "window_fixture.h"

#include "ui/automation.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/dialogs/subdisp_opset.h"
#include "ui/ui_widgets.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace qmx;

// Texts in failure messages as text.
[[maybe_unused]] static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

class OpsetDialog : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        d.DataValid = true;
    }

    // Opens the dialog from its menu and lets `act` work it; a dialog still open is cancelled.
    void withDialog(const std::function<void(SubDisp_Opset&)>& act)
    {
        bool seen = false;
        QTimer::singleShot(0, w.get(), [&] {
            auto* dialog = w->findChild<SubDisp_Opset*>(QStringLiteral("SubDisp_Opset"));
            ASSERT_TRUE(dialog && dialog->isModal() && dialog->isVisible());
            seen = true;
            act(*dialog);
            if (dialog->isVisible())
                dialog->Command1_Click(1);
        });
        w->mnuOpset_Click();
        EXPECT_TRUE(seen);
        // Closed is gone: the next opening builds the dialog anew.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(w->findChild<SubDisp_Opset*>(QStringLiteral("SubDisp_Opset")), nullptr);
    }

    void setWords(const OptionSet& o)
    {
        d.OptSet_Alarm2 = o[0];
        d.OptSet_HeatCool = o[1];
        d.OptSet_HB = o[2];
        d.OptSet_SVsel = o[3];
        d.OptSet_OutType = o[4];
        d.OptSet_Comm = o[5];
    }
    OptionSet words() const
    {
        return {d.OptSet_Alarm2, d.OptSet_HeatCool, d.OptSet_HB,
                d.OptSet_SVsel,  d.OptSet_OutType,  d.OptSet_Comm};
    }

    // What the main window shows, as the automation dump reads it; the file name and the progress
    // bars of a save or a load aside.
    QJsonObject mainShown() const
    {
        QJsonObject out;
        const QJsonObject all = dumpWidgets().value(QStringLiteral("widgets")).toObject();
        for (auto it = all.begin(); it != all.end(); ++it)
            if (it.key().startsWith(QLatin1String("MainDisp/")) &&
                !it.key().contains(QLatin1String("ProgressBar")) &&
                it.key() != QLatin1String("MainDisp/Label6"))
                out.insert(it.key(), it.value());
        return out;
    }
    static QJsonValue field(const QJsonObject& shown, const char* control, const char* name)
    {
        return shown.value(QLatin1String(control)).toObject().value(QLatin1String(name));
    }
    static QStringList differences(const QJsonObject& a, const QJsonObject& b)
    {
        QStringList out;
        for (auto it = a.begin(); it != a.end(); ++it)
            if (b.value(it.key()) != it.value())
                out << it.key();
        for (auto it = b.begin(); it != b.end(); ++it)
            if (!a.contains(it.key()))
                out << it.key();
        return out;
    }

    // File save to `name`; the file's bytes.
    QByteArray save(const QString& name)
    {
        const QString path = dir.filePath(name);
        answers({path});
        w->mnuSave_Click();
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void load(const QString& name)
    {
        answers({QStringLiteral("Yes"), dir.filePath(name)});
        w->mnuLoad_Click();
    }
    QStringList boxes() const
    {
        QStringList out;
        for (const QJsonObject& o : log())
            if (o.value(QStringLiteral("box")) == QLatin1String("msg"))
                out << o.value(QStringLiteral("text")).toString();
        return out;
    }
};

} // namespace

TEST_F(OpsetDialog, OpensModallyWithTheSetInForce)
{
    setWords({1, 0, 3, 0, 0, 0});
    d.HB_CT50A = true;
    withDialog([&](SubDisp_Opset& dialog) {
        EXPECT_EQ(dialog.windowTitle(), S(271));
        EXPECT_EQ(dialog.Frame1->title(), S(193));
        EXPECT_EQ(dialog.Frame2->title(), S(194));
        EXPECT_EQ(dialog.Command1[0]->text(), S(31));
        EXPECT_EQ(dialog.Command1[1]->text(), S(30));
        const QString labels[6] = {S(185), S(184), S(188), S(184), S(190), S(184)};
        for (int g = 0; g < 6; ++g) {
            EXPECT_EQ(dialog.Lbl_OP[size_t(g)]->text(), labels[g]) << g;
            EXPECT_EQ(dialog.Frame_OP1[size_t(g)]->title(), S(178 + g)) << g;
            EXPECT_EQ(dialog.Frame2_OP1[size_t(g)]->title(), S(178 + g)) << g;
        }
        EXPECT_TRUE(dialog.Option_set1[1]->isChecked() && dialog.Option_set3[3]->isChecked());
        EXPECT_TRUE(dialog.Option_set2[0]->isChecked() && dialog.Option_set5[0]->isChecked());
        // Alarm 2 and heater burnout shut heating/cooling and the DC current output out.
        EXPECT_FALSE(dialog.Frame2_OP1[1]->isEnabled());
        EXPECT_FALSE(dialog.Option_set5[2]->isEnabled());
        EXPECT_TRUE(dialog.Option_set5[1]->isEnabled() && dialog.Frame2_OP1[4]->isEnabled());
    });
    EXPECT_FALSE(d.HB_CT50A); // the 3-phase 20 A transformer was in force
    EXPECT_EQ(texts(), QStringList{QStringLiteral("<beep>")});
}

TEST_F(OpsetDialog, AClickWritesItsWordAtOnceAndARefusalFallsBack)
{
    answers({QStringLiteral("OK")});
    withDialog([&](SubDisp_Opset& dialog) {
        dialog.Option_set1[1]->click();
        EXPECT_EQ(d.OptSet_Alarm2, 1);
        EXPECT_FALSE(dialog.Frame2_OP1[1]->isEnabled());
        // Out of the operator's reach now ...
        dialog.Option_set2[1]->click();
        EXPECT_EQ(boxes(), QStringList());
        // ... and refused when chosen all the same.
        dialog.Option_set2_Click(1);
        EXPECT_EQ(boxes(), QStringList{S(286)});
        EXPECT_TRUE(dialog.Option_set2[0]->isChecked());
        EXPECT_FALSE(dialog.Option_set2[1]->isChecked());
        EXPECT_EQ(d.OptSet_HeatCool, 0);
        EXPECT_EQ(d.OptSet_Alarm2, 1);
    });
}

TEST_F(OpsetDialog, ChangeLaysThePagesOutAsAReloadOfTheSameFileDoes)
{
    for (auto [item, v] : std::initializer_list<std::pair<int, int>>{
             {36, 1}, {37, 2}, {13, 10}, {14, 0}, {15, 200}, {16, 50}, {21, 55}, {54, 77}, {62, 1}})
        d.ParaVal(item) = int16_t(v);
    w->relayPages();
    const QJsonObject before = mainShown();

    answers({QStringLiteral("Yes")});
    withDialog([&](SubDisp_Opset& dialog) {
        dialog.Option_set1[1]->click(); // alarm 2
        dialog.Option_set3[3]->click(); // 3-phase 20 A
        dialog.Option_set4[1]->click(); // SV2 to SV4 by contact input
        dialog.Option_set5[1]->click(); // non-contact voltage
        dialog.Command1_Click(0);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(words(), (OptionSet{1, 0, 3, 1, 1, 0}));
    EXPECT_TRUE(d.DataValid && d.DataChanged && d.SpecCheck);
    // Without heating/cooling the chart keeps no MV2 text and hides its MV2 row.
    EXPECT_TRUE(w->Velder_ChartCtl1->lblMv2->isHidden());
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("<beep>"), S(198), QStringLiteral("<beep>")}));
    // No transformer was in force at the opening and the 50 A flag is off: the values stay.
    EXPECT_EQ(d.ParaVal(21), 55);
    EXPECT_EQ(d.ParaVal(54), 77);

    const QJsonObject changed = mainShown();
    for (const char* shown :
         {"MainDisp/Frame_Alarm2", "MainDisp/Frame_HB", "MainDisp/Cmd_True(2)",
          "MainDisp/Label_oth(17)", "MainDisp/Label_oth(22)", "MainDisp/lbl_alm(1)"}) {
        EXPECT_FALSE(field(before, shown, "visible").toBool()) << shown;
        EXPECT_TRUE(field(changed, shown, "visible").toBool()) << shown;
    }
    EXPECT_EQ(field(changed, "MainDisp/Label_Alm_HB(1)", "text").toString(), S(143));

    // The same option words and values from a file give the same window.
    save(QStringLiteral("changed.dat"));
    load(QStringLiteral("changed.dat"));
    EXPECT_EQ(words(), (OptionSet{1, 0, 3, 1, 1, 0}));
    EXPECT_EQ(differences(changed, mainShown()), QStringList());
}

TEST_F(OpsetDialog, ChangeAnsweredNoKeepsTheDialogOpenAndTheWindowAsItWas)
{
    w->relayPages();
    const QJsonObject before = mainShown();
    answers({QStringLiteral("No")});
    withDialog([&](SubDisp_Opset& dialog) {
        dialog.Option_set2[1]->click();
        dialog.Command1_Click(0);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(d.OptSet_HeatCool, 1); // as clicked, until Cancel
        EXPECT_EQ(differences(before, mainShown()), QStringList());
        EXPECT_FALSE(d.DataChanged || d.SpecCheck);
    });
    EXPECT_EQ(d.OptSet_HeatCool, 0);
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("<beep>"), S(198), QStringLiteral("<beep>")}));
}

TEST_F(OpsetDialog, NotOpenedWhileAStepWorksOnTheScreenData)
{
    {
        MainDisp::LongStep busy(*w);
        w->mnuOpset_Click(); // would wait for the dialog if it opened
    }
    EXPECT_EQ(texts(), QStringList{QStringLiteral("<beep>")});
}

namespace {

enum class Leave { Cancel, CloseBox, Escape };

struct LeaveCase {
    const char* what;
    Leave how;
    OptionSet set;
    int refusalsAtOpening;
};

void PrintTo(const LeaveCase& c, std::ostream* os)
{
    *os << c.what;
}

class LeavingWithoutChange : public OpsetDialog, public ::testing::WithParamInterface<LeaveCase> {};

} // namespace

TEST_P(LeavingWithoutChange, LeavesTheSetTheWindowAndTheSavedFileAsTheyWere)
{
    const LeaveCase& c = GetParam();
    setWords(c.set);
    d.ParaVal(21) = 55;
    w->relayPages();
    const QByteArray saved = save(QStringLiteral("before.dat"));
    ASSERT_FALSE(saved.isEmpty());
    const bool changed = d.DataChanged, spec = d.SpecCheck;
    const QJsonObject shown = mainShown();

    answers(QStringList(8, QStringLiteral("OK")));
    withDialog([&](SubDisp_Opset& dialog) {
        for (QRadioButton* b :
             {dialog.Option_set1[0], dialog.Option_set3[0], dialog.Option_set2[1],
              dialog.Option_set5[2], dialog.Option_set6[1], dialog.Option_set4[1]})
            b->click();
        switch (c.how) {
        case Leave::Cancel:
            dialog.Command1[1]->click();
            break;
        case Leave::CloseBox:
            dialog.close();
            break;
        case Leave::Escape:
            QTest::keyClick(&dialog, Qt::Key_Escape);
            break;
        }
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(boxes().size(), c.refusalsAtOpening);
    EXPECT_EQ(words(), c.set);
    EXPECT_EQ(d.ParaVal(21), 55);
    EXPECT_EQ(d.DataChanged, changed);
    EXPECT_EQ(d.SpecCheck, spec);
    EXPECT_EQ(differences(shown, mainShown()), QStringList());
    EXPECT_EQ(save(QStringLiteral("after.dat")), saved);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LeavingWithoutChange,
    ::testing::Values(LeaveCase{"Cancel", Leave::Cancel, {1, 0, 3, 0, 1, 0}, 0},
                      LeaveCase{"close box", Leave::CloseBox, {1, 0, 3, 0, 1, 0}, 0},
                      LeaveCase{"Escape", Leave::Escape, {0, 1, 0, 1, 2, 0}, 0},
                      // A set the dialog refuses part of while it opens (from a file) comes back
                      // whole.
                      LeaveCase{"Cancel, refused set", Leave::Cancel, {1, 1, 0, 1, 0, 1}, 2},
                      LeaveCase{"Escape, refused set", Leave::Escape, {0, 0, 2, 0, 2, 0}, 1}));
