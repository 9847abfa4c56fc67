// One simulated controller on one pty: reads what the program sends, finds requests in the
// protocol the controller speaks now, lets the faults and the controller decide, and answers.
#pragma once

#include "codec.h"
#include "controller.h"
#include "faults.h"
#include "maker_frame.h"
#include "modbus_frame.h"
#include "pty_device.h"
#include "wire_log.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace qmxsim {

class SimPort : public QObject {
    Q_OBJECT
public:
    SimPort(const QString& name, const QString& dir, const ControllerConfig& config, WireLog* log,
            QObject* parent = nullptr);
    ~SimPort() override;

    const QString& name() const { return name_; }
    QString linkPath() const;
    QString slavePath() const { return QString::fromStdString(device_.slavePath()); }
    Controller& controller() { return controller_; }
    FaultList& faults() { return faults_; }

    bool plug(QString* error = nullptr);
    void unplug();
    bool plugged() const { return device_.isOpen(); }
    // The controller restarts; with `offMs` it stays deaf that long first.
    void powerCycle(int offMs = 0);
    void changeProtocol(Protocol protocol);

    bool silent = false;      // linked but never answers
    bool emulateBaud = false; // replies take the time the bytes would take on the line
    int requests = 0;
    int replies = 0;

private:
    void onReadable();
    void scanBuffer();
    bool scanMaker();
    bool scanModbus();
    void handleMaker(const maker::Request& request, std::size_t frameLength);
    void handleModbus(const modbus::Pdu& pdu, const Bytes& frame);
    void respond(const Decoded& decoded, std::size_t frameLength,
                 const std::function<Reply(const Answer&)>& answerReply,
                 const std::function<Reply(FaultKind, int)>& refusalReply);
    void send(const Bytes& bytes, int delayMs, WireEntry entry, std::size_t requestLength);
    void logFrame(const char* dir, const Bytes& bytes, const std::string& cmd,
                  const std::string& reg, const std::string& data, const std::string& note);
    void discardPartial();
    void onTick();
    std::string proto() const;

    QString name_;
    QString dir_;
    Controller controller_;
    FaultList faults_;
    WireLog* log_;
    PtyDevice device_;
    std::unique_ptr<QSocketNotifier> notifier_;
    Bytes buffer_;
    QTimer quietTimer_;
    QTimer tickTimer_;
    double lastTick_ = 0.0;
    double nextSendAt_ = 0.0;
    double deafUntil_ = 0.0;
    unsigned generation_ = 0; // replies queued before an unplug or power cycle are never sent
};

} // namespace qmxsim
