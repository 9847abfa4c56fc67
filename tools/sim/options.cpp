#include "options.h"

#include "register_table.h"

#include <QRegularExpression>

namespace qmxsim {

namespace {
const int kSpeeds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

void addOrReplace(Options& options, const PortSetup& setup)
{
    for (PortSetup& p : options.ports) {
        if (p.name == setup.name) {
            p = setup;
            return;
        }
    }
    options.ports.append(setup);
}

PortSetup port(const QString& name, int speed, Protocol protocol, int instrument, int model)
{
    PortSetup p;
    p.name = name;
    p.config.speed = speed;
    p.config.protocol = protocol;
    p.config.instrument = instrument;
    p.config.model = model;
    return p;
}
} // namespace

bool parsePortSetup(const QString& text, PortSetup& setup, QString& error)
{
    const QStringList f = text.split(':');
    static const QRegularExpression nameRe("^[A-Za-z0-9_-]+$");
    if (f.isEmpty() || !nameRe.match(f[0]).hasMatch()) {
        error = "bad port name in '" + text + "'";
        return false;
    }
    setup = PortSetup{};
    setup.name = f[0];
    bool ok = true;
    if (f.size() > 1 && !f[1].isEmpty()) {
        setup.config.speed = f[1].toInt(&ok);
        if (!ok || std::find(std::begin(kSpeeds), std::end(kSpeeds), setup.config.speed) ==
                       std::end(kSpeeds)) {
            error = "bad speed in '" + text + "'";
            return false;
        }
    }
    if (f.size() > 2 && !f[2].isEmpty()) {
        const auto p = protocolFromName(f[2].toStdString());
        if (!p) {
            error = "bad protocol in '" + text + "' (maker, ascii or rtu)";
            return false;
        }
        setup.config.protocol = *p;
    }
    if (f.size() > 3 && !f[3].isEmpty()) {
        setup.config.instrument = f[3].toInt(&ok);
        if (!ok || setup.config.instrument < 0 || setup.config.instrument > 247) {
            error = "bad instrument number in '" + text + "'";
            return false;
        }
    }
    if (f.size() > 4 && !f[4].isEmpty()) {
        setup.config.model = f[4].toInt(&ok);
        if (!ok) {
            error = "bad model code in '" + text + "'";
            return false;
        }
    }
    if (f.size() > 5) {
        error = "too many fields in '" + text + "'";
        return false;
    }
    return true;
}

QStringList presetNames()
{
    return {"demo", "trio", "infrared", "usermap"};
}

bool applyPreset(const QString& name, Options& options)
{
    if (name == "demo") {
        // The README's device: a standard controller heating toward 150 degrees, with alarm 2
        // and a single-phase heater-burnout transformer fitted.
        PortSetup p = port("COM1", 9600, Protocol::Maker, 0, kModelStandard);
        p.live = true;
        p.config.option1 = 0x24;
        p.initial = {{kSetValue, 150}, {kAlarm1Type, 1}, {kAlarm1Value, 20}};
        addOrReplace(options, p);
        return true;
    }
    if (name == "trio") {
        addOrReplace(options, port("COM1", 9600, Protocol::Maker, 0, kModelStandard));
        addOrReplace(options, port("COM2", 9600, Protocol::Ascii, 1, kModelStandard));
        addOrReplace(options, port("COM3", 9600, Protocol::Rtu, 1, kModelStandard));
        return true;
    }
    if (name == "infrared") {
        PortSetup p = port("COM1", 9600, Protocol::Maker, 0, kModelInfrared);
        p.live = true;
        p.initial = {{kSetValue, 1200}, {kScalingHigh, 2500}, {kScalingLow, 0}};
        addOrReplace(options, p);
        return true;
    }
    if (name == "usermap") {
        PortSetup p = port("COM1", 9600, Protocol::Maker, 0, kModelUserMap);
        p.config.rom = 1;
        addOrReplace(options, p);
        return true;
    }
    return false;
}

bool parseCommandLine(const QStringList& args, Options& options, QString& error)
{
    QStringList silent;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& out) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        QString v;
        if (a == "--help" || a == "-h") {
            error.clear();
            return false;
        } else if (a == "--dir") {
            if (!value(options.dir))
                return false;
        } else if (a == "--log") {
            if (!value(options.logPath))
                return false;
        } else if (a == "--control") {
            if (!value(options.controlPath))
                return false;
        } else if (a == "--preset") {
            if (!value(v))
                return false;
            if (!applyPreset(v, options)) {
                error = "unknown preset '" + v + "' (" + presetNames().join(", ") + ")";
                return false;
            }
        } else if (a == "--port") {
            if (!value(v))
                return false;
            PortSetup setup;
            if (!parsePortSetup(v, setup, error))
                return false;
            setup.live = options.live;
            addOrReplace(options, setup);
        } else if (a == "--silent") {
            if (!value(v))
                return false;
            silent << v;
        } else if (a == "--emulate-baud") {
            options.emulateBaud = true;
        } else if (a == "--live") {
            options.live = true;
        } else {
            error = "unknown argument '" + a + "'";
            return false;
        }
    }
    for (const QString& name : silent) {
        PortSetup* found = nullptr;
        for (PortSetup& p : options.ports)
            if (p.name == name)
                found = &p;
        if (!found) {
            PortSetup setup;
            if (!parsePortSetup(name, setup, error))
                return false;
            options.ports.append(setup);
            found = &options.ports.last();
        }
        found->silent = true;
    }
    if (options.live)
        for (PortSetup& p : options.ports)
            p.live = true;
    if (options.dir.isEmpty()) {
        error = "--dir is required";
        return false;
    }
    if (options.ports.isEmpty()) {
        error = "no ports: give --port or --preset";
        return false;
    }
    return true;
}

QString usage()
{
    return "usage: qmx-sim --dir DIR [--log FILE] [--control SOCKET] [--preset NAME]\n"
           "               [--port COMn[:SPEED[:PROTOCOL[:INSTRUMENT[:MODEL]]]] ...]\n"
           "               [--silent COMn ...] [--live] [--emulate-baud]\n"
           "  PROTOCOL maker|ascii|rtu; defaults 9600, maker, 0, 1364.\n"
           "  presets: " +
           presetNames().join(", ") + "\n";
}

} // namespace qmxsim
