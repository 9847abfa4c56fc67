// qmx-bench: times read (or write) exchanges against any serial device through the program's own
// exchange path, Sendcomm over Velder_Comm, so the figures are those the program gets, and the same
// device can be driven by another Modbus client for comparison.
#include "bench_options.h"
#include "bench_report.h"

#include "comm/exchange.h"
#include "comm/frame_codec.h"
#include "comm/line_settings.h"
#include "comm/reply_verdict.h"
#include "comm/velder_comm.h"
#include "model/qmx_data.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace {

// Sendcomm touches the window only around special commands, which a benchmark never sends.
class QuietHost : public qmx::ExchangeHost {
public:
    void setStatusPanel(int, const QString&) override {}
    void messageBox(const QString&, Icon, const QString&) override {}
    void beep() override {}
    void showCommError() override {}
    void showBusyNotice(bool) override {}
    void processEvents() override { QCoreApplication::processEvents(); }
};

double cpuUsNow()
{
    rusage ru{};
    ::getrusage(RUSAGE_SELF, &ru);
    const auto us = [](const timeval& t) {
        return t.tv_sec * 1e6 + static_cast<double>(t.tv_usec);
    };
    return us(ru.ru_utime) + us(ru.ru_stime);
}

// Bytes of the request and of its accepted reply, for the line's own limit. The frame is built as
// Sendcomm would map it, but only to be measured: the exchanges themselves go through Sendcomm.
void frameSizes(const qmxbench::Options& o, int& requestBytes, int& replyBytes)
{
    std::optional<qmx::frame::Request> req;
    if (o.protocol == 0) {
        req = qmx::frame::buildRequest(qmx::frame::kComMaker, QString(QChar(0x20 + o.address)),
                                       QStringLiteral(" "),
                                       o.writing() ? QStringLiteral("P") : QStringLiteral(" "),
                                       o.registerCode, o.writeValue.value_or(QString()));
    } else {
        const QString address = QStringLiteral("%1").arg(o.address, 2, 16, QChar(u'0')).toUpper();
        req = qmx::frame::buildRequest(
            o.protocol == 1 ? qmx::frame::kComModbusAscii : qmx::frame::kComModbusRtu, address,
            QString(), o.writing() ? QStringLiteral("06") : QStringLiteral("03"),
            o.writing() ? o.registerCode : o.registerCode + QStringLiteral("0001"),
            o.writeValue.value_or(QString()));
    }
    requestBytes = req ? static_cast<int>(req->wire.size()) : 0;
    replyBytes = req ? req->maxReplyLength : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    const qmxbench::ParseResult parsed = qmxbench::parseOptions(args);
    if (parsed.help) {
        std::fputs(qPrintable(qmxbench::usage()), stdout);
        return 0;
    }
    if (!parsed.options) {
        std::fprintf(stderr, "qmx-bench: %s\n%s", qPrintable(parsed.error),
                     qPrintable(qmxbench::usage()));
        return 2;
    }
    const qmxbench::Options& o = *parsed.options;

    qmx::Velder_Comm comm;
    comm.setDeviceOverride(o.device);
    comm.setCom_Speed(o.speed);
    comm.setCom_Databit(o.dataBits);
    comm.setCom_Parity(o.parity);
    comm.setCom_Stopbit(o.stopBits);
    comm.setCom_TimeOut(o.timeoutMs);
    if (!comm.Com_Open()) {
        std::fprintf(stderr, "qmx-bench: cannot open %s\n", qPrintable(o.device));
        return 2;
    }

    qmx::QmxData data;
    data.Protocol = o.protocol;
    QuietHost host;
    qmx::Exchange exchange(data, comm, host);

    const QString stAdr = QString::number(o.address);
    const QString function = o.writing() ? QStringLiteral("06") : QStringLiteral("03");
    const QString value = o.writeValue.value_or(QString());
    // The count the program passes for every ordinary exchange.
    constexpr int kSends = 3;

    qmxbench::Report r;
    r.device = o.device;
    r.protocol = o.protocolName();
    r.operation = o.writing() ? QStringLiteral("write") : QStringLiteral("read");
    r.address = o.address;
    r.registerCode = o.registerCode;
    r.speed = o.speed.toInt();
    r.line = o.dataBits + o.parity.left(1) + o.stopBits;
    r.timeoutMs = o.timeoutMs;
    const auto settings = qmx::parseLineSettings(o.speed, o.dataBits, o.stopBits, o.parity);
    r.bitsPerChar = settings ? settings->bitsPerChar() : 0;
    frameSizes(o, r.requestBytes, r.replyBytes);

    std::vector<double> roundTrips;
    roundTrips.reserve(static_cast<size_t>(o.count));
    using Clock = std::chrono::steady_clock;
    const double cpuStart = cpuUsNow();
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < o.count; ++i) {
        const Clock::time_point t0 = Clock::now();
        const QString reply =
            exchange.Sendcomm(stAdr, QString(), function, o.registerCode, value, kSends);
        const Clock::time_point t1 = Clock::now();
        roundTrips.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        switch (qmx::judgeReply(o.protocol, reply, function)) {
        case qmx::Verdict::Accepted:
            break;
        case qmx::Verdict::NoAnswer:
            ++r.noAnswer;
            break;
        default:
            ++r.refused;
            break;
        }
    }
    r.elapsedS = std::chrono::duration<double>(Clock::now() - start).count();
    r.cpuUs = cpuUsNow() - cpuStart;
    r.count = o.count;
    r.errors = r.noAnswer + r.refused;
    r.roundTrips = qmxbench::summarize(std::move(roundTrips));

    const QByteArray line = qmxbench::toJson(r) + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
    return r.errors == 0 ? 0 : 1;
}
