#include "comm/reply_verdict.h"

namespace qmx {

namespace {

constexpr QChar kAck(0x06);
constexpr QChar kNak(0x15);

} // namespace

Verdict judgeReply(int protocol, const QString& reply, const QString& function)
{
    if (reply.isEmpty())
        return Verdict::NoAnswer;
    if (protocol == 0) {
        if (reply[0] == kAck)
            return Verdict::Accepted;
        if (reply[0] == kNak)
            return reply.mid(2, 1) == u"5" ? Verdict::Busy : Verdict::Refused;
        return Verdict::Other;
    }
    const QString fn = reply.mid(3, 2);
    if (fn == function && !fn.isEmpty())
        return Verdict::Accepted;
    if (fn == u"83" || fn == u"86")
        return reply.mid(5, 2) == u"12" ? Verdict::Busy : Verdict::Refused;
    return Verdict::Other;
}

QString verdictText(Verdict v)
{
    switch (v) {
    case Verdict::NoAnswer:
        return {};
    case Verdict::Accepted:
        return QStringLiteral("OK");
    default:
        return QStringLiteral("NG");
    }
}

QString toHex4(int value)
{
    return QStringLiteral("%1").arg(static_cast<quint16>(value), 4, 16, QChar(u'0')).toUpper();
}

qint16 fromHex4(const QString& digits)
{
    bool ok = false;
    const uint v = digits.toUInt(&ok, 16);
    if (!ok || digits.size() != 4)
        return 0;
    return static_cast<qint16>(static_cast<quint16>(v));
}

} // namespace qmx
