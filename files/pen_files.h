// The trend chart's four pen files "QMX1.txt" (PV) .. "QMX4.txt" (MV2) in the program folder, and
// the chart settings they hold. Each file is 11 fixed 4-byte records, little-endian: records 1 to 5
// are 32-bit, records 6 to 11 are 16-bit in the first two bytes of their record. Records 1 (the
// pen's colour) and 6 (its trace flag) belong to the file's own pen; the others stand in all four
// files, and the copy in the last file read counts. Older installs and other programs read these
// files, so the layout never changes.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qmx {

inline constexpr int kPenCount = 4;
inline constexpr int kPenRecords = 11;
inline constexpr int kPenFileSize = kPenRecords * 4;

// The chart settings loaded from the pen files, shared by the main window, the chart and its
// keypad. Colours are 0x00BBGGRR.
struct ChartSettings {
    std::array<int32_t, kPenCount> PenColor{0xFF00FF, 0xC000, 0xFF, 0xFF8080};
    int32_t ChartXMode = 2; // 0 short, 1 long, 2 middle
    int32_t ChartItv = 5;   // recording cycle, seconds
    int32_t ChartSH = 400;
    int32_t ChartSL = 0;
    std::array<int16_t, kPenCount> PenOn{1, 1, 1, 1};
    int16_t ChartRec7 = 0;
    int16_t ChartRec8 = 0;
    int16_t ChartRec9 = 0;
    int16_t ChartRec10 = 1;
    int16_t ChartDiv = 4;
};

// "QMX1.txt" .. "QMX4.txt" for pen 0..3.
QString penFileName(int pen);
QString penFilePath(const QString& folder, int pen);

// The eleven record values of one file, record 1 at index 0.
using PenRecords = std::array<int32_t, kPenRecords>;

// What a file of pen `pen` holds for the settings `s`; records 6 and 7 from `traceOn` and
// `runState` (the chart's own flags).
PenRecords penRecords(const ChartSettings& s, int pen, int traceOn, int runState);

// One pen file as read: each record, or nothing where the record lies beyond the end of the file
// or holds a value out of its range (colour 0..0xFFFFFF, mode 0..2, cycle 1..60, high and low
// -2000..10000, flags 0/1, divisions 2..10). Something other than a regular file under the name (a
// named pipe would hold the open for ever) is unreadable and never opened.
struct PenFileRead {
    enum class Status { Read, Missing, Unreadable } status = Status::Missing;
    std::array<std::optional<int32_t>, kPenRecords> records{};
    QString error; // why an existing file could not be read
    bool complete() const;
};
PenFileRead readPenFile(const QString& path);

// Loads the records of file `pen` into `s` as start-up does: each record that was read overwrites
// its variable; a record that is missing or out of range takes its default. A high that is not
// above the low takes both defaults.
void applyPenFile(ChartSettings& s, int pen, const PenFileRead& file);
// Start-up for a missing file: the pen's own defaults and every common default.
void applyPenDefaults(ChartSettings& s, int pen);
// The settings as they stand after the common records of file `pen` were taken over.
void fixScalePair(ChartSettings& s);

// Writes the records whose bit is set in `mask` (bit r-1 for record r) from `values`, keeping the
// rest of the file. A missing or short file is written whole from `values`. The file is replaced
// only once complete. False with the reason when it cannot be written; something other than a
// regular file under the name is refused unopened.
bool writePenRecords(const QString& path, const PenRecords& values, unsigned mask,
                     QString* why = nullptr);

// Start-up: reads "QMX1.txt" .. "QMX4.txt" of `folder` in turn into `s`; a missing file is made
// whole with the defaults (which reset the common settings earlier files gave), an unreadable one
// counts as holding nothing, so its records take their defaults. Nothing stops on a failure; each
// is returned with its file and reason.
struct PenFileFailure {
    QString path;
    QString why;
};
std::vector<PenFileFailure> loadPenFiles(const QString& folder, ChartSettings& s);

inline constexpr unsigned penRecordBit(int record)
{
    return 1u << (record - 1);
}
inline constexpr unsigned kAllPenRecords = (1u << kPenRecords) - 1;

} // namespace qmx
