// The user register-map files that come with the user-map variant of the controller: "DadrQMX1.DAT"
// for ROM number 1, "DadrQMX2.DAT" for any other non-zero ROM number. Each holds 17 records of
// three fields (a name, a register address, a 16-bit number), separated by commas or line ends; a
// name may stand in double quotes. Record k gives the address of special code k.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace qmx {

struct UserMapRecord {
    QString name;
    int32_t address = 0;
    int16_t number = 0;
};

constexpr int kUserMapRecords = 17;
using UserMap = std::array<UserMapRecord, kUserMapRecords>;

// The file name for a ROM number (never called with 0).
QString userMapFileName(int romNo);

// The path of `name` in `folder`, whatever the case of its letters; empty when there is none.
// An exact match wins over one that differs only in case.
QString findFileAnyCase(const QString& folder, const QString& name);

// The 17 records of a map file's text; nothing when the text ends before the 17th record or an
// address or number is not a decimal integer that fits its field. Text after the 17th record is
// not looked at.
std::optional<UserMap> parseUserMap(const QByteArray& text);

// Finds and reads the map file for `romNo` in `folder`; nothing when it is missing, unreadable,
// short or malformed: all of these leave the program without a usable map alike.
std::optional<UserMap> readUserMapFile(const QString& folder, int romNo);

} // namespace qmx
