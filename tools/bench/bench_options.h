// The command line of qmx-bench, parsed apart from the run so the rules can be tested without a
// serial line.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace qmxbench {

struct Options {
    QString device;       // opened as it is: no COMn mapping
    int protocol = 0;     // as the program numbers it: 0 maker's, 1 Modbus ASCII, 2 Modbus RTU
    int address = 0;      // instrument number / Modbus address, 0..95
    QString registerCode; // four upper-case hex digits
    int count = 100;      // exchanges to make
    QString speed = QStringLiteral("9600");
    QString dataBits; // "7"/"8"; defaults by protocol
    QString parity;   // "EVEN"/"ODD"/"NONE"; defaults by protocol
    QString stopBits = QStringLiteral("1");
    int timeoutMs = 300;               // the program's time-out in normal running
    std::optional<QString> writeValue; // four upper-case hex digits: write instead of read

    QString protocolName() const;
    bool writing() const { return writeValue.has_value(); }
};

struct ParseResult {
    std::optional<Options> options; // set when the line was valid and a run is wanted
    bool help = false;              // --help: print the usage and stop, successfully
    QString error;                  // why the line was refused
};

// `args` without the program name.
ParseResult parseOptions(const QStringList& args);

QString usage();

} // namespace qmxbench
