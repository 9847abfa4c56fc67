// qmx-sim: plays one or more controllers on pseudo-terminals for the demo and the tests.
#include "control_socket.h"
#include "options.h"
#include "simulator.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    qmxsim::Options options;
    QString error;
    if (!qmxsim::parseCommandLine(args, options, error)) {
        if (!error.isEmpty())
            std::fprintf(stderr, "qmx-sim: %s\n", qPrintable(error));
        std::fputs(qPrintable(qmxsim::usage()), error.isEmpty() ? stdout : stderr);
        return error.isEmpty() ? 0 : 2;
    }

    // SIGTERM and SIGINT end the event loop through a pipe, so the links are removed by the
    // ordinary destructors and never from inside a signal handler.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        std::perror("qmx-sim: socketpair");
        return 1;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
        QCoreApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    int rc = 0;
    {
        qmxsim::Simulator sim(options);
        QObject::connect(&sim, &qmxsim::Simulator::quitRequested, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        qmxsim::ControlServer control(sim);
        if (!sim.start(error)) {
            std::fprintf(stderr, "qmx-sim: %s\n", qPrintable(error));
            return 1;
        }
        if (!options.controlPath.isEmpty() && !control.listen(options.controlPath, error)) {
            std::fprintf(stderr, "qmx-sim: control socket %s: %s\n",
                         qPrintable(options.controlPath), qPrintable(error));
            return 1;
        }
        for (qmxsim::SimPort* p : sim.ports())
            std::fprintf(stderr, "qmx-sim: %s -> %s\n", qPrintable(p->linkPath()),
                         qPrintable(p->slavePath()));
        std::fputs("READY\n", stdout);
        std::fflush(stdout);
        rc = app.exec();
    }
    return rc;
}
