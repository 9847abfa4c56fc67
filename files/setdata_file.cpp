#include "files/setdata_file.h"

#include "files/files_log.h"
#include "files/regular_file.h"
#include "files/safe_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace qmx {

namespace {

constexpr int kHeaderFields = 8; // marker, header word, six option words
constexpr int kStandardValues = kLastStandardItem - kFirstPara + 1; // items 11..65

// Splits the file into fields: a field ends at a line end (CR LF, CR or LF) or a comma. A field
// that starts with a double quote runs to the closing quote, and the quotes are removed.
QList<QByteArray> splitFields(const QByteArray& bytes)
{
    QList<QByteArray> fields;
    QByteArray cur;
    bool pending = false; // a field has started since the last delimiter
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '"' && cur.trimmed().isEmpty()) {
            const qsizetype close = bytes.indexOf('"', i + 1);
            const qsizetype end = close < 0 ? bytes.size() : close;
            cur = bytes.mid(i + 1, end - i - 1);
            pending = true;
            i = end; // anything after the closing quote up to the delimiter is dropped
            while (i + 1 < bytes.size() && bytes[i + 1] != ',' && bytes[i + 1] != '\r' &&
                   bytes[i + 1] != '\n')
                ++i;
            continue;
        }
        if (c == ',' || c == '\r' || c == '\n') {
            fields.append(cur);
            cur.clear();
            pending = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            continue;
        }
        cur.append(c);
        pending = true;
    }
    if (pending)
        fields.append(cur);
    return fields;
}

// A signed decimal number within 16 bits, blanks around it allowed; nothing else.
std::optional<int16_t> parseValue(const QByteArray& field)
{
    const QByteArray t = field.trimmed();
    if (t.isEmpty() || t.size() > 12)
        return std::nullopt;
    qsizetype i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size())
        return std::nullopt;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        v = v * 10 + (t[i] - '0');
    }
    if (t[0] == '-')
        v = -v;
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(v);
}

void setWhy(QString* why, const QString& text)
{
    if (why)
        *why = text;
}

} // namespace

std::optional<SetData> parseSetData(const QByteArray& bytes, QString* why)
{
    // An editor may have put a byte-order mark in front of the marker.
    const QByteArray bom("\xEF\xBB\xBF");
    const QList<QByteArray> f = splitFields(bytes.startsWith(bom) ? bytes.mid(bom.size()) : bytes);
    if (f.isEmpty()) {
        setWhy(why, QStringLiteral("the file is empty"));
        return std::nullopt;
    }
    if (f.size() < kHeaderFields) {
        setWhy(
            why,
            QStringLiteral("the file ends after line %1, before its option words").arg(f.size()));
        return std::nullopt;
    }
    SetData s;
    s.model = QString::fromLatin1(f[0].trimmed());
    s.infrared = s.model == QLatin1String("RDQMX");
    const int values = kStandardValues + (s.infrared ? 1 : 0);
    if (f.size() < kHeaderFields + values) {
        setWhy(why, QStringLiteral("the file ends after line %1, with %2 of its %3 values")
                        .arg(f.size())
                        .arg(f.size() - kHeaderFields)
                        .arg(values));
        return std::nullopt;
    }
    for (int k = 1; k < kHeaderFields + values; ++k) {
        const auto v = parseValue(f[k]);
        if (!v) {
            setWhy(why, QStringLiteral("line %1 is not a 16-bit number").arg(k + 1));
            return std::nullopt;
        }
        if (k == 1)
            s.head = *v;
        else if (k < kHeaderFields)
            s.opt[static_cast<size_t>(k - 2)] = *v;
        else
            s.values[static_cast<size_t>(k - kHeaderFields)] = *v;
    }
    return s;
}

std::optional<SetData> readSetDataFile(const QString& path, SetDataError* err, QString* why)
{
    auto fail = [&](SetDataError e, const QString& reason) {
        if (err)
            *err = e;
        setWhy(why, reason);
        qCInfo(lcFiles).noquote() << "set-data file" << QDir::toNativeSeparators(path)
                                  << "refused:" << reason;
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(SetDataError::NotFound, QStringLiteral("the file does not exist"));
    // A named pipe, a device or a folder is no set-data file, and opening a pipe would wait for a
    // writer for ever: only a regular file is opened at all.
    if (!info.isFile())
        return fail(SetDataError::NotRegular, notRegularReason());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(SetDataError::Unreadable, file.errorString());
    // A set-data file is a few hundred bytes; anything far larger is not one.
    const QByteArray bytes = file.read(1 << 20);
    if (file.error() != QFileDevice::NoError)
        return fail(SetDataError::Unreadable, file.errorString());
    QString malformed;
    auto s = parseSetData(bytes, &malformed);
    if (!s)
        return fail(SetDataError::Malformed, malformed);
    if (err)
        *err = SetDataError::None;
    return s;
}

void applySetData(QmxData& d, const SetData& s, bool headerRule)
{
    d.FileModel = s.model;
    d.FileHead = s.head;
    d.OptSet_Alarm2 = s.opt[0];
    d.OptSet_HeatCool = s.opt[1];
    d.OptSet_HB = s.opt[2];
    d.OptSet_SVsel = s.opt[3];
    d.OptSet_OutType = s.opt[4];
    d.OptSet_Comm = s.opt[5];
    d.RDModel = s.infrared;
    d.RDModelFile = s.infrared;
    const int last = s.infrared ? kInfraredItem : kLastStandardItem;
    for (int item = kFirstPara; item <= last; ++item)
        d.ParaVal(item) = s.values[static_cast<size_t>(item - kFirstPara)];
    if (headerRule && s.head == 1) {
        d.OptSet_Alarm2 = d.OptSet_HeatCool = d.OptSet_HB = 0;
        d.OptSet_SVsel = d.OptSet_OutType = d.OptSet_Comm = 0;
    }
}

QString setDataMarker(const QmxData& d)
{
    if (d.RDModel)
        return QStringLiteral("RDQMX");
    return d.ModelName.isEmpty() ? QString() : QStringLiteral("QMX-400");
}

QByteArray formatSetData(const QmxData& d)
{
    QByteArray out;
    auto line = [&out](const QByteArray& text) { out += text + "\r\n"; };
    line('"' + setDataMarker(d).toLatin1() + '"');
    line("0");
    for (int16_t w : {d.OptSet_Alarm2, d.OptSet_HeatCool, d.OptSet_HB, d.OptSet_SVsel,
                      d.OptSet_OutType, d.OptSet_Comm})
        line(QByteArray::number(w));
    const int last = d.RDModel ? kInfraredItem : kLastStandardItem;
    for (int item = kFirstPara; item <= last; ++item)
        line(QByteArray::number(d.ParaVal(item)));
    return out;
}

bool writeSetDataFile(const QString& path, const QmxData& d, QString* why)
{
    return saveWholeFile(path, formatSetData(d), why);
}

} // namespace qmx
