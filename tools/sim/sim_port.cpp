#include "sim_port.h"

#include "clock.h"
#include "codec.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cmath>

namespace qmxsim {

namespace {
// A request that stops half-way is dropped after this much quiet; RTU frames end by silence,
// the text protocols by their end characters, so they get longer.
constexpr int kPartialMsText = 200;
constexpr int kPartialMsRtu = 50;
constexpr int kTickMs = 100;
} // namespace

SimPort::SimPort(const QString& name, const QString& dir, const ControllerConfig& config,
                 WireLog* log, QObject* parent)
    : QObject(parent), name_(name), dir_(dir), controller_(config), log_(log)
{
    quietTimer_.setSingleShot(true);
    connect(&quietTimer_, &QTimer::timeout, this, &SimPort::discardPartial);
    connect(&tickTimer_, &QTimer::timeout, this, &SimPort::onTick);
    lastTick_ = simNow();
    tickTimer_.start(kTickMs);
}

SimPort::~SimPort()
{
    notifier_.reset();
    device_.close();
}

QString SimPort::linkPath() const
{
    return dir_ + "/" + name_;
}

bool SimPort::plug(QString* error)
{
    if (device_.isOpen())
        return true;
    std::string why;
    if (!device_.open(linkPath().toStdString(), why)) {
        if (error)
            *error = QString::fromStdString(why);
        return false;
    }
    buffer_.clear();
    notifier_ = std::make_unique<QSocketNotifier>(device_.masterFd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SimPort::onReadable);
    if (log_)
        log_->event(simNow(), name_.toStdString(), "plug");
    return true;
}

void SimPort::unplug()
{
    ++generation_;
    notifier_.reset();
    device_.close();
    buffer_.clear();
    if (log_)
        log_->event(simNow(), name_.toStdString(), "unplug");
}

void SimPort::powerCycle(int offMs)
{
    ++generation_;
    buffer_.clear();
    nextSendAt_ = 0.0;
    controller_.powerCycle();
    deafUntil_ = simNow() + offMs / 1000.0;
    if (log_)
        log_->event(simNow(), name_.toStdString(), "powercycle");
}

void SimPort::changeProtocol(Protocol protocol)
{
    controller_.config().protocol = protocol;
    controller_.setSpeaking(protocol);
    buffer_.clear();
}

std::string SimPort::proto() const
{
    return protocolName(controller_.speaking());
}

void SimPort::logFrame(const char* dir, const Bytes& bytes, const std::string& cmd,
                       const std::string& reg, const std::string& data, const std::string& note)
{
    if (!log_ || bytes.empty())
        return;
    log_->frame(simNow(), {name_.toStdString(), dir, proto(), bytes, cmd, reg, data, note});
}

void SimPort::onReadable()
{
    const Bytes in = device_.readAvailable();
    if (in.empty())
        return;
    if (silent) {
        logFrame("rx", in, "", "", "", "silent");
        return;
    }
    if (simNow() < deafUntil_) {
        logFrame("rx", in, "", "", "", "powered-off");
        return;
    }
    // A pty carries no real signal, but a UART at the wrong speed hears only noise: so do we.
    const LineSettings line = device_.lineSettings();
    if (line.speed != controller_.config().speed) {
        logFrame("rx", in, "", "", "", "wrong-speed");
        buffer_.clear();
        return;
    }
    buffer_.insert(buffer_.end(), in.begin(), in.end());
    quietTimer_.start(controller_.speaking() == Protocol::Rtu ? kPartialMsRtu : kPartialMsText);
    scanBuffer();
}

void SimPort::discardPartial()
{
    logFrame("rx", buffer_, "", "", "", "incomplete");
    buffer_.clear();
}

void SimPort::scanBuffer()
{
    for (;;) {
        const bool more = controller_.speaking() == Protocol::Maker ? scanMaker() : scanModbus();
        if (!more || buffer_.empty())
            return;
    }
}

bool SimPort::scanMaker()
{
    const maker::Scan sc = maker::scan(buffer_);
    const auto skipped = static_cast<long>(sc.skipped);
    logFrame("rx", Bytes(buffer_.begin(), buffer_.begin() + skipped), "", "", "", "garbage");
    if (sc.kind == maker::ScanKind::Incomplete) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + skipped);
        return false;
    }
    const Bytes frame(buffer_.begin() + skipped,
                      buffer_.begin() + skipped + static_cast<long>(sc.length));
    buffer_.erase(buffer_.begin(), buffer_.begin() + skipped + static_cast<long>(sc.length));
    const maker::Request& r = sc.request;
    if (sc.kind == maker::ScanKind::Malformed) {
        logFrame("rx", frame, hex2(r.command), r.reg, r.data, "malformed");
        return true;
    }
    const Decoded d = decodeMaker(r, controller_.config().instrument);
    if (!d.forUs) {
        logFrame("rx", frame, d.cmd, d.reg, d.data, "not-for-us");
        return true;
    }
    ++requests;
    const bool badCheck = sc.kind == maker::ScanKind::BadCheck;
    logFrame("rx", frame, d.cmd, d.reg, d.data, badCheck ? "bad-check" : "");
    if (badCheck) {
        if (!d.global &&
            (frame.size() == maker::kReadLength || frame.size() == maker::kWriteLength)) {
            const Reply reply = makerRefusal(r, maker::kNak, '1');
            send(reply.bytes, 0, {"", "tx", "", {}, d.cmd, d.reg, "", reply.note}, frame.size());
        }
        return true;
    }
    handleMaker(r, frame.size());
    return true;
}

bool SimPort::scanModbus()
{
    const bool rtu = controller_.speaking() == Protocol::Rtu;
    const modbus::Scan sc = rtu ? modbus::scanRtu(buffer_) : modbus::scanAscii(buffer_);
    const auto skipped = static_cast<long>(sc.skipped);
    logFrame("rx", Bytes(buffer_.begin(), buffer_.begin() + skipped), "", "", "", "garbage");
    if (sc.kind == modbus::ScanKind::Incomplete) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + skipped);
        return false;
    }
    const Bytes frame(buffer_.begin() + skipped,
                      buffer_.begin() + skipped + static_cast<long>(sc.length));
    buffer_.erase(buffer_.begin(), buffer_.begin() + skipped + static_cast<long>(sc.length));
    // A Modbus frame with a bad check code is not answered: the requester just times out.
    if (sc.kind != modbus::ScanKind::Frame) {
        logFrame("rx", frame, "", "", "",
                 sc.kind == modbus::ScanKind::BadCheck ? "bad-check" : "malformed");
        return true;
    }
    handleModbus(sc.pdu, frame);
    // After an accepted key write the rest of what came in belongs to no protocol we speak.
    if (controller_.speaking() == Protocol::Maker)
        buffer_.clear();
    return true;
}

void SimPort::handleMaker(const maker::Request& request, std::size_t frameLength)
{
    const Decoded d = decodeMaker(request, controller_.config().instrument);
    respond(
        d, frameLength, [&](const Answer& a) { return makerReply(request, a); },
        [&](FaultKind kind, int code) {
            if (kind == FaultKind::Esc)
                return makerRefusal(request, maker::kEsc, '0');
            const int digit = kind == FaultKind::Exception
                                  ? nakDigitForException(static_cast<std::uint8_t>(code))
                                  : code % 10;
            return makerRefusal(request, maker::kNak, static_cast<char>('0' + digit));
        });
}

void SimPort::handleModbus(const modbus::Pdu& pdu, const Bytes& frame)
{
    const Protocol protocol = controller_.speaking();
    const std::optional<Decoded> d = decodeModbus(pdu, controller_.config().instrument);
    if (!d) {
        logFrame("rx", frame, hex2(pdu.function), "", "", "malformed");
        return;
    }
    if (!d->forUs) {
        logFrame("rx", frame, d->cmd, d->reg, d->data, "not-for-us");
        return;
    }
    ++requests;
    logFrame("rx", frame, d->cmd, d->reg, d->data, "");
    respond(
        *d, frame.size(), [&](const Answer& a) { return modbusReply(protocol, pdu, a); },
        [&](FaultKind kind, int code) {
            const std::uint8_t exception = kind == FaultKind::Exception
                                               ? static_cast<std::uint8_t>(code)
                                           : kind == FaultKind::Esc ? modbus::kIllegalFunction
                                                                    : exceptionForNakDigit(code);
            return modbusException(protocol, pdu, exception);
        });
}

void SimPort::respond(const Decoded& d, std::size_t frameLength,
                      const std::function<Reply(const Answer&)>& answerReply,
                      const std::function<Reply(FaultKind, int)>& refusalReply)
{
    // The reply goes out in the protocol the request came in, even when the request (an
    // accepted Modbus key write) switches the controller to the maker's protocol.
    const Protocol protocol = controller_.speaking();
    const std::optional<Fault> fault = faults_.take(d.command.reg, d.writing);
    const auto is = [&fault](FaultKind k) { return fault && fault->kind == k; };
    if (fault && log_)
        log_->event(simNow(), name_.toStdString(), "fault:" + faultKindName(fault->kind));
    if (is(FaultKind::PowerCycle)) {
        powerCycle(fault->ms);
        return;
    }
    if (is(FaultKind::Unplug)) {
        unplug();
        if (fault->ms > 0)
            QTimer::singleShot(fault->ms, this, [this] { plug(); });
        return;
    }
    Reply reply;
    int delay = 0;
    if (is(FaultKind::Nak) || is(FaultKind::Esc) || is(FaultKind::Exception)) {
        reply = refusalReply(fault->kind, fault->code); // refused: the request does nothing
    } else {
        const Overrides o{is(FaultKind::Busy), is(FaultKind::AutoTuning)};
        const Answer answer = controller_.handle(d.command, simNow(), o);
        if (is(FaultKind::Silence))
            return;
        reply = answerReply(answer);
        delay = answer.delayMs;
        if (is(FaultKind::Delay) || is(FaultKind::Late))
            delay += fault->ms;
        if (is(FaultKind::Garble)) {
            reply.bytes = garbleReply(protocol, reply.bytes, fault->how);
            reply.note += ",garbled:" + garbleName(fault->how);
        }
    }
    if (d.global)
        return;
    send(reply.bytes, delay,
         {"", "tx", protocolName(protocol), {}, d.cmd, d.reg, reply.data, reply.note}, frameLength);
}

void SimPort::send(const Bytes& bytes, int delayMs, WireEntry entry, std::size_t requestLength)
{
    int delay = delayMs;
    if (emulateBaud) {
        const LineSettings line = device_.lineSettings();
        const int speed = line.speed > 0 ? line.speed : controller_.config().speed;
        delay += static_cast<int>(
            std::ceil((requestLength + bytes.size()) * line.bitsPerChar * 1000.0 / speed));
    }
    const double now = simNow();
    // Replies leave in the order of their requests, however their delays differ.
    const double at = std::max(now + delay / 1000.0, nextSendAt_);
    nextSendAt_ = at;
    entry.port = name_.toStdString();
    if (entry.proto.empty())
        entry.proto = proto();
    entry.bytes = bytes;
    const unsigned generation = generation_;
    auto fire = [this, entry, generation] {
        if (generation != generation_ || !device_.isOpen())
            return;
        // Logged first, so whoever reads the reply finds it in the log already.
        if (log_)
            log_->frame(simNow(), entry);
        device_.write(entry.bytes);
        ++replies;
    };
    const int ms = static_cast<int>(std::lround((at - now) * 1000.0));
    if (ms <= 0)
        fire();
    else
        QTimer::singleShot(ms, Qt::PreciseTimer, this, fire);
}

void SimPort::onTick()
{
    const double now = simNow();
    controller_.tick(now, now - lastTick_);
    lastTick_ = now;
}

} // namespace qmxsim
