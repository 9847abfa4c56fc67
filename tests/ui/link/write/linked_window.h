// An in-process main window whose link runs to the simulated controller, opened as going online
// opens it: port open, access key written, the maker's protocol. The writing routines are then
// driven directly, and what crossed the wire is read from the simulator.
#pragma once

#include "sim_window.h"

#include "model/option_set.h"

class LinkedWindow : public SimWindow {
protected:
    // Whether SetUp opens the link (false leaves the program offline with the port closed).
    virtual bool openLink() const { return true; }

    void SetUp() override
    {
        SimWindow::SetUp();
        // A box nobody answers would wait for a person: every test has a few OKs to spare.
        answers({"OK", "OK", "OK", "OK"});
        if (openLink()) {
            ASSERT_TRUE(w->QMXCom->Com_Open());
            d.ComOK = true;
            d.Protocol = 0;
            w->link->Write_Key(QString::fromLatin1(qmx::kAccessKey));
        }
        sim->mark();
    }
    // Sets the controller's options, the screen's copy of them and its option set alike, as going
    // online leaves them.
    void options(int option1, int option2 = 0)
    {
        set({{"option1", option1}, {"option2", option2}});
        d.MonVal(7) = int16_t(option1);
        d.MonVal(8) = int16_t(option2);
        const qmx::OptionSet s = qmx::decodeOptions(option1, option2);
        d.OptSet_Alarm2 = s[qmx::Alarm2];
        d.OptSet_HeatCool = s[qmx::HeatCool];
        d.OptSet_HB = s[qmx::HeaterBurnout];
        d.OptSet_SVsel = s[qmx::SvSelect];
        d.OptSet_OutType = s[qmx::OutputType];
        d.OptSet_Comm = s[qmx::SerialComm];
    }
    int controllerValue(const QString& reg)
    {
        return sim->control({{"cmd", "get"}, {"port", "COM1"}, {"reg", reg}})["value"].toInt();
    }
    // The scheduler's part in a single write: each queued item in turn.
    void runQueuedWrites()
    {
        w->Timer1.stop();
        while (!d.WriteQueue.empty()) {
            const int item = d.WriteQueue.front();
            d.WriteQueue.pop_front();
            w->writeQueuedItem(item);
        }
    }
    bool busyNoticeShown() const { return !w->Text_readmsg3->isHidden(); }
    int beeps() const { return int(texts().count(QStringLiteral("<beep>"))); }
};
