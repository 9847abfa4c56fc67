// Whole qmx-bench runs: against the simulated controller in the maker's protocol, and against
// pymodbus as a standard Modbus RTU slave on a socat pty pair. Only the counts are checked: timing
// on a shared test machine proves nothing.
#include "pty_line.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char* kPython = "/usr/bin/python3";

struct BenchRun {
    int exitCode = -1;
    QJsonObject json;
    QByteArray out;
    QByteArray err;
};

BenchRun runBench(const QStringList& args)
{
    BenchRun r;
    QProcess bench;
    bench.start(QStringLiteral(QMX_BENCH_BINARY), args);
    if (!bench.waitForStarted(5000) || !bench.waitForFinished(120000)) {
        bench.kill();
        bench.waitForFinished(3000);
        return r;
    }
    r.exitCode = bench.exitStatus() == QProcess::NormalExit ? bench.exitCode() : -1;
    r.out = bench.readAllStandardOutput();
    r.err = bench.readAllStandardError();
    r.json = QJsonDocument::fromJson(r.out.trimmed()).object();
    return r;
}

// Waits for a child's READY line; false when it ended or stayed quiet.
bool waitReady(QProcess& p)
{
    QByteArray out;
    while (!out.contains("READY") && p.waitForReadyRead(20000))
        out += p.readAllStandardOutput();
    return out.contains("READY");
}

void stop(QProcess& p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(3000);
    }
}

class BenchAgainstSim : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sim.start(QStringLiteral(QMX_SIM_BINARY),
                  {"--dir", dir.path(), "--port", "COM1:9600:maker:0", "--port",
                   "COM2:9600:maker:0", "--silent", "COM2"});
        ASSERT_TRUE(sim.waitForStarted(5000));
        ASSERT_TRUE(waitReady(sim)) << sim.readAllStandardError().toStdString();
    }
    void TearDown() override { stop(sim); }
    QString port(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QProcess sim;
};

TEST_F(BenchAgainstSim, MakerReadsWithoutAnError)
{
    const BenchRun r = runBench({"--device", port("COM1"), "--protocol", "maker", "--address", "0",
                                 "--register", "0080", "--count", "30"});
    ASSERT_FALSE(r.json.isEmpty()) << r.out.constData() << r.err.constData();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.json["count"].toInt(), 30);
    EXPECT_EQ(r.json["errors"].toInt(), 0);
    EXPECT_EQ(r.json["protocol"].toString(), "maker");
    EXPECT_EQ(r.json["request_bytes"].toInt(), 11);
    EXPECT_EQ(r.json["reply_bytes"].toInt(), 15);
    for (const char* key : {"median_ms", "p99_ms", "max_ms", "per_second", "cpu_us_per_exchange"})
        EXPECT_TRUE(r.json[key].isDouble()) << key;
    EXPECT_LE(r.json["median_ms"].toDouble(), r.json["p99_ms"].toDouble());
    EXPECT_LE(r.json["p99_ms"].toDouble(), r.json["max_ms"].toDouble());
}

TEST_F(BenchAgainstSim, RefusalsAndSilenceAreErrors)
{
    // A write to the read-only PV register is refused with a NAK; the key is not even needed.
    const BenchRun refused =
        runBench({"--device", port("COM1"), "--protocol", "maker", "--address", "0", "--register",
                  "0080", "--count", "3", "--write", "0001"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.json["errors"].toInt(), 3);
    EXPECT_EQ(refused.json["refused"].toInt(), 3);

    const BenchRun silent =
        runBench({"--device", port("COM2"), "--protocol", "maker", "--address", "0", "--register",
                  "0080", "--count", "2", "--timeout", "50"});
    EXPECT_EQ(silent.exitCode, 1);
    EXPECT_EQ(silent.json["count"].toInt(), 2);
    EXPECT_EQ(silent.json["errors"].toInt(), 2);
    EXPECT_EQ(silent.json["no_answer"].toInt(), 2);
}

TEST_F(BenchAgainstSim, AbsentDeviceIsAnErrorWithoutFigures)
{
    const BenchRun r = runBench(
        {"--device", port("COM8"), "--protocol", "maker", "--address", "0", "--register", "0080"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("cannot open"));
}

// Modbus RTU frames are told apart by 3.5 silent characters from the end of a reply to the next
// request, as the controller sees it (its wire log stamps a reply leaving, a request come in).
TEST(BenchAgainstSimRtu, EveryRequestKeepsTheSilentIntervalAfterTheReplyBefore)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("wire.log");
    QProcess sim;
    sim.start(QStringLiteral(QMX_SIM_BINARY),
              {"--dir", dir.path(), "--log", log, "--port", "COM1:9600:rtu:1"});
    ASSERT_TRUE(sim.waitForStarted(5000) && waitReady(sim))
        << sim.readAllStandardError().toStdString();
    const BenchRun r =
        runBench({"--device", dir.filePath("COM1"), "--protocol", "rtu", "--address", "1",
                  "--register", "0080", "--parity", "none", "--speed", "9600", "--count", "30"});
    stop(sim);
    ASSERT_EQ(r.exitCode, 0) << r.out.constData() << r.err.constData();

    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const double t35Ms = 3.5 * 10 * 1000.0 / 9600; // 3.5 characters of 10 bits (8N1)
    double replyLeft = -1;                         // -1: no reply since the last request
    int gaps = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QJsonObject e = QJsonDocument::fromJson(line).object();
        const double t = e["t"].toDouble() * 1000.0;
        if (e["dir"] == "tx") {
            replyLeft = t;
        } else if (e["dir"] == "rx" && e.contains("cmd") && replyLeft >= 0) {
            ++gaps;
            EXPECT_GE(t - replyLeft, t35Ms) << "a request came " << t - replyLeft << " ms after";
            replyLeft = -1;
        }
    }
    EXPECT_EQ(gaps, 29);
}

TEST(BenchAgainstPymodbus, RtuReadsWithoutAnError)
{
    if (!QFileInfo::exists(kPython))
        GTEST_SKIP() << "no system Python";
    QProcess probe;
    probe.start(kPython, {"-c", "import pymodbus"});
    probe.waitForFinished(20000);
    if (probe.exitCode() != 0)
        GTEST_SKIP() << "pymodbus is not installed";

    testline::PtyPair line;
    ASSERT_TRUE(line.ok());
    QProcess server;
    server.setProgram(kPython);
    server.setArguments({QStringLiteral(QMX_SOURCE_DIR "/tests/comm/modbus_peer.py"), "--port",
                         line.peerSide(), "--framer", "rtu", "--unit", "1"});
    server.start();
    ASSERT_TRUE(server.waitForStarted(5000));
    ASSERT_TRUE(waitReady(server)) << server.readAllStandardError().toStdString();

    const BenchRun r = runBench({"--device", line.programSide(), "--protocol", "rtu", "--address",
                                 "1", "--register", "0000", "--count", "50"});
    stop(server);
    ASSERT_FALSE(r.json.isEmpty()) << r.out.constData() << r.err.constData();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.json["count"].toInt(), 50);
    EXPECT_EQ(r.json["errors"].toInt(), 0);
    EXPECT_EQ(r.json["request_bytes"].toInt(), 8);
    EXPECT_EQ(r.json["reply_bytes"].toInt(), 7);
}

} // namespace
