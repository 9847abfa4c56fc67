// The real program with the demo controller: the operator waits for the connection, presses
// Online, watches the live values move, and presses again to go offline.
#include "program_driver.h"
#include "sim_control.h"

#include "model/string_table.h"

#include <gtest/gtest.h>

#include <QJsonObject>

namespace {

QString S(int id)
{
    return qmx::LoadResString(id, qmx::Language::English);
}

QString text(const QJsonObject& widgets, const char* path)
{
    return widgets.value(QLatin1String(path)).toObject().value("text").toString();
}

TEST(ProgramOnline, OperatorGoesOnlineWatchesTheValuesAndGoesOffline)
{
    SimControl sim({QStringLiteral("--preset"), QStringLiteral("demo")});
    ASSERT_TRUE(sim.ready());
    qputenv("QMX_PORT_DIR", sim.portDir().toUtf8());
    ProgramRun program;
    program.start();
    ASSERT_TRUE(program.waitReady());
    // The first connection at start-up finds the controller and shows its settings.
    ASSERT_TRUE(program.waitDump(
        [](const QJsonObject& w) { return text(w, "MainDisp/Lbl_comm(0)") == u"COM1"; }, 20000));
    sim.mark();

    program.command(QStringLiteral("click MainDisp/Cmd_ONOFF"));
    QString firstPv;
    ASSERT_TRUE(program.waitDump([&](const QJsonObject& w) {
        firstPv = text(w, "MainDisp/Text_PV");
        return text(w, "MainDisp/Label2") == S(74) && !firstPv.isEmpty();
    }));
    const QJsonObject online = program.dump();
    EXPECT_EQ(text(online, "MainDisp/Cmd_ONOFF"), S(75));
    EXPECT_EQ(text(online, "MainDisp/Label4"), S(162));
    EXPECT_TRUE(program.waitDump(
        [](const QJsonObject& w) { return text(w, "MainDisp/Text_SV(0)") == u"150"; }));
    // The demo controller heats: PV moves while the operator watches.
    EXPECT_TRUE(program.waitDump(
        [&](const QJsonObject& w) { return text(w, "MainDisp/Text_PV") != firstPv; }, 15000));
    const QStringList reads = sim.requests();
    for (const char* reg : {"20 0080", "20 0085", "20 0083", "20 0081"})
        EXPECT_TRUE(reads.contains(QLatin1String(reg))) << reg;

    program.command(QStringLiteral("click MainDisp/Cmd_ONOFF"));
    ASSERT_TRUE(
        program.waitDump([](const QJsonObject& w) { return text(w, "MainDisp/Label2") == S(75); }));
    EXPECT_EQ(sim.requests().last(), QStringLiteral("50 0000 0000"));
    program.command(QStringLiteral("quit"));
    EXPECT_TRUE(program.waitFinished());
    qunsetenv("QMX_PORT_DIR");
}

} // namespace
