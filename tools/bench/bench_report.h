// What one qmx-bench run measured, and the JSON line it prints.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace qmxbench {

struct RoundTrips {
    double medianMs = 0; // the middle value; the mean of the two middle ones for an even count
    double p99Ms = 0; // nearest rank: the smallest value with at least 99% of the run at or below
    double maxMs = 0;
};

// Empty input gives zeros.
RoundTrips summarize(std::vector<double> roundTripsMs);

struct Report {
    // Identification of the run.
    QString device;
    QString protocol;  // maker, ascii, rtu
    QString operation; // read, write
    int address = 0;
    QString registerCode;
    int speed = 0;
    QString line; // e.g. "7E1"
    int timeoutMs = 0;
    // The figures.
    int count = 0;
    int errors = 0; // no answer + refused
    int noAnswer = 0;
    int refused = 0; // NAK, ESC, exception, or any reply that is not an acceptance
    RoundTrips roundTrips;
    double elapsedS = 0;
    double cpuUs = 0; // user + system time of the whole run
    // The line's own limit: request + accepted reply, at the bits per character of the settings.
    int requestBytes = 0;
    int replyBytes = 0;
    int bitsPerChar = 0;

    double perSecond() const { return elapsedS > 0 ? count / elapsedS : 0; }
    double cpuUsPerExchange() const { return count > 0 ? cpuUs / count : 0; }
    double wireMs() const
    {
        return speed > 0 ? (requestBytes + replyBytes) * bitsPerChar * 1000.0 / speed : 0;
    }
};

// One line of JSON, no line end. The fields asked for most come first.
QByteArray toJson(const Report& r);

} // namespace qmxbench
