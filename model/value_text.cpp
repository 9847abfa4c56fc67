#include "model/value_text.h"

#include "model/items.h"
#include "model/string_table.h"

namespace qmx {

namespace {

QString str(int id)
{
    return LoadResString(id);
}

// A lookup from consecutive codes 0..n-1 to string numbers; outside the list: the empty text.
template <size_t N> QString pick(int code, const int (&ids)[N])
{
    if (code < 0 || code >= static_cast<int>(N))
        return QString();
    return str(ids[code]);
}

int inputType(const QmxData& d)
{
    return d.ParaVal(item::kInputType);
}

// DC inputs take their decimals from item 27 (0..3); any other value shows nothing.
QString decimalPointRule(const QmxData& d, int v)
{
    const int dp = d.ParaVal(item::kDecimalPoint);
    if (dp < 0 || dp > 3)
        return QString();
    return formatScaled(v, dp);
}

bool isRd(const QmxData& d)
{
    return d.RDModel;
}

} // namespace

QString formatScaled(int v, int decimals)
{
    if (decimals <= 0)
        return QString::number(v);
    static constexpr int kDiv[] = {1, 10, 100, 1000};
    const int div = kDiv[decimals > 3 ? 3 : decimals];
    const long long mag = v < 0 ? -static_cast<long long>(v) : v;
    QString frac = QString::number(mag % div);
    frac = frac.rightJustified(decimals, u'0');
    return (v < 0 ? QStringLiteral("-") : QString()) + QString::number(mag / div) + u'.' + frac;
}

QString MakeRange(const QmxData& d)
{
    const int c = inputType(d);
    if (!isListedInput(c, isRd(d)))
        return QString();
    return str((isRd(d) ? 797 : 750) + c);
}

QString Alarm_Type_Text(int code)
{
    static constexpr int ids[] = {200, 201, 203, 205, 207, 209, 211, 202, 204, 206};
    return pick(code, ids);
}

QString Lock_Text(int code)
{
    static constexpr int ids[] = {244, 245, 246, 247};
    return pick(code, ids);
}

QString Cool_Type_Text(int code)
{
    static constexpr int ids[] = {238, 239, 240};
    return pick(code, ids);
}

QString Alarm_Energize_Text(int code)
{
    static constexpr int ids[] = {242, 243};
    return pick(code, ids);
}

QString ATAR_Text(const QmxData& d, int code)
{
    const bool pid = d.ParaVal(item::kProportionalBand) != 0 &&
                     d.ParaVal(item::kIntegralTime) != 0 && d.ParaVal(item::kDerivativeTime) != 0;
    static constexpr int at[] = {55, 54};
    static constexpr int ar[] = {169, 168};
    return pid ? pick(code, at) : pick(code, ar);
}

QString Dp_Text(int code)
{
    static const char* const texts[] = {"XXXX", "XXX. X", "XX. XX", "X. XXX"};
    return code >= 0 && code <= 3 ? QString::fromLatin1(texts[code]) : QString();
}

QString Action_Text(int code)
{
    static constexpr int ids[] = {315, 316};
    return pick(code, ids);
}

QString OutOff_Text(int code)
{
    static constexpr int ids[] = {318, 317};
    return pick(code, ids);
}

QString Backlight_Text(int code)
{
    static constexpr int ids[] = {60, 61, 62, 63, 64, 65, 66};
    return pick(code, ids);
}

QString PvColor_Text(int code)
{
    static constexpr int ids[] = {67, 68, 69, 70, 71, 72, 73};
    return pick(code, ids);
}

QString AutoMan_Text(int code)
{
    static constexpr int ids[] = {319, 320};
    return pick(code, ids);
}

QString EventInput_Text(int code)
{
    static constexpr int ids[] = {226, 227, 228};
    return pick(code, ids);
}

QString Output_Text(int code)
{
    static constexpr int ids[] = {163, 164};
    return pick(code, ids);
}

QString KeyFunction_Text(int code)
{
    static constexpr int ids[] = {176, 177};
    return pick(code, ids);
}

QString Indication_Text(int code)
{
    static constexpr int ids[] = {165, 166, 167, 157};
    return pick(code, ids);
}

// The texts the value labels give a selection item's code.
QString Code_Text(const QmxData& d, int item, int v)
{
    switch (item) {
    case 12:
        return ATAR_Text(d, v);
    case 22:
        return Lock_Text(v);
    case 27:
        return Dp_Text(v);
    case 32:
        return Cool_Type_Text(v);
    case 36:
    case 37:
        return Alarm_Type_Text(v);
    case 42:
        return Indication_Text(v);
    case 45:
        return OutOff_Text(v);
    case 46:
        return AutoMan_Text(v);
    case 48:
    case 49:
        return Alarm_Energize_Text(v);
    case 50:
        return MakeRange(d);
    case 51:
        return Action_Text(v);
    case 55:
        return Backlight_Text(v);
    case 56:
        return PvColor_Text(v);
    case 62:
        return EventInput_Text(v);
    case 63:
        return Output_Text(v);
    case 64:
        return KeyFunction_Text(v);
    default:
        return QString();
    }
}

namespace {

// Selection items of the settings pages.
QString selectionText(const QmxData& d, int item, int v)
{
    switch (item) {
    case 12: {
        const bool p = d.ParaVal(item::kProportionalBand) != 0;
        const bool i = d.ParaVal(item::kIntegralTime) != 0;
        const bool dd = d.ParaVal(item::kDerivativeTime) != 0;
        if (p && i && dd) {
            static constexpr int at[] = {55, 54};
            return pick(v, at);
        }
        if (p && !i) {
            static constexpr int ar[] = {169, 168};
            return pick(v, ar);
        }
        return QString();
    }
    case 27: {
        static const char* const texts[] = {"XXXX", "XXX.X", "XX.XX", "X.XXX"};
        return v >= 0 && v <= 3 ? QString::fromLatin1(texts[v]) : QString();
    }
    case 32: {
        static constexpr int ids[] = {217, 218, 219};
        return pick(v, ids);
    }
    case 45:
        return str(v == 0 ? 318 : 317);
    case 48:
    case 49:
        return str(v == 0 ? 242 : 243);
    case 51:
        return str(v == 0 ? 213 : 214);
    default: // the same texts as the value labels
        return Code_Text(d, item, v);
    }
}

bool isSelectionItem(int item)
{
    switch (item) {
    case 12:
    case 22:
    case 27:
    case 32:
    case 36:
    case 37:
    case 42:
    case 45:
    case 46:
    case 48:
    case 49:
    case 50:
    case 51:
    case 55:
    case 56:
    case 62:
    case 63:
    case 64:
        return true;
    default:
        return false;
    }
}

} // namespace

QString Para_Text(const QmxData& d, int item)
{
    int v = 0;
    if (item >= 0 && item <= 8)
        v = d.MonVal(item);
    else if (item >= kFirstPara && item <= kLastPara)
        v = d.ParaVal(item);
    else
        return QString();

    if (isSelectionItem(item))
        return selectionText(d, item, v);

    const int c = inputType(d);
    switch (item) {
    case 1:
    case 2:
    case 5:
    case 6:
    case 14:
    case 21:
    case 28:
    case 54:
        return formatScaled(v, 1);
    case 15:
    case 16:
    case 17:
    case 18:
    case 29:
    case 30:
    case 33:
    case 34:
    case 40:
    case 41:
    case 53:
    case 58:
    case 65:
        return formatScaled(v, 0);
    case 66:
        return formatScaled(v, 3);
    case 13:
        if (isRd(d) || isOneDecimalInput(c, isRd(d)) || isDcInput(c, isRd(d)))
            return formatScaled(v, 1);
        return formatScaled(v, 0);
    case 23:
    case 24:
    case 31:
    case 35:
    case 38:
    case 39:
    case 57:
        if (isRd(d) || isTemperatureInput(c, isRd(d)))
            return formatScaled(v, 1);
        return decimalPointRule(d, v);
    default:
        break;
    }

    // Temperatures and set values. The infrared ranges all carry one decimal, so on that model
    // every such item is shown with one decimal, whatever item was edited last.
    if (isRd(d))
        return formatScaled(v, 1);
    if (isOneDecimalInput(c, isRd(d)))
        return formatScaled(v, 1);
    if (isDcInput(c, isRd(d)))
        return decimalPointRule(d, v);
    return formatScaled(v, 0);
}

} // namespace qmx
