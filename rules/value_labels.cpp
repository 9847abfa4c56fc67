#include "rules/value_labels.h"

#include "model/items.h"
#include "model/value_text.h"

#include <optional>

namespace qmx {

namespace {

enum class Rule { Standard, Dc, Band, Bias, Whole, One, Three, Code };

struct Target {
    int item;
    Ctl ctl;
    int index;
    Rule rule;
};

// Item, its label and the rule that writes it (items 11..66; 47 has no label).
constexpr Target kTargets[] = {
    {11, Ctl::Text_SV, 1, Rule::Standard},       {12, Ctl::Label_pidval, 0, Rule::Code},
    {13, Ctl::Label_pidval, 1, Rule::Band},      {14, Ctl::Label_coolval, 1, Rule::One},
    {15, Ctl::Label_pidval, 2, Rule::Whole},     {16, Ctl::Label_pidval, 3, Rule::Whole},
    {17, Ctl::Label_pidval, 5, Rule::Whole},     {18, Ctl::Label_coolval, 2, Rule::Whole},
    {19, Ctl::Label_A1val, 0, Rule::Standard},   {20, Ctl::Label_A2val, 0, Rule::Standard},
    {21, Ctl::Label_HBval, 0, Rule::One},        {22, Ctl::Label_othval, 0, Rule::Code},
    {23, Ctl::Label_othval, 1, Rule::Dc},        {24, Ctl::Label_coolval, 5, Rule::Standard},
    {25, Ctl::Label_othval, 3, Rule::Standard},  {26, Ctl::Label_othval, 4, Rule::Standard},
    {27, Ctl::Label_othval, 5, Rule::Code},      {28, Ctl::Label_othval, 6, Rule::One},
    {29, Ctl::Label_pidval, 6, Rule::Whole},     {30, Ctl::Label_pidval, 7, Rule::Whole},
    {31, Ctl::Label_pidval, 8, Rule::One},       {32, Ctl::Label_coolval, 0, Rule::Code},
    {33, Ctl::Label_coolval, 3, Rule::Whole},    {34, Ctl::Label_coolval, 4, Rule::Whole},
    {35, Ctl::Label_coolval, 6, Rule::One},      {36, Ctl::Label_A1val, 4, Rule::Code},
    {37, Ctl::Label_A2val, 4, Rule::Code},       {38, Ctl::Label_A1val, 1, Rule::Dc},
    {39, Ctl::Label_A2val, 1, Rule::Dc},         {40, Ctl::Label_A1val, 2, Rule::Whole},
    {41, Ctl::Label_A2val, 2, Rule::Whole},      {42, Ctl::Label_othval, 16, Rule::Code},
    {43, Ctl::Label_othval, 7, Rule::Standard},  {44, Ctl::Label_othval, 8, Rule::Standard},
    {45, Ctl::Label_othval, 10, Rule::Code},     {46, Ctl::Label_othval, 15, Rule::Code},
    {48, Ctl::Label_A1val, 3, Rule::Code},       {49, Ctl::Label_A2val, 3, Rule::Code},
    {50, Ctl::Label_othval, 2, Rule::Code},      {51, Ctl::Label_othval, 9, Rule::Code},
    {52, Ctl::Label_pidval, 9, Rule::Bias},      {53, Ctl::Label_pidval, 4, Rule::Whole},
    {54, Ctl::Label_HBval, 1, Rule::One},        {55, Ctl::Label_othval, 11, Rule::Code},
    {56, Ctl::Label_othval, 12, Rule::Code},     {57, Ctl::Label_othval, 13, Rule::Dc},
    {58, Ctl::Label_othval, 14, Rule::Whole},    {59, Ctl::Label_othval, 17, Rule::Standard},
    {60, Ctl::Label_othval, 18, Rule::Standard}, {61, Ctl::Label_othval, 19, Rule::Standard},
    {62, Ctl::Label_othval, 22, Rule::Code},     {63, Ctl::Label_othval, 20, Rule::Code},
    {64, Ctl::Label_othval, 21, Rule::Code},     {65, Ctl::Label_pidval, 10, Rule::Whole},
    {66, Ctl::Label_othval, 23, Rule::Three},
};

// Nothing when the decimal point is outside 0..3: the label keeps its text.
std::optional<QString> byDecimalPoint(const QmxData& d, int v)
{
    const int dp = d.ParaVal(item::kDecimalPoint);
    if (dp < 0 || dp > 3)
        return std::nullopt;
    return formatScaled(v, dp);
}

std::optional<QString> labelText(const QmxData& d, const Target& t)
{
    const int v = d.ParaVal(t.item);
    const int c = d.ParaVal(item::kInputType);
    const bool decimalType = isOneDecimalInput(c, d.RDModel);
    const bool dc = isDcInput(c, d.RDModel);
    switch (t.rule) {
    case Rule::Standard:
        if (dc)
            return byDecimalPoint(d, v);
        return formatScaled(v, decimalType ? 1 : 0);
    case Rule::Dc:
        return dc ? byDecimalPoint(d, v) : formatScaled(v, 1);
    case Rule::Band:
        return formatScaled(v, decimalType || dc ? 1 : 0);
    case Rule::Bias:
        return formatScaled(v, decimalType ? 1 : 0);
    case Rule::Whole:
        return formatScaled(v, 0);
    case Rule::One:
        return formatScaled(v, 1);
    case Rule::Three:
        return formatScaled(v, 3);
    case Rule::Code:
        return Code_Text(d, t.item, v);
    }
    return std::nullopt;
}

} // namespace

std::optional<ValueLabel> valueLabelOf(int item)
{
    for (const auto& t : kTargets)
        if (t.item == item)
            return ValueLabel{t.ctl, t.index};
    return std::nullopt;
}

void Read_data3(const QmxData& d, DisplayOps& o, const std::function<void(int)>& progress)
{
    const int last = d.RDModel ? kInfraredItem : kLastStandardItem;
    for (int item = kFirstPara; item <= last; ++item) {
        for (const auto& t : kTargets) {
            if (t.item != item)
                continue;
            if (auto text = labelText(d, t))
                o.text(t.ctl, t.index, *text);
            break;
        }
        if (progress)
            progress(item - 10);
    }
}

} // namespace qmx
