// An in-process main window with working link settings and the simulated controller on COM1,
// offline with the port closed: each test goes online through the Online button as the operator
// does, and judges what crossed the wire, the window and the boxes asked.
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
#include <ostream>

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class OnlineWindow : public WindowFixture {
protected:
    virtual QStringList simArgs() const
    {
        return {QStringLiteral("--port"), QStringLiteral("COM1:9600:maker:0:1364")};
    }

    void SetUp() override
    {
        sim = std::make_unique<SimControl>(simArgs());
        ASSERT_TRUE(sim->ready());
        qputenv("QMX_PORT_DIR", sim->portDir().toUtf8());
        WindowFixture::SetUp();
        d.Make_CommNoTbl2();
        // The link settings were found earlier; the screen data is in place.
        d.CommSetOK = true;
        d.ScreenSet = true;
        d.DataValid = true;
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

    // The controller's option words, and the screen's option set to match them.
    void controllerOptions(int option1, int option2)
    {
        set({{"option1", option1}, {"option2", option2}});
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

    // Lets the program's timers and events run until `done` holds or `ms` have passed.
    bool runUntil(const std::function<bool()>& done, int ms = 20000)
    {
        QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    // Runs until the controller has received `n` requests since the last mark.
    bool runRequests(int n, int ms = 20000)
    {
        return runUntil([&] { return wire().size() >= n; }, ms);
    }
    void goOnline()
    {
        w->Cmd_ONOFF_Click();
        ASSERT_TRUE(d.OnLine);
        ASSERT_TRUE(w->Timer1.isActive());
    }
    bool commErrorShown() const { return !w->Text_readmsg2->isHidden(); }
    static QString key() { return QStringLiteral("50 0000 8217"); }
    static QString lock() { return QStringLiteral("50 0000 0000"); }
    static QString read(const char* reg) { return QStringLiteral("20 ") + QLatin1String(reg); }
    static QString joined(std::initializer_list<int> ids)
    {
        QStringList out;
        for (int id : ids)
            out << S(id);
        return out.join(QLatin1Char('\n'));
    }

    std::unique_ptr<SimControl> sim;
};
