// The parameter export's text: its records, its field quoting and its default file name.
#pragma once

#include "rules/report_rows.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace qmx {

// One field: always between double quotes, an embedded quote doubled (RFC 4180). Line breaks
// inside stay as they are; the quotes keep them in the field.
QString csvField(const QString& text);
// One record: the fields joined by a comma, ended by CR LF.
QString csvRecord(const QStringList& fields);

// One export block: the title (string 791), the heading (792), the column headings (793 to 795),
// then one record per flagged row in row order. UTF-8 without a byte-order mark.
QByteArray paraCsvBlock(const ReportRows& rows);

// The default name: the prefix, then year_month_day_hour_minute_second in decimal without leading
// zeros, then ".csv" ("QMX-52C2026_1_5_9_3_7.csv").
QString Make_CsvName(const QString& prefix, const QDateTime& now);

// `name` when `taken` says it is free, else the first free of "stem-2.ext", "stem-3.ext" ...: two
// exports in the same second get two files.
QString freeName(const QString& name, const std::function<bool(const QString&)>& taken);

} // namespace qmx
