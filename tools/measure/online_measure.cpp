// Not a test: measures online work against the simulated controller and prints one JSON line per
// measure, beside the time the bytes alone take on the wire.
//   qmx_online_measure [--speed 9600|19200] [--instant] [--cycles N] [--cpu-seconds S]
//                      [--protocol maker|rtu] [--transfers N]
// --instant leaves the controller answering at once (no emulated line speed). --protocol is the
// protocol the controller is set to (online the link speaks the maker's protocol either way).
// --transfers repeats the full upload and the full download, each measured against its floor:
// the simulator's own answer times (request in to reply out, from its wire log) plus the 100 ms
// pause the transfers make before their items.
#include "sim_control.h"

#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/main/main_disp.h"
#include "ui/ui_seam.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop (sleeping while nothing is due, as the program does) until `done` holds,
// looking every millisecond, or until `ms` have passed.
bool runUntil(const std::function<bool()>& done, int ms)
{
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.setTimerType(Qt::PreciseTimer);
    look.start(1);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

// Bytes both ways in the wire-log entries [from, end), and the frames among them.
struct WireBytes {
    qint64 bytes = 0;
    int requests = 0;
};

WireBytes wireBytes(const QList<QJsonObject>& log, qsizetype from)
{
    WireBytes w;
    for (qsizetype i = from; i < log.size(); ++i) {
        const QString hex = log[i].value("hex").toString();
        w.bytes += hex.size() / 2;
        if (log[i].value("dir").toString() == QLatin1String("rx") && log[i].contains("cmd"))
            ++w.requests;
    }
    return w;
}

// The controller's share of the entries [from, end): from each request's arrival to its reply; and
// the program's: from each reply to the next request (the median of those gaps, and the longest,
// which holds the transfer's 100 ms pause).
struct Turns {
    double answerMs = 0;
    double medianGapMs = 0;
    double longestGapMs = 0;
};

Turns turns(const QList<QJsonObject>& log, qsizetype from)
{
    Turns t;
    double asked = -1;
    double answered = -1;
    QList<double> gaps;
    for (qsizetype i = from; i < log.size(); ++i) {
        const QString dir = log[i].value("dir").toString();
        const double at = log[i].value("t").toDouble() * 1000.0;
        if (dir == QLatin1String("rx") && log[i].contains("cmd")) {
            asked = at;
            if (answered >= 0)
                gaps << at - answered;
        } else if (dir == QLatin1String("tx") && asked >= 0) {
            t.answerMs += at - asked;
            answered = at;
            asked = -1;
        }
    }
    std::sort(gaps.begin(), gaps.end());
    t.medianGapMs = gaps.isEmpty() ? 0 : gaps[gaps.size() / 2];
    t.longestGapMs = gaps.isEmpty() ? 0 : gaps.last();
    return t;
}

void print(QJsonObject o)
{
    std::printf("%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VELDER BRANTIS"));
    QApplication::setApplicationName(QStringLiteral("DFX-QMX07K"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    const QStringList args = app.arguments();
    auto option = [&](const char* name, int def) {
        const int i = int(args.indexOf(QLatin1String(name)));
        return i > 0 && i + 1 < args.size() ? args.at(i + 1).toInt() : def;
    };
    const int speed = option("--speed", 9600);
    const int cycles = option("--cycles", 3);
    const int cpuSpan = option("--cpu-seconds", 20);
    const int transfers = option("--transfers", 1);
    const bool instant = args.contains(QStringLiteral("--instant"));
    const int pi = int(args.indexOf(QLatin1String("--protocol")));
    const bool rtu = pi > 0 && pi + 1 < args.size() && args.at(pi + 1) == QLatin1String("rtu");
    const double bitsPerChar = 10.0; // 7E1 and 8N1 alike
    const double msPerByte = 1000.0 * bitsPerChar / speed;

    QStringList simArgs{QStringLiteral("--port"),
                        QStringLiteral("COM1:%1:%2:0:1364").arg(speed).arg(rtu ? "rtu" : "maker")};
    if (!instant)
        simArgs << QStringLiteral("--emulate-baud");
    SimControl sim(simArgs);
    if (!sim.ready())
        return 2;
    QTemporaryDir home;
    qputenv("QMX_PORT_DIR", sim.portDir().toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("config"));
    qputenv("QMX_ANSWERS", home.filePath(QStringLiteral("none")).toUtf8());
    qmx::setUiLanguage(qmx::Language::English);
    qmx::prepareFolders(qmx::programFolder());
    {
        const auto s = qmx::openSettings();
        s->setValue(QStringLiteral("Speed"), QString::number(speed));
        if (rtu) {
            s->setValue(QStringLiteral("Protocol"), QStringLiteral("2"));
            s->setValue(QStringLiteral("Databit"), QStringLiteral("8"));
            s->setValue(QStringLiteral("Parity"), QStringLiteral("NONE"));
        }
    }

    qmx::QmxData d;
    d.Set_Defaults();
    qmx::MainDisp w(d);
    w.system_init();
    w.show();
    d.Make_CommNoTbl2();
    d.CommSetOK = true;
    d.ScreenSet = true;
    d.DataValid = true;
    sim.control({{"cmd", "set"}, {"port", "COM1"}, {"option1", 0x24}});
    w.Cmd_ONOFF_Click();
    if (!d.OnLine)
        return 3;

    // Monitoring cycles: from one pass of step 0 to the next.
    runUntil([&] { return d.MonStep == 0; }, 20000);
    runUntil([&] { return d.MonStep == 1; }, 20000);
    qsizetype from = sim.wire().size();
    QElapsedTimer clock;
    clock.start();
    for (int c = 0; c < cycles; ++c) {
        runUntil([&] { return d.MonStep == 0; }, 20000);
        runUntil([&] { return d.MonStep == 1; }, 20000);
    }
    const double cycleMs = double(clock.nsecsElapsed()) / 1e6 / cycles;
    WireBytes mon = wireBytes(sim.wire(), from);
    print({{"measure", "monitoring cycle"},
           {"speed", speed},
           {"emulated_line", !instant},
           {"cycle_ms", qRound(cycleMs * 10) / 10.0},
           {"reads_per_second", qRound(64000.0 / cycleMs * 10) / 10.0},
           {"wire_ms", qRound(double(mon.bytes) / cycles * msPerByte * 10) / 10.0},
           {"tick_limit_ms", 64 * w.Timer1.interval()},
           {"requests_per_cycle", mon.requests / cycles}});

    // CPU while monitoring.
    const double cpu0 = cpuSeconds();
    clock.restart();
    {
        QEventLoop loop;
        QTimer::singleShot(cpuSpan * 1000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const double cpu = cpuSeconds() - cpu0;
    const double cpuShare = cpu / (clock.elapsed() / 1000.0);
    print({{"measure", "cpu while monitoring"},
           {"speed", speed},
           {"emulated_line", !instant},
           {"seconds", qRound(clock.elapsed() / 100.0) / 10.0},
           {"cpu_percent_of_one_core", qRound(cpuShare * 1000) / 10.0}});

    // The floor: the same reads at the same pace with the scheduler stopped, so nothing on the
    // screen changes: the exchanges alone.
    w.Timer1.stop();
    runUntil([] { return false; }, 200);
    {
        QTimer alone;
        alone.setInterval(w.Timer1.interval());
        QObject::connect(&alone, &QTimer::timeout, [&] {
            w.Sendcomm(d.strAdr, QString(), QStringLiteral("03"), d.CommNoTbl(0), QString(), 3);
        });
        const double floor0 = cpuSeconds();
        clock.restart();
        alone.start();
        QEventLoop loop;
        QTimer::singleShot(cpuSpan * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double floorShare = (cpuSeconds() - floor0) / (clock.elapsed() / 1000.0);
        print({{"measure", "cpu of the exchanges alone"},
               {"speed", speed},
               {"emulated_line", !instant},
               {"seconds", qRound(clock.elapsed() / 100.0) / 10.0},
               {"cpu_percent_of_one_core", qRound(floorShare * 1000) / 10.0},
               {"monitoring_over_floor", qRound(cpuShare / floorShare * 10) / 10.0}});
    }

    // Full uploads, as the scheduler runs them, and full downloads of the screen data.
    w.Timer1.stop();
    runUntil([] { return false; }, 200);
    for (int n = 0; n < transfers * 2; ++n) {
        const bool upload = n % 2 == 0;
        from = sim.wire().size();
        clock.restart();
        if (upload) {
            w.requestComMode(4);
            w.Timer1_Timer();
        } else {
            w.Write_AllPara();
        }
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        const QList<QJsonObject> log = sim.wire();
        const WireBytes bytes = wireBytes(log, from);
        const Turns turn = turns(log, from);
        const double floorMs = turn.answerMs + 100.0;
        print({{"measure", upload ? "full upload" : "full download"},
               {"speed", speed},
               {"protocol", rtu ? "rtu" : "maker"},
               {"emulated_line", !instant},
               {upload ? "upload_ms" : "download_ms", qRound(ms)},
               {"floor_ms", qRound(floorMs * 10) / 10.0},
               {"ratio", qRound(ms / floorMs * 1000) / 1000.0},
               {"median_reply_to_request_ms", qRound(turn.medianGapMs * 1000) / 1000.0},
               {"longest_reply_to_request_ms", qRound(turn.longestGapMs * 1000) / 1000.0},
               {"wire_ms", qRound(double(bytes.bytes) * msPerByte)},
               {"requests", bytes.requests},
               {"bytes", bytes.bytes}});
        runUntil([] { return false; }, 200);
    }
    // After a slow step the poll keeps its pace: the first read comes a whole tick after the
    // upload, and the ones after it a tick apart, with no burst to catch up.
    w.Timer1.start();
    from = sim.wire().size();
    w.requestComMode(4);
    runUntil([&] { return d.ComMode == 1; }, 20000);
    runUntil([] { return false; }, 400);
    const QList<QJsonObject> log = sim.wire();
    double uploadEnd = 0;
    QList<double> reads;
    for (qsizetype i = from; i < log.size(); ++i) {
        const QJsonObject& e = log[i];
        if (e.value("dir").toString() == QLatin1String("tx") &&
            e.value("reg").toString() == QLatin1String("004A"))
            uploadEnd = e.value("t").toDouble();
        else if (uploadEnd > 0 && e.value("dir").toString() == QLatin1String("rx") &&
                 e.contains("cmd"))
            reads << e.value("t").toDouble();
    }
    QJsonArray gaps;
    double previous = uploadEnd;
    for (qsizetype i = 0; i < qMin<qsizetype>(reads.size(), 6); ++i) {
        gaps.append(qRound((reads[i] - previous) * 10000) / 10.0);
        previous = reads[i];
    }
    print({{"measure", "reads after an upload"},
           {"speed", speed},
           {"emulated_line", !instant},
           {"gaps_ms", gaps}});
    w.Timer6.stop();
    return 0;
}
