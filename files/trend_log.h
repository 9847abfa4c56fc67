// The data log of a trend run: one CSV file per run in "Logging" under the program folder, named
// by the date and time of its first sample ("2015_6_23_9_5_7.csv"). Every field is a text in
// double quotes followed by a comma, lines end in CR LF. Line 1 names the data, line 2 the
// columns (date, time, then the logged pens), then one row per sample. The file is closed between
// samples so other programs can read it while the run goes on.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

namespace qmx {

// The log name for a run whose first sample is taken at `now`.
QString Make_LogName(const QString& programFolder, const QDateTime& now);

// The header lines: `title` alone, then `date`, `time` and the names of the logged pens.
QByteArray logHeader(const QString& title, const QString& date, const QString& time,
                     const QStringList& pens);
// One sample's row: its date and time texts and the logged pens' texts as shown.
QByteArray logRow(const QString& date, const QString& time, const QStringList& values);

// One run's log file.
class TrendLog {
public:
    // Creates the run's file at `path` with the header and the first row, the folder too when it
    // is missing. A file of that name already there (a run started within the same second) is kept:
    // the new run logs to "…-2.csv", "…-3.csv" instead. False with the reason when it fails.
    bool start(const QString& path, const QByteArray& header, const QByteArray& firstRow,
               QString* why = nullptr);
    // Appends one row. While the file could not be made yet, it is made now; a file that is
    // empty (made while the disk was full, or again after its folder had gone) gets the header
    // first, so no rows stand without it. A row that cannot be written whole is cut back off the
    // file, which holds whole rows only; the row is lost.
    bool append(const QByteArray& row, QString* why = nullptr);
    // The file this run logs to.
    QString path() const { return path_; }

private:
    bool create(const QByteArray& row, QString* why);
    bool reopen(const QByteArray& row, QString* why);
    bool appendTo(QFile& f, const QByteArray& row, QString* why);
    // Keeps the reason of a failure in the files' log, once for a stretch of failures, and how
    // many rows the stretch lost once a row is written again.
    bool tally(bool written, const QString& reason, QString* why);

    QString path_;
    QByteArray header_;
    bool created_ = false;
    int lost_ = 0; // rows not written since the last that was
};

} // namespace qmx
