// An in-process main window whose ports lead to the simulated controller on COM1: the simulator's
// control, what crossed the wire, and the program's events run until something holds.
#pragma once

#include "sim_control.h"
#include "window_fixture.h"

#include "ui/ui_widgets.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QLabel>

#include <functional>
#include <memory>
#include <ostream>

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class SimWindow : public WindowFixture {
protected:
    // The simulator's --port argument; override for another model or protocol.
    virtual QString simPort() const { return QStringLiteral("COM1:9600:maker:0:1364"); }
    // Its whole command line after its folders.
    virtual QStringList simArgs() const { return {QStringLiteral("--port"), simPort()}; }

    void SetUp() override
    {
        sim = std::make_unique<SimControl>(simArgs());
        ASSERT_TRUE(sim->ready());
        qputenv("QMX_PORT_DIR", sim->portDir().toUtf8());
        WindowFixture::SetUp();
        d.Make_CommNoTbl2();
        d.DataValid = true;
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

    QJsonObject set(QJsonObject fields)
    {
        fields["cmd"] = "set";
        fields["port"] = "COM1";
        return sim->control(fields);
    }
    void setRegister(const QString& reg, int value) { set({{"reg", reg}, {"value", value}}); }
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
    bool commErrorShown() const { return !w->Text_readmsg2->isHidden(); }

    std::unique_ptr<SimControl> sim;
};
