#include "files/pen_files.h"

#include "files/regular_file.h"
#include "files/safe_save.h"

#include <QDir>
#include <QFile>

#include <type_traits>

namespace qmx {

namespace {

// The record ranges a value must keep to be taken; anything else is a damaged file.
bool inRange(int record, int32_t v)
{
    switch (record) {
    case 1:
        return v >= 0 && v <= 0xFFFFFF;
    case 2:
        return v >= 0 && v <= 2;
    case 3:
        return v >= 1 && v <= 60;
    case 4:
    case 5:
        return v >= -2000 && v <= 10000;
    case 6:
    case 7:
        return v == 0 || v == 1;
    case 11:
        return v >= 2 && v <= 10;
    default:
        return true; // records 8 to 10 carry no meaning of ours
    }
}

int32_t recordAt(const QByteArray& bytes, int record)
{
    const int at = (record - 1) * 4;
    const auto b = [&](int i) { return uint32_t(uint8_t(bytes.at(at + i))); };
    if (record <= 5)
        return int32_t(b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24);
    return int16_t(uint16_t(b(0) | b(1) << 8));
}

void putRecord(QByteArray& bytes, int record, int32_t v)
{
    const int at = (record - 1) * 4;
    const auto u = uint32_t(v);
    bytes[at] = char(u & 0xFF);
    bytes[at + 1] = char(u >> 8 & 0xFF);
    if (record <= 5) {
        bytes[at + 2] = char(u >> 16 & 0xFF);
        bytes[at + 3] = char(u >> 24 & 0xFF);
    } else {
        // The two bytes after a 16-bit record mean nothing; we write them as zero.
        bytes[at + 2] = 0;
        bytes[at + 3] = 0;
    }
}

} // namespace

QString penFileName(int pen)
{
    return QStringLiteral("QMX%1.txt").arg(pen + 1);
}

QString penFilePath(const QString& folder, int pen)
{
    return QDir(folder).filePath(penFileName(pen));
}

PenRecords penRecords(const ChartSettings& s, int pen, int traceOn, int runState)
{
    return {s.PenColor[size_t(pen)],
            s.ChartXMode,
            s.ChartItv,
            s.ChartSH,
            s.ChartSL,
            int16_t(traceOn),
            int16_t(runState),
            s.ChartRec8,
            s.ChartRec9,
            s.ChartRec10,
            s.ChartDiv};
}

bool PenFileRead::complete() const
{
    for (const auto& r : records)
        if (!r)
            return false;
    return true;
}

PenFileRead readPenFile(const QString& path)
{
    PenFileRead out;
    QFile f(path);
    if (!f.exists()) {
        out.status = PenFileRead::Status::Missing;
        return out;
    }
    if (existsButNotRegular(path)) {
        out.status = PenFileRead::Status::Unreadable;
        out.error = notRegularReason();
        return out;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        out.status = PenFileRead::Status::Unreadable;
        out.error = f.errorString();
        return out;
    }
    const QByteArray bytes = f.read(kPenFileSize);
    if (f.error() != QFileDevice::NoError) {
        out.status = PenFileRead::Status::Unreadable;
        out.error = f.errorString();
        return out;
    }
    out.status = PenFileRead::Status::Read;
    for (int r = 1; r <= kPenRecords; ++r) {
        // A 16-bit record needs only its first two bytes.
        const int needed = (r - 1) * 4 + (r <= 5 ? 4 : 2);
        if (bytes.size() < needed)
            break;
        const int32_t v = recordAt(bytes, r);
        if (inRange(r, v))
            out.records[size_t(r - 1)] = v;
    }
    return out;
}

void applyPenDefaults(ChartSettings& s, int pen)
{
    const ChartSettings def;
    s.PenColor[size_t(pen)] = def.PenColor[size_t(pen)];
    s.PenOn[size_t(pen)] = def.PenOn[size_t(pen)];
    s.ChartXMode = def.ChartXMode;
    s.ChartItv = def.ChartItv;
    s.ChartSH = def.ChartSH;
    s.ChartSL = def.ChartSL;
    s.ChartRec7 = def.ChartRec7;
    s.ChartRec8 = def.ChartRec8;
    s.ChartRec9 = def.ChartRec9;
    s.ChartRec10 = def.ChartRec10;
    s.ChartDiv = def.ChartDiv;
}

void fixScalePair(ChartSettings& s)
{
    if (s.ChartSH <= s.ChartSL) {
        const ChartSettings def;
        s.ChartSH = def.ChartSH;
        s.ChartSL = def.ChartSL;
    }
}

void applyPenFile(ChartSettings& s, int pen, const PenFileRead& file)
{
    const ChartSettings def;
    const auto take = [&](int record, auto& var, auto fallback) {
        const auto& r = file.records[size_t(record - 1)];
        var = static_cast<std::remove_reference_t<decltype(var)>>(r ? *r : fallback);
    };
    take(1, s.PenColor[size_t(pen)], def.PenColor[size_t(pen)]);
    take(2, s.ChartXMode, def.ChartXMode);
    take(3, s.ChartItv, def.ChartItv);
    take(4, s.ChartSH, def.ChartSH);
    take(5, s.ChartSL, def.ChartSL);
    take(6, s.PenOn[size_t(pen)], def.PenOn[size_t(pen)]);
    take(7, s.ChartRec7, def.ChartRec7);
    take(8, s.ChartRec8, def.ChartRec8);
    take(9, s.ChartRec9, def.ChartRec9);
    take(10, s.ChartRec10, def.ChartRec10);
    take(11, s.ChartDiv, def.ChartDiv);
    fixScalePair(s);
}

bool writePenRecords(const QString& path, const PenRecords& values, unsigned mask, QString* why)
{
    if (existsButNotRegular(path)) {
        if (why)
            *why = notRegularReason();
        return false;
    }
    QByteArray bytes;
    {
        QFile old(path);
        if (old.exists()) {
            if (!old.open(QIODevice::ReadOnly)) {
                if (why)
                    *why = old.errorString();
                return false;
            }
            bytes = old.readAll();
        }
    }
    // A short file would otherwise get one record after zero bytes that read as nonsense: it is
    // made whole from the settings in force.
    if (bytes.size() < kPenFileSize) {
        bytes.resize(kPenFileSize);
        mask = kAllPenRecords;
    }
    for (int r = 1; r <= kPenRecords; ++r)
        if (mask & penRecordBit(r))
            putRecord(bytes, r, values[size_t(r - 1)]);

    return saveWholeFile(path, bytes, why);
}

std::vector<PenFileFailure> loadPenFiles(const QString& folder, ChartSettings& s)
{
    std::vector<PenFileFailure> failures;
    for (int pen = 0; pen < kPenCount; ++pen) {
        const QString path = penFilePath(folder, pen);
        const PenFileRead file = readPenFile(path);
        if (file.status == PenFileRead::Status::Missing) {
            applyPenDefaults(s, pen);
            QString why;
            if (!writePenRecords(path, penRecords(s, pen, s.PenOn[size_t(pen)], s.ChartRec7),
                                 kAllPenRecords, &why))
                failures.push_back({path, why});
            continue;
        }
        if (file.status == PenFileRead::Status::Unreadable)
            failures.push_back({path, file.error});
        applyPenFile(s, pen, file);
    }
    return failures;
}

} // namespace qmx
