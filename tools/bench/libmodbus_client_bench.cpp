// Not part of the program: libmodbus's own RTU client, timed the way qmx-bench times ours (the
// same round-trip summary), so both can be run against one server in the same session.
//   qmx-libmodbus-bench --device PATH [--address N (1)] [--register HHHH (0000)] [--count N (100)]
//                       [--speed BAUD (9600)] [--timeout MS (300)]
// Prints one JSON line with qmx-bench's leading fields. libmodbus keeps no silent interval before
// a request: add 3.5 characters to its round trip to compare it with an RTU client that does.
#include "bench_report.h"

#include <modbus.h>

#include <sys/resource.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double cpuUs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e6 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

} // namespace

int main(int argc, char** argv)
{
    using Clock = std::chrono::steady_clock;
    std::string device;
    int address = 1;
    int reg = 0;
    int count = 100;
    int speed = 9600;
    int timeoutMs = 300;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--device")
            device = value;
        else if (name == "--address")
            address = std::atoi(value);
        else if (name == "--register")
            reg = int(std::strtol(value, nullptr, 16));
        else if (name == "--count")
            count = std::atoi(value);
        else if (name == "--speed")
            speed = std::atoi(value);
        else if (name == "--timeout")
            timeoutMs = std::atoi(value);
    }
    if (device.empty() || address < 1 || address > 247 || count < 1 || speed <= 0 ||
        timeoutMs < 1) {
        std::fprintf(stderr, "usage: qmx-libmodbus-bench --device PATH [--address N] "
                             "[--register HHHH] [--count N] [--speed BAUD] [--timeout MS]\n");
        return 2;
    }
    modbus_t* ctx = modbus_new_rtu(device.c_str(), speed, 'N', 8, 1);
    if (!ctx || modbus_set_slave(ctx, address) != 0 || modbus_connect(ctx) != 0) {
        std::fprintf(stderr, "qmx-libmodbus-bench: cannot open %s: %s\n", device.c_str(),
                     modbus_strerror(errno));
        return 2;
    }
    modbus_set_response_timeout(ctx, 0, static_cast<uint32_t>(timeoutMs) * 1000);

    std::vector<double> trips;
    int errors = 0;
    const double cpu0 = cpuUs();
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        uint16_t value = 0;
        const auto t0 = Clock::now();
        const int n = modbus_read_registers(ctx, reg, 1, &value);
        trips.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        if (n != 1) {
            ++errors;
            modbus_flush(ctx);
        }
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = cpuUs() - cpu0;
    modbus_close(ctx);
    modbus_free(ctx);

    const qmxbench::RoundTrips r = qmxbench::summarize(trips);
    std::printf("{\"count\":%d,\"errors\":%d,\"median_ms\":%.3f,\"p99_ms\":%.3f,\"max_ms\":%.3f,"
                "\"per_second\":%.1f,\"cpu_us_per_exchange\":%.1f,\"client\":\"libmodbus\"}\n",
                count, errors, r.medianMs, r.p99Ms, r.maxMs, count / elapsed, cpu / count);
    return errors == 0 ? 0 : 1;
}
