// An in-process main window with working link settings and the simulated controller on COM1,
// offline with the port closed: each test goes online through the Online button as the operator
// does, and judges what crossed the wire, the window and the boxes asked.
#pragma once

#include "sim_window.h"

class OnlineWindow : public SimWindow {
protected:
    void SetUp() override
    {
        SimWindow::SetUp();
        // The link settings were found earlier; the screen data is in place.
        d.CommSetOK = true;
        d.ScreenSet = true;
        sim->mark();
    }

    // The controller's option words, and the screen's option set to match them.
    void controllerOptions(int option1, int option2)
    {
        set({{"option1", option1}, {"option2", option2}});
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
    static QString lock() { return QStringLiteral("50 0000 0000"); }
    static QString read(const char* reg) { return QStringLiteral("20 ") + QLatin1String(reg); }
    static QString joined(std::initializer_list<int> ids)
    {
        QStringList out;
        for (int id : ids)
            out << S(id);
        return out.join(QLatin1Char('\n'));
    }
};
