#include "comm/port_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSerialPort>
#include <QThread>
#include <QTimer>

namespace qmx {

namespace {

int waitDepth = 0;

// Without an application object there is no event loop to keep alive: the port's own blocking
// wait is the right one then (a command-line tool, a test without an application).
bool canRunEvents()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

bool failed(QSerialPort::SerialPortError e)
{
    return e != QSerialPort::NoError && e != QSerialPort::TimeoutError;
}

// Runs a local event loop until `done` holds, the port fails or `ms` have passed. `wake` is the
// port's signal that may make `done` hold.
template <typename Signal, typename Done>
bool waitLettingEventsRun(QSerialPort& port, int ms, Signal wake, Done done)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&port, wake, &loop, [&] {
        if (done())
            loop.quit();
    });
    QObject::connect(&port, &QSerialPort::errorOccurred, &loop,
                     [&](QSerialPort::SerialPortError e) {
                         if (failed(e))
                             loop.quit();
                     });
    limit.start(ms);
    ++waitDepth;
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    --waitDepth;
    return done() && !failed(port.error());
}

} // namespace

bool waitingForThePort()
{
    return waitDepth > 0;
}

bool waitForReadyReadLettingEventsRun(QSerialPort& port, int ms)
{
    if (ms <= 0 || !canRunEvents())
        return port.waitForReadyRead(ms);
    return waitLettingEventsRun(port, ms, &QIODevice::readyRead,
                                [&port] { return port.bytesAvailable() > 0; });
}

bool waitForBytesWrittenLettingEventsRun(QSerialPort& port, int ms)
{
    if (ms <= 0 || !canRunEvents())
        return port.waitForBytesWritten(ms);
    return waitLettingEventsRun(port, ms, &QIODevice::bytesWritten,
                                [&port] { return port.bytesToWrite() == 0; });
}

} // namespace qmx
