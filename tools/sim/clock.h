// Seconds since the simulator started, on the monotonic clock: the time base of the wire log,
// auto-tuning and the process model.
#pragma once

#include <chrono>

namespace qmxsim {

inline double simNow()
{
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace qmxsim
