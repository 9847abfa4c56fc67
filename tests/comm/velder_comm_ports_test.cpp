// The port owner's ports: the COMn mapping, opening and closing, and the line settings.
#include "comm/velder_comm.h"
#include "files/settings_store.h"
#include "pty_line.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include "../log_capture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace testline;
using qmx::Velder_Comm;

namespace {

TEST(VelderCommPorts, ComNamesMapIntoThePortDirectory)
{
    PortDir env(QStringLiteral("/tmp/qmx-ports"));
    // The port folder stands in for every port, whatever the settings name.
    const QMap<QString, QString> saved{{QStringLiteral("COM2"), QStringLiteral("/dev/ttyS9")}};
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(Velder_Comm::devicePath(QStringLiteral("COM%1").arg(n), saved),
                  QStringLiteral("/tmp/qmx-ports/COM%1").arg(n));
    for (const char* other :
         {"COM0", "COM9", "COM10", "com1", " COM1", "COM1 ", "", "/dev/ttyS0", "../COM1", "COM"})
        EXPECT_TRUE(Velder_Comm::devicePath(QString::fromLatin1(other)).isEmpty()) << other;
}

TEST(VelderCommPorts, WithoutPortDirectoryTheSettingsDecide)
{
    // The program's settings file, edited by hand, and read as the program reads it.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    const QByteArray old = qgetenv("QMX_PORT_DIR");
    qunsetenv("QMX_PORT_DIR");
    {
        QSettings s(settingsDir.filePath(QStringLiteral("VELDER BRANTIS/DFX-QMX07K.ini")),
                    QSettings::IniFormat);
        s.setValue(QStringLiteral("Ports/COM3"), QStringLiteral("/dev/ttyS9"));
    }
    const QMap<QString, QString> ports = qmx::readPortMap(*qmx::openSettings());
    EXPECT_EQ(Velder_Comm::devicePath("COM1", ports), "/dev/ttyUSB0");
    EXPECT_EQ(Velder_Comm::devicePath("COM3", ports), "/dev/ttyS9");
    EXPECT_EQ(Velder_Comm::devicePath("COM8", ports), "/dev/ttyUSB7");
    EXPECT_TRUE(Velder_Comm::devicePath("COM9", ports).isEmpty());
    qputenv("QMX_PORT_DIR", old);
}

TEST(VelderCommPorts, AnAbsentPortOpensNothing)
{
    QTemporaryDir dir;
    PortDir env(dir.path());
    Velder_Comm comm;
    comm.setCom_Port("COM2");
    EXPECT_FALSE(comm.Com_Open());
    EXPECT_FALSE(comm.Com_Open());
    EXPECT_FALSE(comm.isOpen());
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(comm.Com_Send(" ", " ", " ", "0080", "", 3).isEmpty());
    EXPECT_LT(t.elapsed(), 250);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    comm.setCom_Port("COM12");
    EXPECT_FALSE(comm.Com_Open());
    comm.Com_Close();
}

// The operator is told only that no link came up; the link's log keeps why, in the system's words.
TEST(VelderCommPorts, TheLogKeepsWhyAPortWouldNotOpen)
{
    LogCapture capture("qmx.comm");
    QTemporaryDir dir;
    PortDir env(dir.path());
    Velder_Comm comm;
    comm.setCom_Port("COM3");
    EXPECT_FALSE(comm.Com_Open());
    capture.stop();
    const QStringList& logged = capture.lines();

    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains(dir.filePath(QStringLiteral("COM3"))))
        << logged[0].toStdString();
    EXPECT_TRUE(
        logged[0].contains(QStringLiteral("No such file or directory"), Qt::CaseInsensitive))
        << logged[0].toStdString();
}

TEST(VelderCommPorts, SettingsReadBackUnchangedAndBadOnesDoNotOpen)
{
    PtyPair line;
    ASSERT_TRUE(line.ok());
    PortDir env(line.dir());
    Velder_Comm comm;
    comm.setCom_Port("COM1");
    comm.setCom_Speed("19200");
    comm.setCom_Databit("8");
    comm.setCom_Stopbit("2");
    comm.setCom_Parity("NONE");
    EXPECT_EQ(comm.Com_Port(), "COM1");
    EXPECT_EQ(comm.Com_Speed(), "19200");
    EXPECT_EQ(comm.Com_Databit(), "8");
    EXPECT_EQ(comm.Com_Stopbit(), "2");
    EXPECT_EQ(comm.Com_Parity(), "NONE");
    comm.setCom_TimeOut(400);
    EXPECT_EQ(comm.Com_TimeOut(), 400);
    comm.setCom_Protocol(3);
    EXPECT_EQ(comm.Com_Protocol(), 3);

    for (auto bad :
         {std::pair{"speed", "fast"}, {"databit", "9"}, {"stopbit", "1.5"}, {"parity", "MARK"}}) {
        SCOPED_TRACE(bad.first);
        Velder_Comm c;
        c.setCom_Port("COM1");
        const QString v = QString::fromLatin1(bad.second);
        if (bad.first == std::string("speed"))
            c.setCom_Speed(v);
        else if (bad.first == std::string("databit"))
            c.setCom_Databit(v);
        else if (bad.first == std::string("stopbit"))
            c.setCom_Stopbit(v);
        else
            c.setCom_Parity(v);
        EXPECT_FALSE(c.Com_Open());
    }
}

speed_t lineSpeed(const QString& path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    tcgetattr(fd, &t);
    ::close(fd);
    return cfgetospeed(&t);
}

TEST(VelderCommPorts, OpenIsIdempotentAndASettingChangeReopens)
{
    PtyPair line;
    ASSERT_TRUE(line.ok());
    PortDir env(line.dir());
    Velder_Comm comm;
    comm.Com_Close(); // harmless while closed
    comm.setCom_Port("COM1");
    EXPECT_TRUE(comm.Com_Open());
    EXPECT_TRUE(comm.Com_Open());
    EXPECT_TRUE(comm.isOpen());
    EXPECT_EQ(lineSpeed(line.programSide()), B9600);
    comm.setCom_Speed("19200");
    EXPECT_TRUE(comm.isOpen());
    EXPECT_EQ(lineSpeed(line.programSide()), B19200);
    comm.setCom_Port("COM5"); // absent: the reopen fails and the port stays closed
    EXPECT_FALSE(comm.isOpen());
    comm.setCom_Port("COM1");
    EXPECT_FALSE(comm.isOpen()); // a closed port is not opened by a setting
    EXPECT_TRUE(comm.Com_Open());
    comm.Com_Close();
    EXPECT_FALSE(comm.isOpen());
    comm.Com_Close();
}

} // namespace
