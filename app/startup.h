// The program's start: one instance per user, the working folders, the set-data file named on the
// command line, then the main window.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QApplication;

namespace qmx {

struct QmxData;

// The set-data file the command line names, or an empty text. The shell has already removed the
// quotes, so the words are taken as one quoted path: it is used only when it ends in ".dat"
// (exactly so: ".DAT" is not taken) and the quoted text is longer than six characters; a relative
// path is taken from `startDir`, the folder the program was started from.
QString commandLineSetData(const QStringList& words, const QString& startDir);

// Reads the start-up set-data file (or the defaults) into `d` and says which message, if any, the
// operator gets: 0 none, 39 file not found, 27 a file that cannot be read or is malformed (with
// the file and the reason in `detail`). Nothing of a bad file is applied.
int loadStartupData(QmxData& d, const QString& path, QString* detail = nullptr);

// Everything from the instance check to the running main window; returns the exit code.
int Sub_Main(QApplication& app, QmxData& d);

} // namespace qmx
