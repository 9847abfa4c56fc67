// Writing a parameter export: an export block goes after whatever the chosen file already holds.
#pragma once

#include <QByteArray>
#include <QString>

namespace qmx {

// The folder exports go to by default: "csvdata" in the program folder.
QString csvFolder();

// Appends `block` to the file at `path`, creating it when missing. The whole file is written
// beside the old one and replaces it only once every byte is on disk, so a failure leaves the old
// file as it was and no half-written one. False with the system's reason.
bool appendCsvBlock(const QString& path, const QByteArray& block, QString* why);

} // namespace qmx
