// Modbus ASCII and RTU against an independent implementation: pymodbus serving holding registers on
// the far end of a pseudo-terminal pair. Reads, writes and an exception must all come through our
// framing, checks and reply texts unchanged.
#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "fake_host.h"
#include "pty_line.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const char* kPython = "/usr/bin/python3";

class PymodbusPeer : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(kPython))
            GTEST_SKIP() << "no system Python";
        QProcess probe;
        probe.start(kPython, {"-c", "import pymodbus"});
        probe.waitForFinished(20000);
        if (probe.exitCode() != 0)
            GTEST_SKIP() << "pymodbus is not installed";
        ASSERT_TRUE(line.ok());
        const bool rtu = GetParam() == 3;
        server.setProgram(kPython);
        server.setArguments({QStringLiteral(QMX_SOURCE_DIR "/tests/comm/modbus_peer.py"), "--port",
                             line.peerSide(), "--framer", rtu ? "rtu" : "ascii"});
        server.setProcessChannelMode(QProcess::SeparateChannels);
        server.start();
        ASSERT_TRUE(server.waitForStarted(5000));
        QByteArray out;
        while (!out.contains("READY") && server.waitForReadyRead(20000))
            out += server.readAllStandardOutput();
        ASSERT_TRUE(out.contains("READY")) << server.readAllStandardError().toStdString();

        comm.setDeviceOverride(line.programSide());
        comm.setCom_Databit(rtu ? "8" : "7");
        comm.setCom_Parity(rtu ? "NONE" : "EVEN");
        comm.setCom_Protocol(GetParam());
        comm.setCom_TimeOut(1000); // an interpreter on the far end: generous, not the point here
        ASSERT_TRUE(comm.Com_Open());
    }
    void TearDown() override
    {
        if (server.state() != QProcess::NotRunning) {
            server.terminate();
            if (!server.waitForFinished(3000))
                server.kill();
            server.waitForFinished(3000);
        }
    }

    testline::PtyPair line;
    QProcess server;
    qmx::Velder_Comm comm;
};

TEST_P(PymodbusPeer, ReadOneRegister)
{
    const QString reply = comm.Com_Send("01", "", "03", "00800001", "", 3);
    EXPECT_EQ(reply, ":0103020180");
    EXPECT_EQ(comm.Com_GetData(reply, 1), "0180");
}

TEST_P(PymodbusPeer, WriteThenReadBack)
{
    const QString written = comm.Com_Send("01", "", "06", "0000", "8217", 3);
    EXPECT_EQ(written, ":010600008217");
    EXPECT_EQ(comm.Com_GetData(written, 1), "8217");
    EXPECT_EQ(comm.Com_Send("01", "", "03", "00000001", "", 3), ":0103028217");
    EXPECT_EQ(comm.Com_Send("01", "", "06", "0044", "FFFF", 3), ":01060044FFFF");
    EXPECT_EQ(comm.Com_GetData(comm.Com_Send("01", "", "03", "00440001", "", 3), 1), "FFFF");
}

TEST_P(PymodbusPeer, OutOfRangeIsAnException)
{
    EXPECT_EQ(comm.Com_Send("01", "", "03", "02000001", "", 3), ":018302");
    EXPECT_EQ(comm.Com_Send("01", "", "06", "0200", "0001", 3), ":018602");
    // The link is still in step afterwards.
    EXPECT_EQ(comm.Com_Send("01", "", "03", "00810001", "", 3), ":0103020181");
}

TEST_P(PymodbusPeer, ThroughSendcommAndTheVerdicts)
{
    qmx::QmxData data;
    FakeHost host;
    qmx::Exchange ex(data, comm, host);
    data.Protocol = GetParam() == 3 ? 2 : 1;
    const QString read = ex.Sendcomm("01", "", "03", "0082", "", 3);
    EXPECT_EQ(read, ":0103020182");
    ex.ReadDataSet(read, 2);
    EXPECT_EQ(data.MonVal(2), 0x0182);
    EXPECT_EQ(ex.Sendcomm("01", "", "06", "0038", "0001", 3), ":010600380001");
}

TEST_P(PymodbusPeer, ManyExchangesWithoutAnError)
{
    for (int i = 0; i < 50; ++i) {
        const QString reg = QStringLiteral("%1").arg(i, 4, 16, QChar(u'0')).toUpper();
        ASSERT_EQ(comm.Com_GetData(comm.Com_Send("01", "", "03", reg + "0001", "", 3), 1),
                  QStringLiteral("%1").arg(0x100 + i, 4, 16, QChar(u'0')).toUpper())
            << "exchange " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Framing, PymodbusPeer, ::testing::Values(2, 3),
                         [](const auto& info) { return info.param == 2 ? "Ascii" : "Rtu"; });

} // namespace
