// An in-process main window whose link runs to the simulated controller, opened as going online
// opens it: port open, access key written, the maker's protocol. The writing routines are then
// driven directly, and what crossed the wire is read from the simulator.
#pragma once

#include "sim_control.h"
#include "window_fixture.h"

#include "app/ui_widgets.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QLabel>

#include <functional>
#include <memory>

class LinkedWindow : public WindowFixture {
protected:
    // The simulator's --port argument; override for another model or protocol.
    virtual QString simPort() const { return QStringLiteral("COM1:9600:maker:0:1364"); }
    // Whether SetUp opens the link (false leaves the program offline with the port closed).
    virtual bool openLink() const { return true; }

    void SetUp() override
    {
        sim = std::make_unique<SimControl>(QStringList{QStringLiteral("--port"), simPort()});
        ASSERT_TRUE(sim->ready());
        qputenv("QMX_PORT_DIR", sim->portDir().toUtf8());
        WindowFixture::SetUp();
        // A box nobody answers would wait for a person: every test has a few OKs to spare.
        answers({"OK", "OK", "OK", "OK"});
        d.Make_CommNoTbl2();
        d.DataValid = true;
        if (openLink()) {
            ASSERT_TRUE(w->QMXCom->Com_Open());
            d.ComOK = true;
            d.Protocol = 0;
            w->link->Write_Key(QString::fromLatin1(qmx::kAccessKey));
        }
        sim->mark();
    }
    void TearDown() override
    {
        if (w) {
            w->Timer1.stop();
            w->Timer6.stop();
        }
        WindowFixture::TearDown();
        sim.reset();
        qunsetenv("QMX_PORT_DIR");
    }

    // Sets the controller's options and the screen's copy of them alike.
    void options(int option1, int option2 = 0)
    {
        set({{"option1", option1}, {"option2", option2}});
        d.MonVal(7) = int16_t(option1);
        d.MonVal(8) = int16_t(option2);
    }
    QJsonObject set(QJsonObject fields)
    {
        fields["cmd"] = "set";
        fields["port"] = "COM1";
        return sim->control(fields);
    }
    void setRegister(const QString& reg, int value) { set({{"reg", reg}, {"value", value}}); }
    int controllerValue(const QString& reg)
    {
        return sim->control({{"cmd", "get"}, {"port", "COM1"}, {"reg", reg}})["value"].toInt();
    }
    void fault(QJsonObject f)
    {
        f["cmd"] = "fault";
        f["port"] = "COM1";
        ASSERT_TRUE(sim->control(f)["ok"].toBool()) << "fault not taken";
    }
    QStringList wire() const { return sim->requests(); }
    // The access key write as the controller receives it.
    static QString key() { return QStringLiteral("50 0000 8217"); }

    // Lets the program's timers and events run until `done` holds or `ms` have passed.
    bool runUntil(const std::function<bool()>& done, int ms = 20000)
    {
        QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    // The scheduler's part in a single write: each queued item in turn.
    void runQueuedWrites()
    {
        w->Timer1.stop();
        while (!d.WriteQueue.empty()) {
            d.ParaNo = d.WriteQueue.front();
            d.WriteQueue.pop_front();
            w->Write_Para();
        }
    }
    bool commErrorShown() const { return !w->Text_readmsg2->isHidden(); }
    bool busyNoticeShown() const { return !w->Text_readmsg3->isHidden(); }
    int beeps() const { return int(texts().count(QStringLiteral("<beep>"))); }

    std::unique_ptr<SimControl> sim;
};
