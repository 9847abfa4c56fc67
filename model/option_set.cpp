#include "model/option_set.h"

#include <cstddef>

namespace qmx {

OptionSet decodeOptions(int optionBits, int optionBits2)
{
    const int ob = optionBits & 0xFF;
    const int ob2 = optionBits2 & 0xFF;
    auto has = [](int word, int bit) { return (word & bit) != 0; };

    OptionSet s{};
    s[Alarm2] = has(ob, 0x20) ? 1 : 0;
    s[HeatCool] = has(ob, 0x40) ? 1 : 0;
    if (has(ob, 0x04)) {
        const bool fiftyAmps = has(ob, 0x08);
        if (has(ob, 0x10))
            s[HeaterBurnout] = fiftyAmps ? 4 : 3;
        else
            s[HeaterBurnout] = fiftyAmps ? 2 : 1;
    }
    s[SvSelect] = has(ob, 0x01) && !has(ob, 0x02) ? 1 : 0;
    if (has(ob2, 0x08))
        s[OutputType] = 1;
    else if (has(ob2, 0x10))
        s[OutputType] = 2;
    s[SerialComm] = has(ob, 0x02) && !has(ob, 0x01) ? 1 : 0;
    return s;
}

int firstOptionDifference(const OptionSet& screen, const OptionSet& controller)
{
    for (std::size_t i = 0; i < screen.size(); ++i)
        if (screen[i] != controller[i])
            return static_cast<int>(i);
    return -1;
}

} // namespace qmx
