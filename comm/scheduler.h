// The scheduler's requests without the window: which step a Timer1 tick runs and what the mode word
// ComMode shows. Requests are kept apart, so none overwrites another: single writes in the order
// they were asked (each with its item), then a download of the screen data (3) or the option check
// and download (5), then an upload (4), then the resting mode (1 monitoring, 0 idle).
#pragma once

#include <deque>

namespace qmx {

enum class SchedStep {
    Idle,         // mode 0
    Monitor,      // mode 1: one monitoring step
    Write,        // mode 2: one item
    Download,     // mode 3: the whole screen data
    Upload,       // mode 4
    CheckAndLoad, // mode 5: option check, then download
    Reset,        // any other mode word: back to monitoring without an exchange
};

// One-shot requests waiting beside the queue of single writes.
struct OneShots {
    int download = 0; // 0 none, 3 or 5
    bool upload = false;
    bool any() const { return download != 0 || upload; }
};

struct Tick {
    SchedStep step = SchedStep::Idle;
    int item = 0;    // the item of a write
    int comMode = 0; // what ComMode shows while the step runs
};

// Records a one-shot request (3, 4 or 5); other values are not requests and change nothing.
// A second download request while one waits replaces it.
void addOneShot(OneShots& pending, int mode);

// Takes the step of this tick off the requests. `comMode` is the mode word as the tick found it:
// without any request it decides alone, and a 2..5 in it with nothing queued (set directly rather
// than requested) runs that step once, a 2 writing `paraNo`.
Tick takeTick(int comMode, int paraNo, std::deque<int>& writes, OneShots& pending);

// What ComMode shows between ticks: the next request waiting, else `resting`.
int waitingMode(const std::deque<int>& writes, const OneShots& pending, int resting);

} // namespace qmx
