// The simulated controller for the link tests: starts qmx-sim on its own folder of port links,
// talks to its control socket and reads what crossed the wire.
#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class SimControl {
public:
    // `args` after --dir/--log/--control, e.g. {"--port", "COM1:9600:maker:0:1364"}.
    explicit SimControl(const QStringList& args);
    ~SimControl();
    SimControl(const SimControl&) = delete;
    SimControl& operator=(const SimControl&) = delete;

    bool ready() const { return ready_; }
    // The folder that plays QMX_PORT_DIR.
    QString portDir() const { return dir_.path(); }
    // One control command; the reply object ({"ok":false,...} when the simulator did not answer).
    QJsonObject control(const QJsonObject& command);
    // Every wire-log entry so far (rx and tx), oldest first.
    QList<QJsonObject> wire() const;
    // The requests the controller received on `port` since the last mark(), decoded as
    // "cmd reg data" ("20 0080", "50 0000 8217", "61 002A"); Modbus as "03 0080" / "06 0000 8217".
    QStringList requests(const QString& port = QStringLiteral("COM1")) const;
    // Forget what crossed the wire so far (requests() starts after this point).
    void mark();

private:
    QTemporaryDir dir_;
    QString log_, socket_;
    QProcess proc_;
    bool ready_ = false;
    int markLine_ = 0;
};
