// One simulated controller: its registers, the access key, the special commands, auto-tuning,
// the busy front keys and a small process model. It knows nothing about framing: requests come
// in as protocol-neutral commands and leave as verdicts that the port turns into bytes.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>

namespace qmxsim {

enum class Protocol { Maker, Ascii, Rtu };
std::string protocolName(Protocol p);
std::optional<Protocol> protocolFromName(const std::string& name);

enum class Op {
    Read,
    Write,
    MemoRead,
    SpecialRead1,
    SpecialRead2,
    SpecialWrite1,
    SpecialWrite2,
    Unknown
};

struct Command {
    Op op = Op::Read;
    std::uint16_t reg = 0;
    std::uint16_t value = 0;
    bool regValid = true;  // the register field was four hex digits
    bool dataValid = true; // the data field was four hex digits
    bool modbus = false;
};

enum class Verdict {
    Ack,
    BadCheck,
    UnknownCommand,
    NoRegister, // no such register, or read-only
    OutOfRange,
    KeysBusy,       // the front keys are being operated
    RefusedInState, // no key, or a key write while auto-tuning runs
    NotExecutable,  // not on this model or with these options (maker's ESC)
};
std::string verdictName(Verdict v);

struct Answer {
    Verdict verdict = Verdict::Ack;
    std::uint16_t value = 0;
    int delayMs = 0; // the controller needs this long before it answers
};

// A fault may make the controller look busy or auto-tuning for one request.
struct Overrides {
    bool busy = false;
    bool autoTuning = false;
};

struct ControllerConfig {
    int model = 1364;
    int rom = 1;
    std::uint16_t option1 = 0;
    std::uint16_t option2 = 0;
    int instrument = 0;
    Protocol protocol = Protocol::Maker;
    int speed = 9600;
};

class Controller {
public:
    explicit Controller(const ControllerConfig& config = {});

    ControllerConfig& config() { return config_; }
    const ControllerConfig& config() const { return config_; }
    bool infrared() const { return config_.model == 1605; }

    // The protocol the controller listens and answers in right now.
    Protocol speaking() const { return speaking_; }
    void setSpeaking(Protocol p) { speaking_ = p; }
    bool keyUnlocked() const { return key_; }
    void setKey(bool unlocked) { key_ = unlocked; }

    Answer handle(const Command& command, double now, Overrides overrides = {});
    // Lets time pass: auto-tuning ends, and with `live` the process moves.
    void tick(double now, double dt);
    void powerCycle();

    void setBusy(bool on);
    bool busy() const { return busy_; }
    void startAutoTuning(double now, double seconds);
    void cancelAutoTuning();
    bool autoTuning() const { return atUntil_.has_value(); }

    // Any register as the control channel sees it, special values by their first code (FC30..)
    // and the memory number by FF13. Returns nullopt for a register the controller lacks.
    std::optional<int> peek(std::uint16_t reg) const;
    bool poke(std::uint16_t reg, int value);
    std::map<std::uint16_t, int> dump() const;
    std::uint16_t statusWord(bool autoTuningOverride = false) const;

    bool live = false;
    int inputDelayMs = 350;
    double autoTuningSeconds = 20.0;
    std::uint16_t forcedStatus = 0; // extra status bits set from the control channel
    // Special codes 1..17 (index 0 unused), replaceable for the user-map variant.
    std::array<std::uint16_t, 18> specialCodes{};

private:
    Answer read(const Command& c, const Overrides& o) const;
    Answer write(const Command& c, double now, const Overrides& o);
    Answer special(const Command& c, const Overrides& o);
    std::optional<int> specialValue(int element) const;
    void setSpecialValue(int element, int value);
    Verdict specialAllowed(int element) const;
    bool svMemoryOption() const;
    void applyInputType(int type);
    void finishAutoTuning();
    void runProcess(double dt);
    int rawScale() const;
    int param(std::uint16_t reg) const;

    ControllerConfig config_;
    Protocol speaking_ = Protocol::Maker;
    bool key_ = false;
    bool busy_ = false;
    std::map<std::uint16_t, int> params_;
    std::optional<double> atUntil_;
    int transferMode_ = 0;
    bool changedAtFront_ = false;

    // Values only the special commands reach.
    std::array<int, 4> setValues_{}; // SV2..SV4 in [1..3]; [0] unused (SV1 is register 0001)
    int contactInput_ = 0;
    int inputAbnormal_ = 0;
    int keyFunction_ = 0;
    int memoryNumber_ = 0;
    std::optional<std::pair<int, std::uint16_t>> staged_; // element of the first code, value

    // Process state in raw units.
    double pv_ = 25.0;
    double integral_ = 0.0;
    bool onOffState_ = false;
    int mv1_ = 0;
    int mv2_ = 0;
    int heater1_ = 0;
    int heater2_ = 0;
    int noise_ = 0;
    std::minstd_rand rng_{20240611};
};

} // namespace qmxsim
