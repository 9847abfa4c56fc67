// The command line and the named presets of qmx-sim.
#pragma once

#include "controller.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace qmxsim {

struct PortSetup {
    QString name;
    ControllerConfig config;
    bool silent = false;
    bool live = false;
    std::vector<std::pair<std::uint16_t, int>> initial; // register values set at start
};

struct Options {
    QString dir;
    QString logPath;
    QString controlPath;
    QList<PortSetup> ports;
    bool emulateBaud = false;
    bool live = false;
};

// "COMn[:SPEED[:PROTOCOL[:INSTRUMENT[:MODEL]]]]"; false with `error` on a bad field.
bool parsePortSetup(const QString& text, PortSetup& setup, QString& error);
// Adds the ports of a preset; false for an unknown name.
bool applyPreset(const QString& name, Options& options);
QStringList presetNames();
// Parses argv (without argv[0]); false with `error` (empty error: help was asked for).
bool parseCommandLine(const QStringList& args, Options& options, QString& error);
QString usage();

} // namespace qmxsim
