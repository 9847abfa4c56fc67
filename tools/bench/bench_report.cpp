#include "bench_report.h"

#include <algorithm>
#include <cmath>

namespace qmxbench {

namespace {

// Fixed decimals keep the line short and stable to compare by eye; JSON numbers cannot be NaN.
QByteArray number(double v, int decimals)
{
    if (!std::isfinite(v))
        v = 0;
    return QByteArray::number(v, 'f', decimals);
}

QByteArray text(const QString& s)
{
    QByteArray out = "\"";
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u < 0x20) {
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QChar(u'0')).toLatin1();
        } else {
            out += QString(c).toUtf8();
        }
    }
    return out + "\"";
}

} // namespace

RoundTrips summarize(std::vector<double> ms)
{
    RoundTrips r;
    if (ms.empty())
        return r;
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    r.medianMs = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    const size_t rank = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(n)));
    r.p99Ms = ms[std::clamp<size_t>(rank, 1, n) - 1];
    r.maxMs = ms.back();
    return r;
}

QByteArray toJson(const Report& r)
{
    QByteArray j = "{";
    const auto field = [&j](const char* name, const QByteArray& value) {
        if (j.size() > 1)
            j += ',';
        j += '"';
        j += name;
        j += "\":";
        j += value;
    };
    field("count", QByteArray::number(r.count));
    field("errors", QByteArray::number(r.errors));
    field("median_ms", number(r.roundTrips.medianMs, 3));
    field("p99_ms", number(r.roundTrips.p99Ms, 3));
    field("max_ms", number(r.roundTrips.maxMs, 3));
    field("per_second", number(r.perSecond(), 1));
    field("cpu_us_per_exchange", number(r.cpuUsPerExchange(), 1));
    field("no_answer", QByteArray::number(r.noAnswer));
    field("refused", QByteArray::number(r.refused));
    field("elapsed_s", number(r.elapsedS, 3));
    field("wire_ms", number(r.wireMs(), 3));
    field("wire_per_second", number(r.wireMs() > 0 ? 1000.0 / r.wireMs() : 0, 1));
    field("request_bytes", QByteArray::number(r.requestBytes));
    field("reply_bytes", QByteArray::number(r.replyBytes));
    field("bits_per_char", QByteArray::number(r.bitsPerChar));
    field("protocol", text(r.protocol));
    field("operation", text(r.operation));
    field("device", text(r.device));
    field("address", QByteArray::number(r.address));
    field("register", text(r.registerCode));
    field("speed", QByteArray::number(r.speed));
    field("line", text(r.line));
    field("timeout_ms", QByteArray::number(r.timeoutMs));
    return j + "}";
}

} // namespace qmxbench
