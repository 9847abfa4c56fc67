// The string table: every caption and message by number, in English and in Japanese.
#pragma once

#include <QString>

#include <initializer_list>

namespace qmx {

enum class Language { English, Japanese };

// The text of entry `id` in the user-interface language. An absent number gives the visible
// marker "#STR id#" so a mistake shows on screen instead of crashing.
QString LoadResString(int id);
// Several entries as one message, a line each.
QString LoadResLines(std::initializer_list<int> ids);
// The same in a given language (for the help-file choice and the tests).
QString LoadResString(int id, Language lang);

// The language of the user interface: Japanese on a Japanese system, English otherwise.
Language uiLanguage();
// Tests and the demo may pin the language; by default it follows QLocale::system().
void setUiLanguage(Language lang);

// Whether entry `id` exists in the table of `lang`.
bool hasString(int id, Language lang);
// Every present number of `lang`, ascending.
QList<int> stringNumbers(Language lang);

// Reads one table file in its stored form: "number<TAB>text" a line, with \r \n \t \\ escapes.
// Returns false and leaves `out` empty when a line is malformed.
bool parseStringTable(const QByteArray& data, QHash<int, QString>& out, QString* error = nullptr);

} // namespace qmx
