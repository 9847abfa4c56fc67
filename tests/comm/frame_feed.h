// Feeds reply bytes to a scanner the way a serial line delivers them: in one piece, or one byte at
// a time (the scanner sees every prefix), so a test can check both when and what it accepts.
#pragma once

#include "comm/frame_types.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace feed {

using Scanner = std::function<qmx::frame::ReplyScan(const QByteArray&, const QByteArray&)>;

struct Result {
    std::optional<QString> text; // the accepted reply, if any
    qsizetype acceptedAt = -1;   // bytes received when it was accepted
};

inline Result whole(const Scanner& scan, const QByteArray& request, const QByteArray& bytes)
{
    Result r;
    const auto s = scan(request, bytes);
    if (s.accepted) {
        r.text = s.text;
        r.acceptedAt = bytes.size();
    }
    return r;
}

inline Result byteByByte(const Scanner& scan, const QByteArray& request, const QByteArray& bytes)
{
    Result r;
    for (qsizetype n = 0; n <= bytes.size(); ++n) {
        const auto s = scan(request, bytes.left(n));
        if (s.accepted) {
            r.text = s.text;
            r.acceptedAt = n;
            return r;
        }
    }
    return r;
}

// Line noise a reply may come with: random bytes, lone lead characters, and the start of a frame
// cut short, which must not swallow the real frame behind it.
inline std::vector<QByteArray> garbage()
{
    return {
        QByteArray("\x00", 1),
        QByteArray("\xFF\xFE\x7F"),
        QByteArray("\x06"),
        QByteArray("\x15\x1B"),
        QByteArray(":"),
        QByteArray(":01"),
        QByteArray("\r\n"),
        QByteArray("\x01\x03"),
        QByteArray("\x06\x20\x30\x20\x30\x30"),
        QByteArray(":0103"),
        QByteArray("\x01\x03\x02\x00"),
        QByteArray("noise\x03\x02"),
    };
}

} // namespace feed
