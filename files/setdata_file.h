// Set-data files: one whole parameter set (model marker, option set, values of items 11..65, and
// 66 on the infrared variant), one value a line, CR LF line ends.
#pragma once

#include "model/qmx_data.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace qmx {

struct SetData {
    QString model;                    // line 1, quotes removed
    int16_t head = 0;                 // line 2
    std::array<int16_t, 6> opt{};     // lines 3..8: OptSet_Alarm2 .. OptSet_Comm
    std::array<int16_t, 56> values{}; // items 11..66 (index item - 11)
    bool infrared = false;            // model == "RDQMX": item 66 is present
};

// NotRegular: the path names something that is not a regular file (a named pipe, a device, a
// folder); it is refused before it is opened.
enum class SetDataError { None, NotFound, NotRegular, Unreadable, Malformed };

// Parses a whole file. A file is accepted only when every field the marker calls for is present and
// each value is a decimal number within 16 bits; lines after those are ignored.
std::optional<SetData> parseSetData(const QByteArray& bytes, QString* why = nullptr);

// Reads `path`; on failure returns nullopt, says what kind of failure in `err` and why in `why`
// (which line and what is wrong with it, or the system's error), and logs the reason under
// "qmx.files".
std::optional<SetData> readSetDataFile(const QString& path, SetDataError* err = nullptr,
                                       QString* why = nullptr);

// Applies a parsed file to the data all at once: FileModel, FileHead, the option words, RDModel,
// RDModelFile and ParaVal(11..65) (66 too on the infrared variant). With `headerRule`, header word
// 1 clears the six option words (the File load menu applies it, the start-up reader does not).
void applySetData(QmxData& d, const SetData& s, bool headerRule);

// The text of a set-data file for the current data (FileHead written 0).
QByteArray formatSetData(const QmxData& d);
// The model marker a save writes: "RDQMX" whenever RDModel is set, else "QMX-400" once a model
// name is known, else "".
QString setDataMarker(const QmxData& d);

// Writes the file through SafeSave: a failed or interrupted save (a full disk included) leaves the
// old file as it was, and `why` holds the system's reason.
bool writeSetDataFile(const QString& path, const QmxData& d, QString* why = nullptr);

} // namespace qmx
