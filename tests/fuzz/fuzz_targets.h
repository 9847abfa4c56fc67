// The fuzz targets: each takes one input as the line or the disk would deliver it and runs it
// through a reader of the program, checking what the reader promises. A broken promise aborts, so
// libFuzzer (and the replay test) see it as a crash.
//
// The same entry points serve two builds: one libFuzzer program per target (QMX_FUZZ=ON, clang)
// and the replay test that feeds them the seed corpus with the normal compiler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qmx::fuzz {

struct Target {
    const char* name; // also the folder of its seeds under tests/fuzz/corpus/
    int (*run)(const std::uint8_t* data, std::size_t size);
};

// Replies of the maker's protocol, of Modbus ASCII and of Modbus RTU: the first byte picks the
// request they answer, the rest are the bytes received.
int makerReply(const std::uint8_t* data, std::size_t size);
int modbusAsciiReply(const std::uint8_t* data, std::size_t size);
int modbusRtuReply(const std::uint8_t* data, std::size_t size);
// A set-data file's bytes.
int setDataFile(const std::uint8_t* data, std::size_t size);
// A user register-map file's bytes.
int userMapFile(const std::uint8_t* data, std::size_t size);

std::span<const Target> targets();

} // namespace qmx::fuzz
