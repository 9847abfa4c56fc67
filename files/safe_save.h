// Whole-file writes that never destroy the file they replace. The bytes go to a temporary file
// beside the target; every write, the flush and the sync to disk are checked, and only a file that
// holds all of them takes the target's name. On any failure the old file stays as it was and the
// system's reason is kept for the message the operator sees.
//
// Every file the program writes whole goes through here: set-data files, trend-pen files, new
// exports (an export appended to an existing file is written in place, files/csv_export.cpp).
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace qmx {

class SafeSave {
public:
    explicit SafeSave(const QString& path);
    // A file never committed is thrown away; the old one stays.
    ~SafeSave();
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    bool open();
    // Appends `bytes`; false (and every later call false) once a write has failed.
    bool write(const QByteArray& bytes);
    // Flushes, syncs and renames; false when any step failed, the old file then untouched.
    bool commit();
    // The system's reason for the first failure, empty while nothing failed.
    QString errorString() const { return why_; }

private:
    bool fail(const QString& why);

    QSaveFile file_;
    QString why_;
    bool failed_ = false;
};

// The whole of `bytes` as the file at `path`. On failure returns false with the reason in `why`.
bool saveWholeFile(const QString& path, const QByteArray& bytes, QString* why = nullptr);

} // namespace qmx
