// With no port folder standing in, a window in a test process (which sets no settings format of its
// own) opens the line the program's settings file names, as the program does.
#include "online_fixture.h"

#include "files/settings_store.h"

#include <QDir>
#include <QSettings>

TEST_F(OnlineWindow, TheLineTheSettingsFileNamesWithoutAProgramsSettingsFormat)
{
    const QString line = QDir(sim->portDir()).filePath(QStringLiteral("COM1"));
    qunsetenv("QMX_PORT_DIR");
    qmx::openSettings()->setValue(QStringLiteral("Ports/COM1"), line);
    w->newQMXCom();
    goOnline();
    ASSERT_TRUE(runRequests(1));
    EXPECT_EQ(wire().first(), key());
}
