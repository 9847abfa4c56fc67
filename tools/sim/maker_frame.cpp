#include "maker_frame.h"

#include <algorithm>
#include <iterator>

namespace qmxsim::maker {

namespace {
// Longest frame worth waiting for: a write plus slack. A longer run without ETX is noise.
constexpr std::size_t kMaxFrame = 32;

void appendBcc(Bytes& frame)
{
    const std::string digits = hex2(bcc(frame.data(), frame.data() + frame.size()));
    frame.insert(frame.end(), digits.begin(), digits.end());
}

std::string slice(const Bytes& b, std::size_t from, std::size_t count)
{
    if (from >= b.size())
        return {};
    count = std::min(count, b.size() - from);
    return std::string(b.begin() + static_cast<long>(from),
                       b.begin() + static_cast<long>(from + count));
}
} // namespace

bool isKnownCommand(std::uint8_t command)
{
    switch (command) {
    case kRead:
    case kWrite:
    case kMemoRead:
    case kSpecialRead1:
    case kSpecialRead2:
    case kSpecialWrite1:
    case kSpecialWrite2:
        return true;
    default:
        return false;
    }
}

bool carriesData(std::uint8_t command)
{
    return command == kWrite || command == kSpecialWrite1 || command == kSpecialWrite2;
}

std::uint8_t bcc(const std::uint8_t* begin, const std::uint8_t* end)
{
    std::uint8_t x = 0;
    for (const std::uint8_t* p = begin; p != end; ++p)
        x ^= *p;
    return x;
}

Scan scan(const Bytes& buffer)
{
    Scan result;
    const std::size_t n = buffer.size();
    std::size_t start = 0;
    std::size_t etx = 0;
    for (;;) {
        while (start < n && buffer[start] != kStx)
            ++start;
        result.skipped = start;
        if (start >= n)
            return result;
        std::size_t i = start + 1;
        while (i < n && buffer[i] != kEtx && buffer[i] != kStx)
            ++i;
        if (i < n && buffer[i] == kStx) {
            start = i; // an unfinished frame followed by a new one: the first is noise
            continue;
        }
        if (i >= n) {
            if (n - start > kMaxFrame) {
                ++start;
                continue;
            }
            return result;
        }
        if (n < i + 3)
            return result; // ETX seen, BCC digits still to come
        etx = i;
        break;
    }

    const Bytes frame(buffer.begin() + static_cast<long>(start),
                      buffer.begin() + static_cast<long>(etx + 3));
    result.length = frame.size();
    Request& r = result.request;
    const std::size_t bodyEnd = frame.size() - 3; // index of ETX
    if (frame.size() >= 7) {
        r.address = frame[1];
        r.subAddress = frame[2];
        r.command = frame[3];
        r.reg = slice(frame, 4, std::min<std::size_t>(4, bodyEnd - 4));
        if (carriesData(r.command) && bodyEnd > 8)
            r.data = slice(frame, 8, std::min<std::size_t>(4, bodyEnd - 8));
    }

    const std::string sent = slice(frame, frame.size() - 2, 2);
    const std::string want = hex2(bcc(frame.data(), frame.data() + frame.size() - 2));
    const std::size_t expected = carriesData(r.command) ? kWriteLength : kReadLength;
    if (frame.size() < 7) {
        result.kind = ScanKind::Malformed;
    } else if (sent != want) {
        result.kind = ScanKind::BadCheck;
    } else if (isKnownCommand(r.command)
                   ? frame.size() != expected
                   : frame.size() != kReadLength && frame.size() != kWriteLength) {
        result.kind = ScanKind::Malformed;
    } else {
        result.kind = ScanKind::Frame;
    }
    return result;
}

Bytes encodeRequest(const Request& request)
{
    Bytes f{kStx, request.address, request.subAddress, request.command};
    // Copied, not range-inserted: GCC 12 falsely warns the insert after a braced head overflows.
    std::copy(request.reg.begin(), request.reg.end(), std::back_inserter(f));
    f.insert(f.end(), request.data.begin(), request.data.end());
    f.push_back(kEtx);
    appendBcc(f);
    return f;
}

Bytes encodeAck(const Request& request, std::uint16_t value)
{
    Bytes f{kAck, request.address, '0', request.command};
    // Copied, not range-inserted: GCC 12 falsely warns the insert after a braced head overflows.
    std::copy(request.reg.begin(), request.reg.end(), std::back_inserter(f));
    const std::string data = hex4(value);
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(kEtx);
    appendBcc(f);
    return f;
}

Bytes encodeRefusal(std::uint8_t lead, char code, const Request& request)
{
    Bytes f{lead, request.address, static_cast<std::uint8_t>(code), request.command};
    // Copied, not range-inserted: GCC 12 falsely warns the insert after a braced head overflows.
    std::copy(request.reg.begin(), request.reg.end(), std::back_inserter(f));
    f.push_back(kEtx);
    appendBcc(f);
    return f;
}

} // namespace qmxsim::maker
