#include "rules/para_csv.h"

#include "model/string_table.h"

namespace qmx {

QString csvField(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString csvRecord(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& f : fields)
        quoted << csvField(f);
    return quoted.join(QLatin1Char(',')) + QLatin1String("\r\n");
}

QByteArray paraCsvBlock(const ReportRows& rows)
{
    QString out = csvRecord({LoadResString(791)});
    out += csvRecord({LoadResString(792)});
    out += csvRecord({LoadResString(793), LoadResString(794), LoadResString(795)});
    for (int k = 0; k < kReportSlots; ++k)
        if (rows.RptFlag[size_t(k)])
            out += csvRecord(
                {rows.RptItem[size_t(k)], rows.RptData[size_t(k)], rows.RptUnit[size_t(k)]});
    return out.toUtf8();
}

QString Make_CsvName(const QString& prefix, const QDateTime& now)
{
    const QDate d = now.date();
    const QTime t = now.time();
    return prefix + QStringLiteral("%1_%2_%3_%4_%5_%6.csv")
                        .arg(d.year())
                        .arg(d.month())
                        .arg(d.day())
                        .arg(t.hour())
                        .arg(t.minute())
                        .arg(t.second());
}

QString freeName(const QString& name, const std::function<bool(const QString&)>& taken)
{
    if (!taken(name))
        return name;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? name : name.left(dot);
    const QString ext = dot < 0 ? QString() : name.mid(dot);
    for (int n = 2;; ++n) {
        const QString candidate = stem + QLatin1Char('-') + QString::number(n) + ext;
        if (!taken(candidate))
            return candidate;
    }
}

} // namespace qmx
