#include "model/string_table.h"

#include <QFile>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <optional>

namespace qmx {

namespace {

std::optional<Language> pinnedLanguage;

QString unescape(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c != u'\\' || i + 1 == s.size()) {
            out += c;
            continue;
        }
        const QChar n = s[++i];
        if (n == u'r')
            out += u'\r';
        else if (n == u'n')
            out += u'\n';
        else if (n == u't')
            out += u'\t';
        else if (n == u'\\')
            out += u'\\';
        else {
            out += c;
            out += n;
        }
    }
    return out;
}

const QHash<int, QString>& table(Language lang)
{
    // Loaded once from the compiled-in resources; the tables never change while the program runs.
    static const QHash<int, QString> tables[2] = {
        [] {
            QHash<int, QString> t;
            QFile f(QStringLiteral(":/strings/en.tsv"));
            if (f.open(QIODevice::ReadOnly))
                parseStringTable(f.readAll(), t);
            return t;
        }(),
        [] {
            QHash<int, QString> t;
            QFile f(QStringLiteral(":/strings/ja.tsv"));
            if (f.open(QIODevice::ReadOnly))
                parseStringTable(f.readAll(), t);
            return t;
        }(),
    };
    return tables[lang == Language::Japanese ? 1 : 0];
}

} // namespace

bool parseStringTable(const QByteArray& data, QHash<int, QString>& out, QString* error)
{
    out.clear();
    const QString text = QString::fromUtf8(data);
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        if (line.isEmpty() && n == lines.size() - 1)
            break; // the final line end
        const qsizetype tab = line.indexOf(u'\t');
        bool ok = false;
        const int id = tab > 0 ? line.left(tab).toInt(&ok) : 0;
        if (!ok || id <= 0 || out.contains(id)) {
            if (error)
                *error = QStringLiteral("line %1 is malformed").arg(n + 1);
            out.clear();
            return false;
        }
        out.insert(id, unescape(QStringView(line).mid(tab + 1)));
    }
    return true;
}

Language uiLanguage()
{
    if (pinnedLanguage)
        return *pinnedLanguage;
    return QLocale::system().language() == QLocale::Japanese ? Language::Japanese
                                                             : Language::English;
}

void setUiLanguage(Language lang)
{
    pinnedLanguage = lang;
}

QString LoadResString(int id, Language lang)
{
    const auto& t = table(lang);
    const auto it = t.constFind(id);
    if (it == t.constEnd())
        return QStringLiteral("#STR %1#").arg(id);
    return *it;
}

QString LoadResString(int id)
{
    return LoadResString(id, uiLanguage());
}

QString LoadResLines(std::initializer_list<int> ids)
{
    QStringList out;
    for (int id : ids)
        out << LoadResString(id);
    return out.join(u'\n');
}

bool hasString(int id, Language lang)
{
    return table(lang).contains(id);
}

QList<int> stringNumbers(Language lang)
{
    QList<int> ids = table(lang).keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace qmx
