// The model-option dialog in-process, opened from its menu: Change against a reload of the same
// set-data file and against a start with the new set, and every way of leaving it without a change.
#include "window_fixture.h"

#include "app/startup.h"
#include "files/setdata_file.h"
#include "reload_look.h"
#include "rules/model_options.h"
#include "ui/automation.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/dialogs/subdisp_opset.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace qmx;

namespace {

class OpsetDialog : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        d.DataValid = true;
    }
    // Opens the dialog from its menu for `act` to work; closed, it is gone (built anew each time).
    void withDialog(const std::function<void(SubDisp_Opset&)>& act)
    {
        bool seen = false;
        QTimer::singleShot(0, w.get(), [&] {
            auto* dialog = w->findChild<SubDisp_Opset*>(QStringLiteral("SubDisp_Opset"));
            ASSERT_TRUE(dialog && dialog->isModal() && dialog->isVisible());
            seen = true;
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        w->mnuOpset_Click();
        EXPECT_TRUE(seen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(w->findChild<SubDisp_Opset*>(QStringLiteral("SubDisp_Opset")), nullptr);
    }
    // The windows as the automation dump reads them.
    static QJsonObject shown() { return dumpWidgets().value(QStringLiteral("widgets")).toObject(); }
    // The controls that differ between two dumps, the file name and the progress bars aside.
    static std::string differences(const QJsonObject& a, const QJsonObject& b)
    {
        QStringList out;
        for (const QString& k : a.keys() + b.keys())
            if (a.value(k) != b.value(k) && !out.contains(k) &&
                !k.contains(QLatin1String("ProgressBar")) && k != QLatin1String("MainDisp/Label6"))
                out << k;
        return out.join(u' ').toStdString();
    }
    QByteArray save(const QString& name)
    {
        QFile::remove(dir.filePath(name)); // no question about writing over it
        answers({dir.filePath(name)});
        w->mnuSave_Click();
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    qsizetype boxes() const
    {
        const QList<QJsonObject> l = log();
        return std::count_if(l.begin(), l.end(), [](const QJsonObject& o) {
            return o.value(QStringLiteral("box")) == QLatin1String("msg");
        });
    }
};

} // namespace

TEST_F(OpsetDialog, ChangeLaysTheWindowOutAsAReloadOfTheSameFileDoes)
{
    // A 3-phase 50 A heater-burnout alarm in force with its values; the chart shows an MV2 text.
    d.OptSet_HB = 4;
    const std::pair<int, int> values[] = {{36, 1}, {13, 10}, {24, 5}, {62, 1}, {21, 55}, {54, 77}};
    for (auto [item, v] : values)
        d.ParaVal(item) = int16_t(v);
    w->relayPages();
    w->Velder_ChartCtl1->setMv2Caption(QStringLiteral("MV2"));

    answers({QStringLiteral("Yes")});
    withDialog([&](SubDisp_Opset& dialog) {
        // Heating/cooling instead of heater burnout, SV2 to SV4 selection, non-contact voltage.
        for (QRadioButton* b : {dialog.Option_set3[0], dialog.Option_set2[1], dialog.Option_set4[1],
                                dialog.Option_set5[1]})
            b->click();
        dialog.Command1[0]->click();
    });
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("<beep>"), S(198), QStringLiteral("<beep>")}));
    EXPECT_EQ((OptionSet{d.OptSet_Alarm2, d.OptSet_HeatCool, d.OptSet_HB, d.OptSet_SVsel,
                         d.OptSet_OutType, d.OptSet_Comm}),
              (OptionSet{0, 1, 0, 1, 1, 0}));
    EXPECT_TRUE(d.HB_CT50A); // the transformer found at the opening
    // Without heater burnout its alarm values mean nothing; MV2 waits for the next refresh.
    EXPECT_EQ(d.ParaVal(21), 0);
    EXPECT_EQ(d.ParaVal(54), 0);
    EXPECT_EQ(w->Velder_ChartCtl1->Mv2Caption(), QString());

    const QJsonObject changed = shown();
    save(QStringLiteral("changed.dat"));
    answers({QStringLiteral("Yes"), dir.filePath(QStringLiteral("changed.dat"))});
    w->mnuLoad_Click();
    EXPECT_EQ(differences(changed, shown()), "");
}

TEST_F(OpsetDialog, NotOpenedWhileAStepWorksOnTheScreenData)
{
    {
        MainDisp::LongStep busy(*w);
        w->mnuOpset_Click(); // would wait for the dialog if it opened
    }
    EXPECT_EQ(texts(), QStringList{QStringLiteral("<beep>")});
}

// A set the opening refuses in part (from a file) and a word outside its list come back whole.
TEST_F(OpsetDialog, CancelTheCloseBoxAndEscapeLeaveTheSetTheWindowAndTheSavedFile)
{
    const struct {
        const char* what;
        OptionSet set;
        const char* answers; // to the refusals at the opening, then to the question
        void (*leave)(SubDisp_Opset&);
    } cases[] = {
        {"Cancel", {1, 0, 3, 0, 1, 0}, "", [](SubDisp_Opset& s) { s.Command1[1]->click(); }},
        {"close box", {7, 0, 3, 1, 1, 0}, "", [](SubDisp_Opset& s) { s.close(); }},
        {"Escape",
         {1, 1, 0, 1, 0, 1},
         "OK OK",
         [](SubDisp_Opset& s) { QTest::keyClick(&s, Qt::Key_Escape); }},
        {"No to Change, then Cancel", {0, 0, 2, 0, 2, 0}, "OK No", [](SubDisp_Opset& s) {
             s.Command1[0]->click(); // answered No: the dialog stays with the choices made
             EXPECT_TRUE(s.isVisible());
             s.Command1[1]->click();
         }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        setOptionWords(d, c.set);
        w->relayPages();
        const QByteArray saved = save(QStringLiteral("before.dat"));
        ASSERT_FALSE(saved.isEmpty());
        const bool changed = d.DataChanged, checked = d.SpecCheck;
        const QJsonObject window = shown();
        const qsizetype before = boxes();

        const QStringList said = QString::fromLatin1(c.answers).split(u' ', Qt::SkipEmptyParts);
        answers(said);
        withDialog([&](SubDisp_Opset& dialog) {
            for (QRadioButton* b :
                 {dialog.Option_set1[0], dialog.Option_set3[0], dialog.Option_set2[1],
                  dialog.Option_set5[2], dialog.Option_set6[1], dialog.Option_set4[1]})
                b->click();
            ASSERT_NE(optionWords(d), c.set);
            c.leave(dialog);
            EXPECT_FALSE(dialog.isVisible());
        });
        EXPECT_EQ(boxes() - before, said.size());
        EXPECT_EQ(d.DataChanged, changed);
        EXPECT_EQ(d.SpecCheck, checked);
        EXPECT_EQ(differences(window, shown()), "");
        EXPECT_EQ(save(QStringLiteral("after.dat")), saved);
    }
}

// The heater-burnout rows and their set buttons after a change of the option (by the model-option
// dialog or a file load) are those of a program started with the new set, also after the group
// button; a reload of the same window could not tell, as it lays the rows out by the same rule.
TEST_F(OpsetDialog, HeaterBurnoutChangeLooksAsAStartWithTheNewSet)
{
    const auto fileWith = [&](const char* name, int hb) {
        QmxData f;
        f.Set_Defaults();
        f.OptSet_HB = int16_t(hb);
        f.ParaVal(21) = 55;
        f.ParaVal(54) = 77;
        const QString path = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(writeSetDataFile(path, f));
        return path;
    };
    const auto startWith = [&](const QString& path) {
        w.reset();
        d = QmxData{};
        EXPECT_EQ(loadStartupData(d, path), 0);
        w = std::make_unique<MainDisp>(d);
        w->system_init();
    };
    // The pages as the operator reads them, the buttons that cannot be pressed, the alarm lamps;
    // as laid out, then after the group button was pressed twice (off, then on again).
    const auto look = [&] {
        std::string s;
        for (int pass = 0; pass < 2; ++pass) {
            s += pagesLook(*w);
            // '\n' as a char: GCC 12 falsely warns of an overlapping copy in a literal + string.
            for (QAbstractButton* b : w->SSTab2->findChildren<QAbstractButton*>())
                if (!hiddenOnPage(b) && !b->isEnabledTo(w.get()))
                    s += '\n' + b->objectName().toStdString() + " disabled";
            for (QLabel* l : w->lbl_alm)
                s += '\n' + (l->isHidden() ? std::string("hidden") : l->text().toStdString());
            s += pass == 0 ? "\n-- the group button twice --\n" : "";
            w->Cmd_True_Click(2);
            w->Cmd_True_Click(2);
        }
        return s;
    };
    const struct {
        int from, to;
        bool byFile;
    } cases[] = {{1, 3, false}, {2, 4, false}, {3, 1, false}, {4, 0, false}, {2, 4, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.from << " to " << c.to << (c.byFile ? " by file" : ""));
        startWith(fileWith("from.dat", c.from));
        QString now = fileWith("to.dat", c.to);
        if (c.byFile) {
            answers({QStringLiteral("Yes"), now});
            w->mnuLoad_Click();
        } else {
            answers({QStringLiteral("Yes")});
            withDialog([&](SubDisp_Opset& dialog) {
                dialog.Option_set3[size_t(c.to)]->click();
                dialog.Command1[0]->click();
            });
            now = dir.filePath(QStringLiteral("changed.dat"));
            save(QStringLiteral("changed.dat"));
        }
        ASSERT_EQ(d.OptSet_HB, c.to);
        const std::string changed = look();
        startWith(now);
        EXPECT_EQ(changed, look());
    }
}
