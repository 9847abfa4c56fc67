// A small scripted controller for the exchange tests: answers reads from a register table and
// acknowledges writes in whichever framing the request came in, unless the test queued another
// answer (refusal, exception, silence, damage) for a command and register.
#pragma once

#include "peer_codec.h"
#include "pty_line.h"

#include <QMap>

#include <deque>
#include <map>
#include <mutex>

namespace testline {

enum class Answer { Ack, Nak, Esc, Exception, Silent, BadCheck };

struct Scripted {
    Answer answer = Answer::Ack;
    char code = '0';          // NAK/ESC digit
    int exceptionCode = 0x02; // Modbus exception code
    QString value;            // ACK data for a read ("" = the table's value)
    int delayMs = 0;

    static Scripted ack(const QString& value = {}, int delayMs = 0)
    {
        return {Answer::Ack, '0', 0, value, delayMs};
    }
    static Scripted nak(char code) { return {Answer::Nak, code, 0, {}, 0}; }
    static Scripted esc() { return {Answer::Esc, '0', 0, {}, 0}; }
    static Scripted exception(int code) { return {Answer::Exception, '0', code, {}, 0}; }
    static Scripted silent() { return {Answer::Silent, '0', 0, {}, 0}; }
    static Scripted badCheck() { return {Answer::BadCheck, '0', 0, {}, 0}; }
};

class FakeController {
public:
    // Queues answers for requests with this command (maker byte or Modbus function) and register.
    void script(int command, const QString& reg, std::vector<Scripted> answers)
    {
        std::lock_guard lock(mutex_);
        auto& q = scripts_[{command, reg}];
        q.insert(q.end(), answers.begin(), answers.end());
    }
    void setValue(const QString& reg, const QString& value)
    {
        std::lock_guard lock(mutex_);
        values_[reg] = value;
    }

    ScriptedPeer::Handler handler()
    {
        return [this](const peer::Decoded& r) { return answer(r); };
    }

private:
    std::vector<Piece> answer(const peer::Decoded& r)
    {
        if (r.kind == peer::Decoded::Bad)
            return {};
        Scripted s;
        {
            std::lock_guard lock(mutex_);
            auto it = scripts_.find({r.command, r.reg});
            if (it != scripts_.end() && !it->second.empty()) {
                s = it->second.front();
                it->second.pop_front();
            }
            if (s.value.isEmpty())
                s.value = r.data.isEmpty() ? values_.value(r.reg, QStringLiteral("0000")) : r.data;
        }
        QByteArray frame = r.kind == peer::Decoded::Maker ? maker(r, s) : modbus(r, s);
        if (frame.isEmpty())
            return {};
        if (s.answer == Answer::BadCheck)
            frame[frame.size() - (r.kind == peer::Decoded::Ascii ? 3 : 1)] ^= 0x01;
        return {{frame, s.delayMs}};
    }

    static QByteArray maker(const peer::Decoded& r, const Scripted& s)
    {
        const char adr = static_cast<char>(0x20 + r.address);
        const char cmd = static_cast<char>(r.command);
        const QByteArray reg = r.reg.toLatin1();
        if (r.address == 95)
            return {};
        switch (s.answer) {
        case Answer::Silent:
            return {};
        case Answer::Nak:
            return peer::makerReply(peer::NAK, adr, s.code, cmd, reg);
        case Answer::Esc:
            return peer::makerReply(peer::ESC, adr, s.code, cmd, reg);
        default:
            return peer::makerAck(adr, cmd, reg, s.value.toLatin1());
        }
    }

    static QByteArray modbus(const peer::Decoded& r, const Scripted& s)
    {
        if (r.address == 0 || s.answer == Answer::Silent)
            return {};
        QByteArray adu;
        adu += char(r.address);
        if (s.answer == Answer::Exception) {
            adu += char(r.command | 0x80);
            adu += char(s.exceptionCode);
        } else if (r.command == 0x03) {
            adu += char(0x03);
            adu += char(2);
            adu += QByteArray::fromHex(s.value.toLatin1());
        } else {
            adu += char(0x06);
            adu += QByteArray::fromHex(r.reg.toLatin1());
            adu += QByteArray::fromHex(r.data.toLatin1());
        }
        return r.kind == peer::Decoded::Ascii ? peer::asciiFrame(adu) : peer::rtuFrame(adu);
    }

    std::mutex mutex_;
    std::map<std::pair<int, QString>, std::deque<Scripted>> scripts_;
    QMap<QString, QString> values_;
};

} // namespace testline
