#include "files/user_map_file.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <limits>

namespace qmx {

namespace {

// Splits the text into fields the way the files are written: a comma or a line end ends a field,
// blank lines between records are not fields, a quoted field keeps its commas.
class FieldReader {
public:
    explicit FieldReader(const QByteArray& text) : t_(text) {}

    std::optional<QString> next()
    {
        if (!afterComma_)
            skipLineEnds();
        if (pos_ >= t_.size() && !afterComma_)
            return std::nullopt;
        afterComma_ = false;
        skipBlanks();
        QByteArray field;
        if (pos_ < t_.size() && t_[pos_] == '"') {
            const qsizetype close = t_.indexOf('"', pos_ + 1);
            const qsizetype end = close < 0 ? t_.size() : close;
            field = t_.mid(pos_ + 1, end - pos_ - 1);
            pos_ = close < 0 ? t_.size() : close + 1;
            // Anything between the closing quote and the separator belongs to no field.
            while (pos_ < t_.size() && !isSeparator(t_[pos_]))
                ++pos_;
        } else {
            const qsizetype start = pos_;
            while (pos_ < t_.size() && !isSeparator(t_[pos_]))
                ++pos_;
            field = t_.mid(start, pos_ - start).trimmed();
        }
        if (pos_ < t_.size() && t_[pos_] == ',') {
            ++pos_;
            afterComma_ = true;
        }
        return QString::fromLatin1(field);
    }

private:
    static bool isSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }
    void skipLineEnds()
    {
        while (pos_ < t_.size() &&
               (t_[pos_] == '\r' || t_[pos_] == '\n' || t_[pos_] == ' ' || t_[pos_] == '\t'))
            ++pos_;
    }
    void skipBlanks()
    {
        while (pos_ < t_.size() && (t_[pos_] == ' ' || t_[pos_] == '\t'))
            ++pos_;
    }

    const QByteArray& t_;
    qsizetype pos_ = 0;
    bool afterComma_ = false;
};

std::optional<qint64> decimal(const std::optional<QString>& field, qint64 lo, qint64 hi)
{
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]{1,18}$"));
    if (!field || !digits.match(*field).hasMatch())
        return std::nullopt;
    const qint64 v = field->toLongLong();
    if (v < lo || v > hi)
        return std::nullopt;
    return v;
}

} // namespace

QString userMapFileName(int romNo)
{
    return romNo == 1 ? QStringLiteral("DadrQMX1.DAT") : QStringLiteral("DadrQMX2.DAT");
}

QString findFileAnyCase(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(name)).isFile())
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    return QString();
}

std::optional<UserMap> parseUserMap(const QByteArray& text)
{
    FieldReader in(text);
    UserMap map;
    for (UserMapRecord& r : map) {
        const std::optional<QString> name = in.next();
        const auto address = decimal(in.next(), std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max());
        const auto number = decimal(in.next(), std::numeric_limits<int16_t>::min(),
                                    std::numeric_limits<int16_t>::max());
        if (!name || !address || !number)
            return std::nullopt;
        r.name = *name;
        r.address = static_cast<int32_t>(*address);
        r.number = static_cast<int16_t>(*number);
    }
    return map;
}

std::optional<UserMap> readUserMapFile(const QString& folder, int romNo)
{
    const QString path = findFileAnyCase(folder, userMapFileName(romNo));
    if (path.isEmpty())
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseUserMap(f.readAll());
}

} // namespace qmx
