// When an upload or a download tells the operator that exchanges failed: once a run, as soon as
// the error watchdog has counted five error ticks in a row while the run goes on, and otherwise at
// its end when any of its exchanges failed, however fast they failed.
#pragma once

namespace qmx {

class TransferReport {
public:
    // The watchdog's count of consecutive error ticks at which it speaks.
    static constexpr int kWatchdogTicks = 5;

    void exchangeFailed() { ++failures_; }
    int failures() const { return failures_; }

    // Between two exchanges of the run: `watchdogCount` is the watchdog's present count.
    bool dueNow(int watchdogCount) const
    {
        return !told_ && failures_ > 0 && watchdogCount >= kWatchdogTicks;
    }
    // When the run has ended (completed or cut short).
    bool dueAtEnd() const { return !told_ && failures_ > 0; }
    void told() { told_ = true; }

private:
    int failures_ = 0;
    bool told_ = false;
};

} // namespace qmx
