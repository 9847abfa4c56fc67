#include "rules/chart_keypad.h"

namespace qmx {

KeypadRange keypadRange(EntryMode mode)
{
    switch (mode) {
    case EntryMode::Cycle:
        return {1, 60};
    case EntryMode::Divisions:
        return {2, 10};
    case EntryMode::ScaleHigh:
    case EntryMode::ScaleLow:
        break;
    }
    return {-2000, 10000};
}

KeypadRange signRange(EntryMode mode)
{
    return mode == EntryMode::Cycle ? KeypadRange{1, 60} : KeypadRange{-2000, 10000};
}

QString keypadRangeText(EntryMode mode, int scaleHigh, int scaleLow)
{
    switch (mode) {
    case EntryMode::ScaleHigh:
        return QString::number(scaleLow + 1) + QStringLiteral(" to 10000");
    case EntryMode::ScaleLow:
        return QStringLiteral("-2000 to ") + QString::number(scaleHigh - 1);
    case EntryMode::Cycle:
        return QStringLiteral("1 to 60");
    case EntryMode::Divisions:
        return QStringLiteral("2 to 10");
    }
    return QString();
}

KeypadVerdict keypadOk(EntryMode mode, const QString& entry, int scaleHigh, int scaleLow)
{
    if (entry.trimmed().isEmpty())
        return {559, 0};
    const int v = entryNumber(entry);
    const KeypadRange r = keypadRange(mode);
    if (v < r.lo || v > r.hi)
        return {229, 0};
    if (mode == EntryMode::ScaleHigh && v <= scaleLow)
        return {554, 0};
    if (mode == EntryMode::ScaleLow && v >= scaleHigh)
        return {554, 0};
    return {0, v};
}

} // namespace qmx
