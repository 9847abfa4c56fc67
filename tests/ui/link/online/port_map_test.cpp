// The serial ports as the saved settings name them, with no port folder standing in: a main window
// inside a test and the real program reach the controller on the same line.
#include "online_fixture.h"
#include "program_driver.h"

#include "files/settings_store.h"

#include <QDir>
#include <QSettings>

namespace {

using PortsFromSettings = OnlineWindow;

TEST_F(PortsFromSettings, AWindowInATestAndTheProgramOpenTheLineTheSettingsName)
{
    const QString line = QDir(sim->portDir()).filePath(QStringLiteral("COM1"));
    qunsetenv("QMX_PORT_DIR");

    // A window in this process, which sets no settings format of its own, takes the line from the
    // program's settings file.
    qmx::openSettings()->setValue(QStringLiteral("Ports/COM1"), line);
    w->newQMXCom();
    goOnline();
    ASSERT_TRUE(runRequests(1));
    EXPECT_EQ(wire().first(), key());
    w->Cmd_ONOFF_Click();
    ASSERT_FALSE(d.OnLine);

    // The real program, with the same settings: its first connection at start-up talks to the
    // controller on that line.
    sim->mark();
    ProgramRun program;
    program.settings()->setValue(QStringLiteral("Ports/COM1"), line);
    program.start();
    ASSERT_TRUE(program.waitReady());
    EXPECT_TRUE(runUntil([&] { return !wire().isEmpty(); }));
    program.command(QStringLiteral("quit"));
    EXPECT_TRUE(program.waitFinished());
}

} // namespace
