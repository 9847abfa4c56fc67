// The command line and the figures of qmx-bench, without a serial line.
#include "bench_options.h"
#include "bench_report.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

using qmxbench::parseOptions;

QStringList base(const QString& protocol = "rtu", const QString& address = "1")
{
    return {"--device",  "/tmp/x", "--protocol", protocol,
            "--address", address,  "--register", "0000"};
}

TEST(BenchOptions, DefaultsFollowTheProtocol)
{
    auto rtu = parseOptions(base()).options;
    ASSERT_TRUE(rtu);
    EXPECT_EQ(rtu->protocol, 2);
    EXPECT_EQ(rtu->dataBits, "8");
    EXPECT_EQ(rtu->parity, "EVEN");
    EXPECT_EQ(rtu->stopBits, "1");
    EXPECT_EQ(rtu->speed, "9600");
    EXPECT_EQ(rtu->count, 100);
    EXPECT_EQ(rtu->timeoutMs, 300);
    EXPECT_FALSE(rtu->writing());

    auto maker = parseOptions(base("maker", "0")).options;
    ASSERT_TRUE(maker);
    EXPECT_EQ(maker->protocol, 0);
    EXPECT_EQ(maker->dataBits, "7");
    EXPECT_EQ(maker->parity, "EVEN");
    auto ascii = parseOptions(base("ascii")).options;
    ASSERT_TRUE(ascii);
    EXPECT_EQ(ascii->protocol, 1);
    EXPECT_EQ(ascii->dataBits, "7");
}

TEST(BenchOptions, EveryOptionIsTaken)
{
    auto args = base();
    args << "--count"
         << "50"
         << "--speed"
         << "19200"
         << "--databits"
         << "8"
         << "--parity"
         << "none"
         << "--stopbits"
         << "2"
         << "--timeout"
         << "150"
         << "--write"
         << "82ab"
         << "--register"
         << "00a0";
    const auto o = parseOptions(args).options;
    ASSERT_TRUE(o);
    EXPECT_EQ(o->count, 50);
    EXPECT_EQ(o->speed, "19200");
    EXPECT_EQ(o->parity, "NONE");
    EXPECT_EQ(o->stopBits, "2");
    EXPECT_EQ(o->timeoutMs, 150);
    ASSERT_TRUE(o->writing());
    EXPECT_EQ(*o->writeValue, "82AB");
    EXPECT_EQ(o->registerCode, "00A0");
}

TEST(BenchOptions, RefusesWhatCannotBeMeant)
{
    const auto refused = [](const QStringList& args) {
        const auto r = parseOptions(args);
        return !r.options && !r.help && !r.error.isEmpty();
    };
    EXPECT_TRUE(refused({"--protocol", "rtu", "--address", "1", "--register", "0000"}));
    EXPECT_TRUE(refused(base() << "--register"
                               << "80"));
    EXPECT_TRUE(refused(base() << "--register"
                               << "0x80"));
    EXPECT_TRUE(refused(base() << "--write"
                               << "100"));
    EXPECT_TRUE(refused(base() << "--count"
                               << "0"));
    EXPECT_TRUE(refused(base() << "--count"
                               << "-5"));
    EXPECT_TRUE(refused(base() << "--parity"
                               << "mark"));
    EXPECT_TRUE(refused(base() << "--databits"
                               << "7")); // RTU carries whole bytes
    EXPECT_TRUE(refused(base() << "--timeout"));
    EXPECT_TRUE(refused(base() << "--bogus"
                               << "1"));
    EXPECT_TRUE(refused(base("xmodem")));
    EXPECT_TRUE(refused(base("rtu", "96")));
    EXPECT_TRUE(refused(base("rtu", "1.5")));
    // Global addresses are never answered.
    EXPECT_TRUE(refused(base("rtu", "0")));
    EXPECT_TRUE(refused(base("maker", "95")));
    EXPECT_TRUE(parseOptions(base("maker", "0")).options);
    EXPECT_TRUE(parseOptions({"--help"}).help);
}

TEST(BenchReport, MedianAndNearestRankP99)
{
    std::vector<double> v;
    for (int i = 100; i >= 1; --i)
        v.push_back(i);
    const auto r = qmxbench::summarize(v);
    EXPECT_DOUBLE_EQ(r.medianMs, 50.5);
    EXPECT_DOUBLE_EQ(r.p99Ms, 99);
    EXPECT_DOUBLE_EQ(r.maxMs, 100);

    const auto odd = qmxbench::summarize({3, 1, 2});
    EXPECT_DOUBLE_EQ(odd.medianMs, 2);
    EXPECT_DOUBLE_EQ(odd.p99Ms, 3);
    const auto one = qmxbench::summarize({7});
    EXPECT_DOUBLE_EQ(one.p99Ms, 7);
    EXPECT_DOUBLE_EQ(qmxbench::summarize({}).maxMs, 0);
}

TEST(BenchReport, OneLineOfValidJson)
{
    qmxbench::Report r;
    r.device = "/tmp/a \"b\"";
    r.protocol = "rtu";
    r.count = 4;
    r.errors = 1;
    r.noAnswer = 1;
    r.elapsedS = 2;
    r.cpuUs = 100;
    r.speed = 9600;
    r.requestBytes = 8;
    r.replyBytes = 7;
    r.bitsPerChar = 11;
    r.roundTrips = qmxbench::summarize({1, 2, 3, 4});
    const QByteArray line = qmxbench::toJson(r);
    EXPECT_FALSE(line.contains('\n'));
    QJsonParseError err;
    const QJsonObject o = QJsonDocument::fromJson(line, &err).object();
    ASSERT_EQ(err.error, QJsonParseError::NoError) << line.constData();
    EXPECT_EQ(o["count"].toInt(), 4);
    EXPECT_EQ(o["errors"].toInt(), 1);
    EXPECT_DOUBLE_EQ(o["median_ms"].toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(o["p99_ms"].toDouble(), 4);
    EXPECT_DOUBLE_EQ(o["max_ms"].toDouble(), 4);
    EXPECT_DOUBLE_EQ(o["per_second"].toDouble(), 2);
    EXPECT_DOUBLE_EQ(o["cpu_us_per_exchange"].toDouble(), 25);
    EXPECT_NEAR(o["wire_ms"].toDouble(), 15 * 11 * 1000.0 / 9600, 0.001);
    EXPECT_EQ(o["device"].toString(), "/tmp/a \"b\"");
}

} // namespace
