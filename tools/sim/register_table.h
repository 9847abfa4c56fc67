// The controller's register map: which parameter registers exist, their factory values and the
// values the controller accepts, and the measuring range of each input type.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace qmxsim {

constexpr std::uint16_t kKeyRegister = 0x0000;
constexpr std::uint16_t kSetValue = 0x0001;
constexpr std::uint16_t kAutoTuning = 0x0003;
constexpr std::uint16_t kProportional = 0x0004;
constexpr std::uint16_t kCoolingProportional = 0x0005;
constexpr std::uint16_t kIntegral = 0x0006;
constexpr std::uint16_t kDerivative = 0x0007;
constexpr std::uint16_t kAlarm1Value = 0x000B;
constexpr std::uint16_t kAlarm2Value = 0x000C;
constexpr std::uint16_t kHeaterAlarm1 = 0x000F;
constexpr std::uint16_t kScalingHigh = 0x0018;
constexpr std::uint16_t kScalingLow = 0x0019;
constexpr std::uint16_t kDecimalPoint = 0x001A;
constexpr std::uint16_t kOutHigh = 0x001C;
constexpr std::uint16_t kOutLow = 0x001D;
constexpr std::uint16_t kOutHysteresis = 0x001E;
constexpr std::uint16_t kCoolHigh = 0x0020;
constexpr std::uint16_t kCoolLow = 0x0021;
constexpr std::uint16_t kAlarm1Type = 0x0023;
constexpr std::uint16_t kAlarm2Type = 0x0024;
constexpr std::uint16_t kOutputOff = 0x0037;
constexpr std::uint16_t kManual = 0x0038;
constexpr std::uint16_t kManualMv = 0x0039;
constexpr std::uint16_t kInputType = 0x0044;
constexpr std::uint16_t kDirectAction = 0x0045;
constexpr std::uint16_t kEmissivity = 0x0054;
constexpr std::uint16_t kTransferMode = 0x0070;
constexpr std::uint16_t kPv = 0x0080;
constexpr std::uint16_t kMv1 = 0x0081;
constexpr std::uint16_t kMv2 = 0x0082;
constexpr std::uint16_t kSvInUse = 0x0083;
constexpr std::uint16_t kStatus = 0x0085;
constexpr std::uint16_t kHeaterCurrent1 = 0x0086;
constexpr std::uint16_t kHeaterCurrent2 = 0x0087;
constexpr std::uint16_t kRomNumber = 0x00A0;
constexpr std::uint16_t kOptionWord1 = 0x00A1;
constexpr std::uint16_t kOptionWord2 = 0x00A2;

constexpr std::uint16_t kKeyValue = 0x8217;

// Model codes the controller reports in its key register.
constexpr int kModelStandard = 1364;
constexpr int kModelInfrared = 1605;
constexpr int kModelUserMap = 1706;

// Status word bits.
constexpr std::uint16_t kStOut1 = 0x0001;
constexpr std::uint16_t kStOut2 = 0x0002;
constexpr std::uint16_t kStAlarm1 = 0x0004;
constexpr std::uint16_t kStAlarm2 = 0x0008;
constexpr std::uint16_t kStHeaterBurnout = 0x0040;
constexpr std::uint16_t kStOverRange = 0x0100;
constexpr std::uint16_t kStUnderRange = 0x0200;
constexpr std::uint16_t kStAutoTuning = 0x0800;
constexpr std::uint16_t kStAutoManualKey = 0x1000;
constexpr std::uint16_t kStChangedAtFront = 0x8000;

struct ParameterInfo {
    std::uint16_t reg;
    int item;
    std::int16_t factory;
    std::int16_t min;
    std::int16_t max;
    bool infraredOnly;
};

const std::vector<ParameterInfo>& parameterTable();
const ParameterInfo* findParameter(std::uint16_t reg);

struct InputRange {
    std::int16_t low;
    std::int16_t high;
    int scale; // raw units per degree (10 for the types that show one decimal)
};

// Range of an input type in raw units; nullopt for a type the model does not have.
std::optional<InputRange> inputRange(int inputType, bool infrared);
int inputTypeCount(bool infrared);

} // namespace qmxsim
