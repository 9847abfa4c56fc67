#include "bench_options.h"

#include <QRegularExpression>

namespace qmxbench {

namespace {

// The longest run worth asking for; past it a typo is more likely than an intent.
constexpr int kMaxCount = 10'000'000;
constexpr int kMaxTimeoutMs = 60'000;

bool parseInt(const QString& text, int low, int high, int& out)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return false;
    const int v = text.toInt();
    if (v < low || v > high)
        return false;
    out = v;
    return true;
}

// Registers and values travel as four hex digits everywhere in the program, so the tool takes them
// the same way; a decimal "100" would otherwise silently mean 0x0100.
std::optional<QString> parseHex4(const QString& text)
{
    static const QRegularExpression hex4(QStringLiteral("^[0-9A-Fa-f]{4}$"));
    if (!hex4.match(text).hasMatch())
        return std::nullopt;
    return text.toUpper();
}

} // namespace

QString Options::protocolName() const
{
    switch (protocol) {
    case 1:
        return QStringLiteral("ascii");
    case 2:
        return QStringLiteral("rtu");
    default:
        return QStringLiteral("maker");
    }
}

QString usage()
{
    return QStringLiteral(
        "usage: qmx-bench --device PATH --protocol maker|ascii|rtu --address N --register HHHH\n"
        "                 [--count N] [--speed 9600|19200] [--databits 7|8]\n"
        "                 [--parity even|odd|none] [--stopbits 1|2] [--timeout MS]\n"
        "                 [--write HHHH]\n"
        "Makes COUNT exchanges (reads of one register, or writes of HHHH) through the program's\n"
        "own exchange path and prints one JSON line. Line defaults: 7E1 for maker and ascii,\n"
        "8E1 for rtu; count 100; timeout 300 ms.\n");
}

ParseResult parseOptions(const QStringList& args)
{
    ParseResult result;
    Options o;
    bool haveProtocol = false;
    bool haveAddress = false;
    const auto fail = [&result](const QString& why) {
        result.error = why;
        return result;
    };

    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--help" || a == u"-h") {
            result.help = true;
            return result;
        }
        if (!a.startsWith(u"--"))
            return fail(QStringLiteral("unexpected argument '%1'").arg(a));
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value").arg(a));
        const QString v = args[++i];
        if (a == u"--device") {
            if (v.isEmpty())
                return fail(QStringLiteral("--device needs a path"));
            o.device = v;
        } else if (a == u"--protocol") {
            const QString p = v.toLower();
            if (p == u"maker")
                o.protocol = 0;
            else if (p == u"ascii")
                o.protocol = 1;
            else if (p == u"rtu")
                o.protocol = 2;
            else
                return fail(QStringLiteral("--protocol is maker, ascii or rtu"));
            haveProtocol = true;
        } else if (a == u"--address") {
            if (!parseInt(v, 0, 95, o.address))
                return fail(QStringLiteral("--address is a number 0..95"));
            haveAddress = true;
        } else if (a == u"--register") {
            const auto reg = parseHex4(v);
            if (!reg)
                return fail(QStringLiteral("--register is four hex digits, e.g. 0080"));
            o.registerCode = *reg;
        } else if (a == u"--count") {
            if (!parseInt(v, 1, kMaxCount, o.count))
                return fail(QStringLiteral("--count is a number 1..%1").arg(kMaxCount));
        } else if (a == u"--speed") {
            int baud = 0;
            if (!parseInt(v, 300, 4'000'000, baud))
                return fail(QStringLiteral("--speed is a baud rate such as 9600 or 19200"));
            o.speed = QString::number(baud);
        } else if (a == u"--databits") {
            if (v != u"7" && v != u"8")
                return fail(QStringLiteral("--databits is 7 or 8"));
            o.dataBits = v;
        } else if (a == u"--parity") {
            const QString p = v.toUpper();
            if (p != u"EVEN" && p != u"ODD" && p != u"NONE")
                return fail(QStringLiteral("--parity is even, odd or none"));
            o.parity = p;
        } else if (a == u"--stopbits") {
            if (v != u"1" && v != u"2")
                return fail(QStringLiteral("--stopbits is 1 or 2"));
            o.stopBits = v;
        } else if (a == u"--timeout") {
            if (!parseInt(v, 1, kMaxTimeoutMs, o.timeoutMs))
                return fail(QStringLiteral("--timeout is milliseconds 1..%1").arg(kMaxTimeoutMs));
        } else if (a == u"--write") {
            const auto value = parseHex4(v);
            if (!value)
                return fail(QStringLiteral("--write is four hex digits, e.g. 0064"));
            o.writeValue = *value;
        } else {
            return fail(QStringLiteral("unknown option %1").arg(a));
        }
    }

    if (o.device.isEmpty())
        return fail(QStringLiteral("--device is required"));
    if (!haveProtocol)
        return fail(QStringLiteral("--protocol is required"));
    if (!haveAddress)
        return fail(QStringLiteral("--address is required"));
    if (o.registerCode.isEmpty())
        return fail(QStringLiteral("--register is required"));
    // Every controller listens on the global address and none answers: nothing to time.
    if ((o.protocol == 0 && o.address == 95) || (o.protocol != 0 && o.address == 0))
        return fail(QStringLiteral("address %1 is global in this protocol and never answered")
                        .arg(o.address));
    if (o.dataBits.isEmpty())
        o.dataBits = o.protocol == 2 ? QStringLiteral("8") : QStringLiteral("7");
    if (o.parity.isEmpty())
        o.parity = QStringLiteral("EVEN");
    // RTU frames carry whole bytes; seven data bits would cut every one of them.
    if (o.protocol == 2 && o.dataBits != u"8")
        return fail(QStringLiteral("Modbus RTU needs --databits 8"));
    result.options = o;
    return result;
}

} // namespace qmxbench
