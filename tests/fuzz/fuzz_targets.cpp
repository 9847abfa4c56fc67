#include "fuzz_targets.h"

#include "comm/frame_codec.h"
#include "comm/frame_maker.h"
#include "comm/frame_modbus_ascii.h"
#include "comm/frame_modbus_rtu.h"
#include "comm/reply_verdict.h"
#include "files/setdata_file.h"
#include "files/user_map_file.h"
#include "model/qmx_data.h"

#include <QByteArray>

#include <array>
#include <cstdlib>
#include <optional>

namespace qmx::fuzz {

namespace {

// A broken promise is a crash, so the fuzzer keeps the input that shows it.
void expect(bool promise)
{
    if (!promise)
        std::abort();
}

QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// What every accepted reply promises its callers: some text, a verdict other than silence, and a
// data field that is either nothing or four upper-case hex digits.
void checkAccepted(const frame::ReplyScan& scan, int protocol, const QString& function)
{
    if (!scan.accepted)
        return;
    expect(!scan.text.isEmpty());
    expect(judgeReply(protocol, scan.text, function) != Verdict::NoAnswer);
    const QString data = frame::replyData(scan.text);
    expect(data.isEmpty() || (data.size() == 4 && frame::isHexText(data.toLatin1())));
    (void)fromHex4(data);
}

struct Ask {
    const char* command;
    const char* code;
    const char* data;
};

// The requests a reply may answer: a read, a write, and (maker's protocol) a special read and
// write.
constexpr std::array<Ask, 4> kMakerAsks{
    {{" ", "0080", ""}, {"P", "0001", "0096"}, {"\x61", "FC32", ""}, {"\x71", "FC30", "FF38"}}};
constexpr std::array<Ask, 2> kModbusAsks{{{"03", "00800001", ""}, {"06", "0001", "FF38"}}};

template <std::size_t N>
const Ask& pick(const std::array<Ask, N>& asks, const std::uint8_t* data, std::size_t size)
{
    return asks[size == 0 ? 0 : data[0] % N];
}

QByteArray receivedOf(const std::uint8_t* data, std::size_t size)
{
    return size == 0 ? QByteArray() : bytesOf(data + 1, size - 1);
}

} // namespace

int makerReply(const std::uint8_t* data, std::size_t size)
{
    const Ask& ask = pick(kMakerAsks, data, size);
    const auto request =
        frame::makerRequest(QStringLiteral(" "), QStringLiteral(" "), QLatin1String(ask.command),
                            QLatin1String(ask.code), QLatin1String(ask.data));
    expect(request.has_value());
    const QString function = ask.command[0] == ' ' ? QStringLiteral("03") : QStringLiteral("06");
    checkAccepted(frame::makerScan(request->wire, receivedOf(data, size)), 0, function);
    return 0;
}

int modbusAsciiReply(const std::uint8_t* data, std::size_t size)
{
    const Ask& ask = pick(kModbusAsks, data, size);
    const auto request =
        frame::modbusAsciiRequest(QStringLiteral("01"), QLatin1String(ask.command),
                                  QLatin1String(ask.code), QLatin1String(ask.data));
    expect(request.has_value());
    checkAccepted(frame::modbusAsciiScan(request->wire, receivedOf(data, size)), 1,
                  QLatin1String(ask.command));
    return 0;
}

int modbusRtuReply(const std::uint8_t* data, std::size_t size)
{
    const Ask& ask = pick(kModbusAsks, data, size);
    const auto request = frame::modbusRtuRequest(QStringLiteral("01"), QLatin1String(ask.command),
                                                 QLatin1String(ask.code), QLatin1String(ask.data));
    expect(request.has_value());
    checkAccepted(frame::modbusRtuScan(request->wire, receivedOf(data, size)), 2,
                  QLatin1String(ask.command));
    return 0;
}

int setDataFile(const std::uint8_t* data, std::size_t size)
{
    const auto parsed = parseSetData(bytesOf(data, size));
    if (!parsed)
        return 0;
    // Whatever a file gave, saving it and reading the save back gives the same parameter set.
    QmxData d;
    applySetData(d, *parsed, false);
    const auto again = parseSetData(formatSetData(d));
    expect(again.has_value());
    expect(again->infrared == parsed->infrared);
    expect(again->opt == parsed->opt);
    const std::size_t values = parsed->infrared ? again->values.size() : again->values.size() - 1;
    for (std::size_t i = 0; i < values; ++i)
        expect(again->values[i] == parsed->values[i]);
    return 0;
}

int userMapFile(const std::uint8_t* data, std::size_t size)
{
    (void)parseUserMap(bytesOf(data, size));
    return 0;
}

std::span<const Target> targets()
{
    static constexpr Target all[] = {{"maker_reply", makerReply},
                                     {"modbus_ascii_reply", modbusAsciiReply},
                                     {"modbus_rtu_reply", modbusRtuReply},
                                     {"setdata_file", setDataFile},
                                     {"user_map_file", userMapFile}};
    return all;
}

} // namespace qmx::fuzz
