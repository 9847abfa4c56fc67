// Writing a parameter export: an export block goes after whatever the chosen file already holds.
#pragma once

#include <QByteArray>
#include <QString>

namespace qmx {

// The folder exports go to by default: "csvdata" in the program folder.
QString csvFolder();

// Appends `block` to the file at `path`, creating it when missing. A new file is written whole
// and takes its name only once every byte is on disk. An existing one takes the block in place
// (its folder need not be writable), written and synced; a block that does not get in whole is cut
// off again. Either way a failure leaves the old content as it was and nothing half-written.
// False with the system's reason.
bool appendCsvBlock(const QString& path, const QByteArray& block, QString* why);

} // namespace qmx
