// The entry dialogs online: the operator's value or choice reaches the simulated controller and
// comes back.
#include "online_fixture.h"
#include "register_table.h"

#include "files/setdata_file.h"
#include "rules/set_refusal.h"
#include "ui/dialogs/select_disp.h"
#include "ui/dialogs/setting_disp.h"

#include <QPushButton>
#include <QRadioButton>

#include <QTest>
#include <QTimer>

using namespace qmx;

namespace {

// One edit the operator makes online: the item and its register; option `value` of the list's
// array `options` clicked, or `value` typed into the entry when `options` is null.
struct OnlineEdit {
    int item;
    const char* reg;
    const char* options;
    int value;
};

class EntryOnline : public OnlineWindow {
protected:
    Setting_Disp* dlg() const
    {
        return w->subWindows().find<Setting_Disp>(QStringLiteral("Setting_Disp"));
    }
    void type(const QString& text) { QTest::keyClicks(dlg()->Disp_setdata, text); }
    void enter() { QTest::keyClick(dlg()->Disp_setdata, Qt::Key_Return); }
    int controllerValue(const char* reg)
    {
        return sim->control({{"cmd", "get"}, {"port", "COM1"}, {"reg", reg}})["value"].toInt();
    }
    bool writeDone() { return d.WriteQueue.empty() && d.ComMode == 1; }
    Select_Disp* list() const
    {
        return w->subWindows().find<Select_Disp>(QStringLiteral("Select_Disp"));
    }
    // Clicks option `index` of the open list.
    void click(const char* options, int index)
    {
        ASSERT_TRUE(list());
        auto* b =
            list()->findChild<QRadioButton*>(QStringLiteral("%1(%2)").arg(options).arg(index));
        ASSERT_TRUE(b);
        b->click();
    }
    void openEdit(const OnlineEdit& e)
    {
        w->Cmd_set_Click(e.item - 10);
        if (e.options)
            click(e.options, e.value);
        else
            type(QString::number(e.value));
    }
    // OK on whichever edit is open.
    void commitIfOpen()
    {
        if (list())
            list()->Command1->click();
        if (dlg())
            enter();
    }
    // Chooses option `index` for `item` in the list-choice dialog and presses OK.
    void choose(int item, const char* options, int index)
    {
        w->Cmd_set_Click(item - 10);
        click(options, index);
        if (list())
            list()->Command1->click();
    }
    // The controller's `reg` is changed at its front keys; runs until the upload that follows has
    // brought it and a monitoring step has shown it.
    void frontKeys(const char* reg, int value)
    {
        setRegister(QLatin1String(reg), value);
        set({{"status", 0x8000}});
        const int uploads = int(wire().count(QStringLiteral("50 0070 0001")));
        ASSERT_TRUE(runUntil([&] {
            return wire().count(QStringLiteral("50 0070 0001")) > uploads && !d.Uploading &&
                   d.ComMode == 1;
        }));
        const int sent = int(wire().size());
        ASSERT_TRUE(runUntil([&] { return wire().size() > sent + 1; }));
    }
    // File -> Save into a new file: the value it holds for `item`.
    int savedValue(int item)
    {
        const QString path = dir.filePath(QStringLiteral("saved%1.dat").arg(++saves_));
        answers({path});
        w->mnuSave_Click();
        const auto set = readSetDataFile(path);
        EXPECT_TRUE(set);
        return set ? set->values[size_t(item - kFirstPara)] : -1;
    }
    // Runs until the upload asked now is over, with the scheduler ticking.
    void upload()
    {
        const int before = int(wire().count(QStringLiteral("50 0070 0001")));
        w->Timer1.start();
        w->requestComMode(4);
        ASSERT_TRUE(runUntil([&] {
            return wire().count(QStringLiteral("50 0070 0001")) > before && !d.Uploading &&
                   writeDone();
        }));
    }
    // Runs until the write and the upload it asked for are over, and a little longer.
    QStringList writeAndUpload()
    {
        runUntil([&] { return !d.ReUpload && !d.Uploading && writeDone(); });
        runUntil([] { return false; }, 400);
        return wire();
    }

private:
    int saves_ = 0;
};

} // namespace

TEST_F(EntryOnline, IntegralTimeIsWrittenAndReadBack)
{
    goOnline();
    w->Cmd_set_Click(5);
    ASSERT_TRUE(dlg());
    type(QStringLiteral("120"));
    sim->mark();
    enter();
    ASSERT_TRUE(runUntil([&] { return writeDone() && wire().contains(read("0006")); }));
    const QStringList sent = wire();
    const int write = int(sent.indexOf(QStringLiteral("50 0006 0078")));
    ASSERT_GE(write, 0) << sent.join(QLatin1Char('|')).toStdString();
    EXPECT_GT(sent.indexOf(read("0006"), write), write) << "read back after the write";
    EXPECT_EQ(controllerValue("0006"), 120);
    EXPECT_EQ(d.ParaVal(15), 120);
    EXPECT_TRUE(runUntil([&] { return w->Label_pidval[2]->text() == QStringLiteral("120"); }));
}

TEST_F(EntryOnline, OkDuringAnUploadStillWritesItsItem)
{
    goOnline();
    w->Timer1.stop();
    w->Cmd_set_Click(3);
    type(QStringLiteral("42"));
    Setting_Disp* open = dlg();
    w->requestComMode(4);
    bool pressed = false;
    // OK comes while the upload lets events run, with ParaNo on another item.
    QTimer::singleShot(20, [&] {
        pressed = true;
        d.ParaNo = 40;
        open->Command3_Click();
    });
    sim->mark();
    w->Timer1_Timer();
    ASSERT_TRUE(pressed);
    EXPECT_EQ(d.ParaVal(13), 42) << "the upload leaves the entered value alone";
    ASSERT_EQ(d.WriteQueue.size(), 1u);
    EXPECT_EQ(d.WriteQueue.front(), 13);
    sim->mark();
    w->Timer1_Timer();
    EXPECT_TRUE(wire().contains(QStringLiteral("50 0004 002A")));
    EXPECT_EQ(controllerValue("0004"), 42);
}

// A scaling limit, an input type and an alarm type each ask for one upload after their write: the
// controller decides what follows them, and the upload brings it.
namespace {

struct UploadCase {
    const char* name;
    int item;
    const char* options; // the list's option array; nullptr: typed into the numeric entry
    int value;
    const char* reg;
    const char* write;
};

const UploadCase kUploads[] = {
    {"ScalingHigh", 25, nullptr, 1000, "0018", "50 0018 03E8"},
    {"InputType", 50, "Option_sensor", 2, "0044", "50 0044 0002"},
    {"AlarmType", 36, "Option_alarm", 3, "0023", "50 0023 0003"},
};

class Upload : public EntryOnline, public ::testing::WithParamInterface<UploadCase> {};

} // namespace

TEST_P(Upload, WrittenThenEverythingIsReadOnce)
{
    const UploadCase& c = GetParam();
    goOnline();
    sim->mark();
    if (c.options) {
        choose(c.item, c.options, c.value);
    } else {
        w->Cmd_set_Click(c.item - 10);
        type(QString::number(c.value));
        enter();
    }
    EXPECT_EQ(d.ParaVal(c.item), c.value);
    const QStringList sent = writeAndUpload();
    const int write = int(sent.indexOf(QLatin1String(c.write)));
    ASSERT_GE(write, 0) << sent.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(sent.count(QLatin1String(c.write)), 1) << "answered within its time-out";
    EXPECT_EQ(sent.count(QStringLiteral("50 0070 0001")), 1) << "one upload";
    EXPECT_GT(sent.indexOf(QStringLiteral("50 0070 0001")), write) << "after the write";
    EXPECT_FALSE(commErrorShown());
    EXPECT_EQ(controllerValue(c.reg), c.value);
    // The scaling limits are the controller's (an input type resets them there).
    EXPECT_EQ(d.ParaVal(25), controllerValue("0018"));
    EXPECT_EQ(d.ParaVal(26), controllerValue("0019"));
}

INSTANTIATE_TEST_SUITE_P(Online, Upload, ::testing::ValuesIn(kUploads),
                         [](const auto& i) { return std::string(i.param.name); });

// An upload that takes the item of an open entry away (a DC input has no AT bias) ends that entry:
// nothing of it reaches the controller, whether the operator chose the type or it was set at the
// controller's keys and OK ran as soon as the upload ended (a click held while it read) or in the
// pause before its first read.
TEST_F(EntryOnline, AnEntryWhoseItemAnUploadTakesAwayWritesNothing)
{
    const qmxsim::ParameterInfo* bias = nullptr;
    for (const qmxsim::ParameterInfo& p : qmxsim::parameterTable())
        if (p.item == 52)
            bias = &p;
    ASSERT_TRUE(bias);
    const QString write = QStringLiteral("50 %1").arg(bias->reg, 4, 16, QLatin1Char('0')).toUpper();
    enum class Route { KeysOkHeld, KeysOkInThePause, TypeChosen };
    answers({"OK", "OK"});
    goOnline();
    for (const Route route : {Route::KeysOkHeld, Route::KeysOkInThePause, Route::TypeChosen}) {
        SCOPED_TRACE(int(route));
        ASSERT_FALSE(w->Cmd_set[42]->isHidden()) << "the AT bias of a temperature input";
        w->Cmd_set_Click(52 - 10);
        ASSERT_TRUE(dlg());
        type(QStringLiteral("0")); // within the limits before and after
        sim->mark();
        if (route == Route::TypeChosen) {
            choose(50, "Option_sensor", 30);
        } else {
            w->Timer1.stop();
            setRegister(QStringLiteral("0044"), 30);
            w->requestComMode(4);
            if (route == Route::KeysOkInThePause)
                QTimer::singleShot(0, w.get(), [&] { commitIfOpen(); });
            w->Timer1_Timer();
            commitIfOpen(); // the click held while the upload read
            w->Timer1.start();
        }
        writeAndUpload();
        EXPECT_TRUE(w->Cmd_set[42]->isHidden());
        EXPECT_FALSE(dlg());
        if (dlg()) { // the fault: an entry left open is committed as the operator would
            enter();
            runUntil([] { return false; }, 400);
        }
        EXPECT_TRUE(wire().filter(write).isEmpty()) << wire().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(d.ParaVal(52), controllerValue(qPrintable(write.mid(3))));
        EXPECT_EQ(savedValue(52), controllerValue(qPrintable(write.mid(3))));
        // Back to a temperature input for the next route.
        setRegister(QStringLiteral("0044"), 0);
        upload();
    }
}

// The controller comes to meet a set button's refusal under an open edit: "Lock 3" set at its
// front under the input-type list, the auto-tuning the operator starts under the P entry. Nothing
// of the edit reaches the controller; once the tuning is over the P entry writes again.
TEST_F(EntryOnline, AnOpenEditItsSetButtonNowRefusesWritesNothing)
{
    const auto commitAndWrite = [&] {
        commitIfOpen();
        runUntil([&] { return writeDone(); });
    };
    set({{"at_seconds", 2}});
    goOnline();
    sim->mark();
    openEdit({50, "0044", "Option_sensor", 2});
    frontKeys("0012", 3);
    EXPECT_FALSE(list());
    commitAndWrite(); // as the operator would, were it left open
    EXPECT_EQ(wire().filter(QStringLiteral("50 0044")), QStringList());

    openEdit({13, "0004", nullptr, 55});
    sim->mark();
    choose(12, "Option_at", 1);
    ASSERT_TRUE(runUntil([&] { return writeDone() && wire().contains(read("0003")); }));
    EXPECT_FALSE(dlg());
    commitAndWrite();
    EXPECT_EQ(wire().filter(QStringLiteral("50 0004")), QStringList());

    // The upload after the tuning brings its result and AT off.
    ASSERT_TRUE(runUntil([&] { return d.ParaVal(12) == 0 && !d.Uploading && d.ComMode == 1; }));
    w->Cmd_set_Click(13 - 10);
    ASSERT_TRUE(dlg());
    type(QStringLiteral("55"));
    sim->mark();
    commitAndWrite();
    EXPECT_TRUE(wire().contains(QStringLiteral("50 0004 0037")));
}

// OK pressed while an upload reads, before it brings "Lock 3" or auto-tuning: the write OK asked
// for does not go out under them, and the item shows what the controller holds, also where no
// upload brings it back (set values 2 to 4 and the special items are not read during a tuning; an
// upload the controller turns away reads nothing).
TEST_F(EntryOnline, AnEditAcceptedBeforeAnUploadBroughtARefusalIsNotWritten)
{
    const QJsonObject lock3{{"cmd", "set"}, {"port", "COM1"}, {"reg", "0012"}, {"value", 3}};
    const QJsonObject tuning{{"cmd", "at"}, {"port", "COM1"}, {"seconds", 60}};
    const struct {
        const char* name;
        OnlineEdit edit;
        QJsonObject controller; // what changed at the controller meanwhile
        const char* write;      // how the edit's write begins on the wire
        bool nextUploadTurnedAway;
    } cases[] = {
        {"input-type list, Lock 3", {50, "0044", "Option_sensor", 2}, lock3, "50 0044", false},
        {"input-type list, Lock 3, next upload turned away",
         {50, "0044", "Option_sensor", 2},
         lock3,
         "50 0044",
         true},
        {"P entry, auto-tuning", {13, "0004", nullptr, 55}, tuning, "50 0004", false},
        {"set value 2 entry, auto-tuning", {59, "FC32", nullptr, 300}, tuning, "71 FC32", false},
    };
    controllerOptions(0x01, 0); // set values 2 to 4
    d.SpecCheck = false;
    goOnline();
    for (const auto& [name, e, controller, write, turnedAway] : cases) {
        SCOPED_TRACE(name);
        // Neither a tuning nor a lock from the row before, and the screen knows it.
        sim->control({{"cmd", "at"}, {"port", "COM1"}, {"on", false}});
        setRegister(QStringLiteral("0012"), 0);
        upload();
        w->Timer1.stop();
        openEdit(e);
        sim->control(controller);
        w->requestComMode(4);
        // OK comes in the upload's first wait.
        QTimer::singleShot(0, w.get(), [&] { commitIfOpen(); });
        sim->mark();
        w->Timer1_Timer();
        ASSERT_TRUE(editRefused(d, e.item));
        ASSERT_EQ(d.WriteQueue.size(), 1u);
        if (turnedAway)
            fault({{"kind", "busy"}, {"reg", "0070"}});
        w->Timer1.start();
        ASSERT_TRUE(runUntil([&] {
            return wire().count(QStringLiteral("50 0070 0001")) == 2 && !d.Uploading && writeDone();
        }));
        EXPECT_EQ(wire().filter(QLatin1String(write)), QStringList());
        EXPECT_EQ(d.ParaVal(e.item), controllerValue(e.reg));
        EXPECT_EQ(savedValue(e.item), controllerValue(e.reg));
    }
}

// The controller's value changed at its front under an open edit and came up with the upload, with
// OK pressed after that upload or while it read; the operator's write is then refused and its
// read-back too. What is put back is the value the controller last held, not the one shown when the
// edit opened or at OK.
TEST_F(EntryOnline, ARefusedWritePutsBackWhatTheControllerLastHeld)
{
    const struct {
        const char* name;
        OnlineEdit edit;
        int front; // the controller's value, set at its front keys
        bool okDuringTheUpload;
    } cases[] = {
        {"integral time entry", {15, "0006", nullptr, 250}, 333, false},
        {"backlight list", {55, "0050", "Option_bklt", 2}, 4, false},
        {"item 65 entry, OK during the upload", {65, "004A", nullptr, 12}, 5, true},
    };
    goOnline();
    for (const auto& [name, e, front, okDuringTheUpload] : cases) {
        SCOPED_TRACE(name);
        openEdit(e);
        if (okDuringTheUpload) {
            w->Timer1.stop();
            setRegister(QLatin1String(e.reg), front);
            w->requestComMode(4);
            QTimer::singleShot(0, w.get(), [&] { commitIfOpen(); });
            w->Timer1_Timer();
            ASSERT_EQ(d.WriteQueue.size(), 1u);
        } else {
            frontKeys(e.reg, front);
            ASSERT_EQ(d.ParaVal(e.item), front);
        }
        fault({{"kind", "nak"}, {"reg", e.reg}, {"count", 2}});
        sim->mark();
        commitIfOpen();
        w->Timer1.start();
        ASSERT_TRUE(runUntil([&] { return writeDone() && wire().contains(read(e.reg)); }));
        EXPECT_EQ(d.ParaVal(e.item), front);
        EXPECT_EQ(controllerValue(e.reg), front);
        EXPECT_EQ(savedValue(e.item), front);
    }
}

// Edits accepted before the next write tick go out in the order they were accepted: an input type
// accepted before "Lock 3" was chosen is written before it. The lock list opens at once after the
// input-type list's OK.
TEST_F(EntryOnline, QueuedEditsAreWrittenInTheOrderAccepted)
{
    goOnline();
    w->Timer1.stop();
    choose(50, "Option_sensor", 2);
    w->Cmd_set_Click(22 - 10);
    QCoreApplication::processEvents();
    ASSERT_TRUE(list() && list()->isVisible());
    click("Option_lock", 3);
    list()->Command1->click();
    ASSERT_EQ(d.WriteQueue.size(), 2u);
    sim->mark();
    w->Timer1.start();
    ASSERT_TRUE(runUntil([&] { return writeDone() && wire().contains("50 0012 0003"); }));
    const QStringList sent = wire();
    const int type = int(sent.indexOf(QStringLiteral("50 0044 0002")));
    ASSERT_GE(type, 0) << sent.join(QLatin1Char('|')).toStdString();
    EXPECT_LT(type, sent.indexOf(QStringLiteral("50 0012 0003")));
    EXPECT_EQ(controllerValue("0044"), 2);
}

// Right after Online nothing of the item has been read yet. Its set button clicked again while its
// write waits, and the dialog closed: the write is still judged against the value the edit was
// accepted against, and puts that back when it does not land. The AT choice goes out; the lost
// integral time shows what the controller holds.
TEST_F(EntryOnline, AnEditOpenedAgainWhileItsWriteWaitsKeepsItsBase)
{
    const struct {
        const char* name;
        OnlineEdit edit;
        bool lost; // the write is refused and its read-back goes unanswered
    } cases[] = {
        {"integral time entry, write lost", {15, "0006", nullptr, 120}, true},
        {"AT list, Perform", {12, "0003", "Option_at", 1}, false},
    };
    goOnline();
    for (const auto& [name, e, lost] : cases) {
        SCOPED_TRACE(name);
        const int before = controllerValue(e.reg);
        w->Timer1.stop(); // both clicks land before the write
        openEdit(e);
        commitIfOpen();
        w->Cmd_set_Click(e.item - 10);
        if (list())
            list()->Command2->click();
        if (dlg())
            dlg()->Command4_Click();
        if (lost) {
            fault({{"kind", "nak"}, {"reg", e.reg}, {"code", 4}});
            fault({{"kind", "silence"}, {"reg", e.reg}, {"count", 2}});
        }
        sim->mark();
        w->Timer1.start();
        ASSERT_TRUE(runUntil([&] { return writeDone() && !wire().isEmpty(); }));
        EXPECT_EQ(controllerValue(e.reg), lost ? before : e.value);
        EXPECT_EQ(d.ParaVal(e.item), controllerValue(e.reg));
        EXPECT_EQ(savedValue(e.item), controllerValue(e.reg));
    }
}

// Going offline while edits wait to be written: they go out first, while the controller is still
// unlocked. An input type's write asks for the controller's ranges beside it, which are not read
// any more: the next Online asks about the screen data.
TEST_F(EntryOnline, EditsQueuedWhenTheOperatorGoesOfflineAreWrittenFirst)
{
    const struct {
        OnlineEdit edit;
        const char* write;
        bool asksAtOnline;
    } cases[] = {
        {{15, "0006", nullptr, 120}, "50 0006 0078", false},
        {{50, "0044", "Option_sensor", 2}, "50 0044 0002", true},
    };
    for (const auto& [e, write, asks] : cases) {
        SCOPED_TRACE(write);
        goOnline();
        w->Timer1.stop(); // OK and Offline held while an upload read run back to back
        openEdit(e);
        commitIfOpen();
        sim->mark();
        w->Cmd_ONOFF_Click();
        ASSERT_FALSE(d.OnLine);
        const QStringList sent = wire();
        ASSERT_TRUE(sent.contains(QLatin1String(write))) << sent.join('|').toStdString();
        EXPECT_LT(sent.indexOf(QLatin1String(write)), sent.indexOf(lock()));
        EXPECT_EQ(controllerValue(e.reg), e.value);
        EXPECT_EQ(d.ParaVal(e.item), e.value);
        EXPECT_EQ(d.DataChanged, asks);
        EXPECT_EQ(savedValue(e.item), e.value);
    }
}

// A link that no longer answers ends the writing at going offline: the edits left are put back.
TEST_F(EntryOnline, GoingOfflineOverADeadLinkPutsTheEditsLeftBack)
{
    goOnline();
    const int before = controllerValue("0007");
    w->Timer1.stop();
    openEdit({15, "0006", nullptr, 120});
    commitIfOpen();
    openEdit({16, "0007", nullptr, 60});
    commitIfOpen();
    fault({{"kind", "silence"}, {"reg", "*"}, {"count", 50}});
    sim->mark();
    w->Cmd_ONOFF_Click();
    ASSERT_FALSE(d.OnLine);
    EXPECT_TRUE(wire().filter(QStringLiteral("50 0007")).isEmpty());
    EXPECT_EQ(d.ParaVal(16), before);
    EXPECT_TRUE(d.DataChanged);
}

// A contact-input choice accepted in the first wait of an upload does not decide what that upload
// reads: set value 3, changed at the controller's front, comes up as the controller holds it.
TEST_F(EntryOnline, AnUploadReadsTheSetValuesByTheControllersContactInput)
{
    controllerOptions(0x01, 0); // set values 2 to 4 and the contact input
    d.SpecCheck = false;
    goOnline();
    upload();
    w->Timer1.stop();
    openEdit({62, "FC92", "Option_smsl", 1});
    setRegister(QStringLiteral("FC34"), 50);
    w->requestComMode(4);
    QTimer::singleShot(0, w.get(), [&] { commitIfOpen(); });
    w->Timer1_Timer();
    ASSERT_EQ(d.WriteQueue.size(), 1u);
    w->Timer1.start();
    ASSERT_TRUE(runUntil([&] { return writeDone(); }));
    EXPECT_EQ(controllerValue("FC92"), 1);
    EXPECT_EQ(d.ParaVal(60), 50);
    EXPECT_EQ(savedValue(60), 50);
}
