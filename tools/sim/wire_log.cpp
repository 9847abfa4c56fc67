#include "wire_log.h"

#include <cstdio>

namespace qmxsim {

namespace {
std::string field(const char* name, const std::string& value)
{
    return std::string(",\"") + name + "\":\"" + jsonEscape(value) + "\"";
}

std::string timeField(double t)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "{\"t\":%.6f", t);
    return buf;
}
} // namespace

std::string jsonEscape(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            // Control bytes and bytes above ASCII (a garbled frame's) as their code, so every
            // line stays valid JSON.
            if (const auto u = static_cast<unsigned char>(c); u < 0x20 || u >= 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out;
}

WireLog::~WireLog()
{
    if (file_)
        std::fclose(file_);
}

bool WireLog::open(const std::string& path)
{
    file_ = std::fopen(path.c_str(), "a");
    return file_ != nullptr;
}

void WireLog::frame(double t, const WireEntry& e)
{
    std::string s = timeField(t) + field("port", e.port) + field("dir", e.dir) +
                    field("proto", e.proto) + field("hex", toHex(e.bytes));
    if (!e.cmd.empty())
        s += field("cmd", e.cmd);
    if (!e.reg.empty())
        s += field("reg", e.reg);
    if (!e.data.empty())
        s += field("data", e.data);
    if (!e.note.empty())
        s += field("note", e.note);
    line(s + "}");
}

void WireLog::marker(double t, const std::string& text)
{
    line(timeField(t) + field("marker", text) + "}");
}

void WireLog::event(double t, const std::string& port, const std::string& what)
{
    line(timeField(t) + field("port", port) + field("event", what) + "}");
}

void WireLog::line(const std::string& text)
{
    if (!file_)
        return;
    std::fputs(text.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

} // namespace qmxsim
