// The real program downloading into a controller that stops answering: the window keeps answering
// the operator's side (here the automation socket) while the program waits on the dead line.
#include "program_driver.h"
#include "sim_control.h"

#include "model/string_table.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace {

QString S(int id)
{
    return qmx::LoadResString(id, qmx::Language::English);
}

QString text(const QJsonObject& widgets, const char* path)
{
    return widgets.value(QLatin1String(path)).toObject().value("text").toString();
}

bool within(int ms, const std::function<bool()>& done)
{
    for (QDeadlineTimer deadline(ms); !done(); QThread::msleep(50))
        if (deadline.hasExpired())
            return false;
    return true;
}

TEST(ProgramDownload, TheWindowAnswersWithinASecondWhileTheLineIsDead)
{
    SimControl sim({QStringLiteral("--preset"), QStringLiteral("demo")});
    ASSERT_TRUE(sim.ready());
    qputenv("QMX_PORT_DIR", sim.portDir().toUtf8());
    ProgramRun program;
    program.start();
    ASSERT_TRUE(program.waitReady());
    ASSERT_TRUE(program.waitDump(
        [](const QJsonObject& w) { return text(w, "MainDisp/Lbl_comm(0)") == u"COM1"; }, 20000));
    program.command(QStringLiteral("click MainDisp/Cmd_ONOFF"));
    ASSERT_TRUE(program.waitDump([](const QJsonObject& w) {
        return text(w, "MainDisp/Label2") == S(74) && text(w, "MainDisp/Text_SV(0)") == u"150";
    }));
    sim.mark();
    program.command(QStringLiteral("trigger MainDisp/mnuDownload"));
    ASSERT_TRUE(within(
        10000, [&] { return program.command(QStringLiteral("answer Yes")).value("ok").toBool(); }));
    // The controller goes silent once the download has begun.
    ASSERT_TRUE(within(10000, [&] { return sim.requests().contains("50 0070 0001"); }));
    sim.control({{"cmd", "set"}, {"port", "COM1"}, {"silent", true}});

    QElapsedTimer dead;
    qint64 slowest = 0;
    for (dead.start(); dead.elapsed() < 5000; QThread::msleep(200)) {
        QElapsedTimer asked;
        asked.start();
        EXPECT_TRUE(program.command(QStringLiteral("dump"), 5000).contains("widgets"));
        slowest = std::max(slowest, asked.elapsed());
        program.command(QStringLiteral("answer OK")); // the failure box, when it comes
    }
    sim.control({{"cmd", "set"}, {"port", "COM1"}, {"silent", false}});
    EXPECT_LT(slowest, 1000);

    // The download goes on to its end (its failure box is counted by the transfer tests).
    ASSERT_TRUE(within(30000, [&] {
        program.command(QStringLiteral("answer OK"));
        return program.widget("MainDisp/Frame4").value("visible") == false;
    }));
    program.command(QStringLiteral("quit"));
    EXPECT_TRUE(program.waitFinished());
    qunsetenv("QMX_PORT_DIR");
}

} // namespace
