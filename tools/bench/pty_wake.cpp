// Not part of the program: how long a byte takes through a pseudo-terminal to a reader that has
// slept in poll() for a while, on this machine. Every exchange with the simulator crosses a pty
// twice and wakes a sleeping process each time, so this is the part of a reply-to-request gap that
// neither the program nor the simulator can shorten.
//   qmx-pty-wake [--idle-ms N (14)] [--count N (200)]
// Prints one JSON line: the one-way times in microseconds (median, p90, min).
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double nowUs()
{
    return std::chrono::duration<double, std::micro>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int main(int argc, char** argv)
{
    int idleMs = 14;
    int count = 200;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--idle-ms")
            idleMs = std::atoi(argv[i + 1]);
        else if (name == "--count")
            count = std::atoi(argv[i + 1]);
    }
    if (idleMs < 0 || count < 2) {
        std::fprintf(stderr, "usage: qmx-pty-wake [--idle-ms N] [--count N]\n");
        return 2;
    }
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return 2;
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);

    // The reader is a process of its own, as the program and the simulator are; the writer sends
    // the time it wrote, on the same monotonic clock.
    const pid_t reader = fork();
    if (reader == 0) {
        std::vector<double> us;
        while (int(us.size()) < count) {
            pollfd p{slave, POLLIN, 0};
            if (poll(&p, 1, -1) < 0)
                return 1;
            const double seen = nowUs();
            double sent = 0;
            if (read(slave, &sent, sizeof sent) == ssize_t(sizeof sent))
                us.push_back(seen - sent);
        }
        std::sort(us.begin(), us.end());
        std::printf("{\"idle_ms\":%d,\"count\":%d,\"median_us\":%.1f,\"p90_us\":%.1f,"
                    "\"min_us\":%.1f}\n",
                    idleMs, count, us[us.size() / 2], us[us.size() * 9 / 10], us.front());
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        usleep(useconds_t(idleMs) * 1000);
        const double sent = nowUs();
        if (write(master, &sent, sizeof sent) != ssize_t(sizeof sent))
            break;
    }
    int status = 0;
    waitpid(reader, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
