#include "simulator.h"

#include <QDir>

namespace qmxsim {

Simulator::Simulator(const Options& options, QObject* parent) : QObject(parent), options_(options)
{
}

Simulator::~Simulator()
{
    qDeleteAll(ports_); // closes every pty and removes its link
    ports_.clear();
}

bool Simulator::start(QString& error)
{
    if (!QDir().mkpath(options_.dir)) {
        error = "cannot create " + options_.dir;
        return false;
    }
    if (!options_.logPath.isEmpty() && !log_.open(options_.logPath.toStdString())) {
        error = "cannot open log " + options_.logPath;
        return false;
    }
    const QString dir = QDir(options_.dir).absolutePath();
    for (const PortSetup& setup : options_.ports) {
        auto* p = new SimPort(setup.name, dir, setup.config, log_.isOpen() ? &log_ : nullptr);
        ports_.append(p);
        p->silent = setup.silent;
        p->emulateBaud = options_.emulateBaud;
        p->controller().live = setup.live;
        for (const auto& [reg, value] : setup.initial)
            p->controller().poke(reg, value);
        if (!p->plug(&error)) {
            error = setup.name + ": " + error;
            return false;
        }
    }
    return true;
}

SimPort* Simulator::port(const QString& name) const
{
    for (SimPort* p : ports_)
        if (p->name() == name)
            return p;
    return nullptr;
}

} // namespace qmxsim
