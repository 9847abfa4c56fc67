// The whole simulator: the wire log and one SimPort per configured port.
#pragma once

#include "options.h"
#include "sim_port.h"
#include "wire_log.h"

#include <QList>
#include <QObject>

namespace qmxsim {

class Simulator : public QObject {
    Q_OBJECT
public:
    explicit Simulator(const Options& options, QObject* parent = nullptr);
    ~Simulator() override;

    // Opens the log and every port; every link exists when it returns true.
    bool start(QString& error);
    SimPort* port(const QString& name) const;
    const QList<SimPort*>& ports() const { return ports_; }
    WireLog& log() { return log_; }

signals:
    void quitRequested();

public:
    void requestQuit() { emit quitRequested(); }

private:
    Options options_;
    WireLog log_;
    QList<SimPort*> ports_;
};

} // namespace qmxsim
