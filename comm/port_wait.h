// The serial port's waits without a frozen window. While the controller takes its time, a local
// event loop lets timers, repaints and sockets run; the operator's mouse and keys stay queued until
// the step that waits is over, so nothing the operator does can start inside an exchange.
#pragma once

class QSerialPort;

namespace qmx {

// Waits up to `ms` for bytes to read on `port`. True when bytes are there to read; false when the
// wait ran out (the port's error stays as it was) or the port failed (its error says how).
bool waitForReadyReadLettingEventsRun(QSerialPort& port, int ms);

// Waits up to `ms` until everything written to `port` has gone to the driver. False when the wait
// ran out or the port failed.
bool waitForBytesWrittenLettingEventsRun(QSerialPort& port, int ms);

// True while a port wait runs its local event loop somewhere below the caller: the operator's input
// is being held. Whoever acts for the operator (the automation) holds its actions back the same
// way.
bool waitingForThePort();

} // namespace qmx
