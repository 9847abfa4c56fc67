// The real program downloading into a controller that stops answering: the window keeps answering
// the operator's side (here the automation socket) while the program waits on the dead line, and
// the failed download is told once.
#include "program_driver.h"
#include "sim_control.h"

#include "model/string_table.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonObject>
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
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
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
    dead.start();
    qint64 slowest = 0;
    int dumps = 0;
    while (dead.elapsed() < 5000) {
        QElapsedTimer asked;
        asked.start();
        const QJsonObject reply = program.command(QStringLiteral("dump"), 5000);
        slowest = std::max(slowest, asked.elapsed());
        EXPECT_TRUE(reply.contains("widgets")) << "no answer to dump " << dumps;
        ++dumps;
        // The operator closes the failure box when it comes.
        program.command(QStringLiteral("answer OK"));
        QThread::msleep(200);
    }
    sim.control({{"cmd", "set"}, {"port", "COM1"}, {"silent", false}});
    EXPECT_LT(slowest, 1000) << "the slowest of " << dumps << " dumps";

    // The download goes on to its end; its failure was told once.
    const QString failure = S(382) + QLatin1Char('\n') + S(383);
    auto told = [&] {
        int n = 0;
        for (const QJsonObject& o : program.msgLog())
            n += o.value("text").toString() == failure;
        return n;
    };
    ASSERT_TRUE(within(30000, [&] {
        program.command(QStringLiteral("answer OK"));
        const QJsonObject w = program.dump();
        return told() >= 1 && w.value("MainDisp/Frame4").toObject().value("visible") == false;
    }));
    EXPECT_EQ(told(), 1);
    program.command(QStringLiteral("quit"));
    EXPECT_TRUE(program.waitFinished());
    qunsetenv("QMX_PORT_DIR");
}

} // namespace
