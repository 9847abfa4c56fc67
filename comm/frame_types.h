// Shared shapes of the three framings: a request ready for the line, and what a reply scanner made
// of the bytes received so far. Each framing is a set of pure functions over bytes, so a framing
// can be replaced without touching the port owner or the exchange routines.
#pragma once

#include <QByteArray>
#include <QString>

namespace qmx::frame {

struct Request {
    QByteArray wire;          // the bytes to send
    bool expectsReply = true; // false for a global address: every controller listens, none answers
    int maxReplyLength = 0;   // bytes on the line of the longest valid reply
};

struct ReplyScan {
    bool accepted = false; // a complete reply that matches the request was found
    QString text;          // the reply as the callers read it (only when accepted)
};

// Upper-case hexadecimal digit value, or -1. Lower case is refused on purpose: every frame we build
// and every controller we talk to uses upper case, and a stricter reader rejects more line noise.
inline int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

inline bool isHexText(const QByteArray& s)
{
    for (char c : s)
        if (hexDigit(c) < 0)
            return false;
    return true;
}

// Two upper-case hex digits of a byte.
inline QByteArray hexByte(quint8 b)
{
    static const char digits[] = "0123456789ABCDEF";
    QByteArray out(2, '0');
    out[0] = digits[b >> 4];
    out[1] = digits[b & 0x0F];
    return out;
}

// Caller text as the bytes the line carries; `ok` turns false for characters outside Latin-1.
inline QByteArray latin1(const QString& s, bool& ok)
{
    for (QChar c : s)
        if (c.unicode() > 0xFF)
            ok = false;
    return s.toLatin1();
}

} // namespace qmx::frame
