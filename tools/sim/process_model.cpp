// A small heater in an oven, enough to make the live values move believably: PV is a first-order
// lag toward ambient plus heating minus cooling, and MV comes from a PI law on the SV in use,
// clamped by the output limits. Everything is in the controller's raw units.
#include "controller.h"

#include "register_table.h"

#include <algorithm>
#include <cmath>

namespace qmxsim {

namespace {
constexpr double kAmbient = 25.0;      // degrees
constexpr double kHeatGain = 4.0;      // degrees of rise per percent of MV1 at steady state
constexpr double kCoolGain = 1.5;      // degrees of fall per percent of MV2
constexpr double kTimeConstant = 90.0; // seconds
constexpr int kHeaterAmps = 85;        // 8.5 A while the heater is on
} // namespace

int Controller::rawScale() const
{
    const int type = param(kInputType);
    if (type >= 30 && !infrared()) {
        int scale = 1;
        for (int i = 0; i < std::clamp(param(kDecimalPoint), 0, 3); ++i)
            scale *= 10;
        return scale;
    }
    const auto r = inputRange(type, infrared());
    return r ? r->scale : 1;
}

void Controller::tick(double now, double dt)
{
    if (atUntil_ && now >= *atUntil_)
        finishAutoTuning();
    if (live && dt > 0)
        runProcess(dt);
}

void Controller::runProcess(double dt)
{
    const double scale = rawScale();
    const double sv = *peek(kSvInUse);
    double error = sv - pv_;
    if (param(kDirectAction) == 1)
        error = -error;

    const double outHigh = param(kOutHigh);
    const double outLow = param(kOutLow);
    const bool heatCool = (config_.option1 & 0x40) != 0;
    double mv1 = 0.0;
    double mv2 = 0.0;
    const int p = param(kProportional);
    if (param(kOutputOff) == 1) {
        integral_ = 0.0;
    } else if (param(kManual) == 1) {
        const double manual = param(kManualMv) / 10.0;
        mv1 = manual > 0 ? std::clamp(manual, outLow, outHigh) : 0.0;
        mv2 = manual < 0 && heatCool ? std::min(-manual, 100.0) : 0.0;
    } else if (p == 0 || autoTuning()) {
        // ON/OFF action, also the limit cycle that auto-tuning drives.
        const double hysteresis = std::max(1, param(kOutHysteresis));
        if (error > hysteresis)
            onOffState_ = true;
        else if (error < 0)
            onOffState_ = false;
        mv1 = onOffState_ ? outHigh : outLow;
    } else {
        const double band = std::abs(p);
        const int i = param(kIntegral);
        if (i > 0)
            integral_ = std::clamp(integral_ + 100.0 * error * dt / (band * i), -100.0, 100.0);
        const double out = 100.0 * error / band + integral_;
        if (out >= 0 || !heatCool) {
            mv1 = std::clamp(out, outLow, outHigh);
        } else {
            const double coolBand = std::max(1, param(kCoolingProportional));
            mv2 = std::clamp(-out * band / coolBand, static_cast<double>(param(kCoolLow)),
                             static_cast<double>(param(kCoolHigh)));
        }
    }

    double degrees = pv_ / scale;
    const double target = kAmbient + kHeatGain * mv1 - kCoolGain * mv2;
    degrees += (target - degrees) * std::min(1.0, dt / kTimeConstant);
    pv_ = degrees * scale;

    // A little measuring noise: at most one raw unit either way, mostly none.
    std::uniform_int_distribution<int> jitter(0, 9);
    const int draw = jitter(rng_);
    noise_ = draw == 0 ? -1 : draw == 9 ? 1 : 0;

    mv1_ = static_cast<int>(std::lround(mv1 * 10.0));
    mv2_ = heatCool ? static_cast<int>(std::lround(mv2 * 10.0)) : 0;
    heater1_ = (config_.option1 & 0x04) && mv1 > 0 ? kHeaterAmps : 0;
    heater2_ = (config_.option1 & 0x14) == 0x14 && mv1 > 0 ? kHeaterAmps : 0;
}

} // namespace qmxsim
