#include "rules/entry_keypad.h"

namespace qmx {

namespace {

constexpr int kMaxEntryLength = 6; // a sign or blank and five digits

} // namespace

int32_t entryNumber(const QString& entry)
{
    QString digits = entry;
    digits.remove(QLatin1Char(' '));
    if (digits.isEmpty())
        return 0;
    bool ok = false;
    const int32_t v = digits.toInt(&ok);
    return ok ? v : 0;
}

QString entryText(int32_t v)
{
    return v < 0 ? QString::number(v) : QStringLiteral(" ") + QString::number(v);
}

QString appendDigit(const QString& entry, int digit)
{
    if (entry.size() >= kMaxEntryLength || digit < 0 || digit > 9)
        return entry;
    const int32_t v = entryNumber(entry);
    return entryText(v * 10 + (v < 0 ? -digit : digit));
}

QString negateEntry(const QString& entry)
{
    return entryText(-entryNumber(entry));
}

EntryKey classifyKey(int keyAscii)
{
    if (keyAscii >= '0' && keyAscii <= '9')
        return EntryKey::Digit;
    switch (keyAscii) {
    case '-':
        return EntryKey::Negate;
    case 13:
        return EntryKey::Commit;
    case 8:
    case '.':
        return EntryKey::Clear;
    default:
        return EntryKey::Other;
    }
}

EntryVerdict judgeEntry(const QString& entry, const QString& shown, int32_t min, int32_t max)
{
    if (entry.trimmed().isEmpty() || shown.isEmpty())
        return EntryVerdict::Empty;
    const int32_t v = entryNumber(entry);
    return v > max || v < min ? EntryVerdict::OutOfRange : EntryVerdict::Accepted;
}

} // namespace qmx
