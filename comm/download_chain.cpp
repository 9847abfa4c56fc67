#include "comm/download_chain.h"

#include "comm/reply_verdict.h"
#include "model/items.h"
#include "model/qmx_data.h"

namespace qmx::download {

namespace {

constexpr Step plain(int item)
{
    return {item, 0, Route::Plain};
}

// The order matters to the controller: the input type first, because its write resets the scaling;
// the scaling and alarm types next, because the ranges of the items after them depend on them; the
// set values once those ranges stand; auto-tuning last, so it starts on the finished settings.
std::vector<Step> buildChain(Routine r)
{
    std::vector<Step> c;
    for (int item : {50, 25, 26, 36, 37})
        c.push_back(plain(item));
    c.push_back({11, 8, Route::SvChange});
    for (int item = 13; item <= 24; ++item)
        c.push_back(plain(item));
    for (int item = 27; item <= 35; ++item)
        c.push_back(plain(item));
    for (int item = 38; item <= 46; ++item)
        c.push_back(plain(item));
    // Item 47, the manual output value, is never downloaded: it follows the running output.
    for (int item : {48, 49})
        c.push_back(plain(item));
    for (int item = 51; item <= 58; ++item)
        c.push_back(plain(item));
    c.push_back({62, 12, Route::SvChange});
    c.push_back({59, 9, Route::SvChange});
    c.push_back({60, 10, Route::SvChange});
    c.push_back({61, 11, Route::SvChange});
    c.push_back({63, 13, Route::DcoslChange});
    c.push_back({64, 14, Route::DcoslChange});
    c.push_back(plain(65));
    if (r == Routine::Menu)
        c.push_back(plain(item::kEmissivity));
    c.push_back(plain(item::kAutoTuning));
    return c;
}

bool has(int bits, int mask)
{
    return (bits & mask) != 0;
}

} // namespace

const std::vector<Step>& chain(Routine r)
{
    static const std::vector<Step> screen = buildChain(Routine::Screen);
    static const std::vector<Step> menu = buildChain(Routine::Menu);
    return r == Routine::Screen ? screen : menu;
}

QString codeOf(const QmxData& d, const Step& s)
{
    return s.route == Route::Plain ? d.CommNoTbl(s.item) : d.CommNoTbl2(s.element);
}

bool Check_Para(const QmxData& d, int item)
{
    // Of the option words only the low bytes carry options.
    const int ob = d.OptionBits() & 0xFF;
    const int ob2 = d.OptionBits2() & 0xFF;
    const int sb = static_cast<quint16>(d.StatusBits());
    const auto P = [&d](int i) { return d.ParaVal(i); };
    const bool svMemory = has(ob, 0x01) && !has(ob, 0x02);
    const bool alarm2 = has(ob, 0x20);
    const bool autoTuning = has(sb, 0x800);
    const bool dcInput = isDcInput(P(item::kInputType), d.RDModel);

    switch (item) {
    case item::kAutoTuning:
        // Written only when it changes the auto-tuning state.
        return (P(12) == 0 && autoTuning) || (P(12) == 1 && !autoTuning);
    case 59:
        return svMemory;
    case 60:
    case 61:
        // With the contact input function in use, set values 3 and 4 belong to the contacts.
        return svMemory && P(62) == 0;
    case 19:
    case 38:
    case 40:
    case 48:
        return P(36) != 0;
    case 37:
        return alarm2;
    case 20:
    case 39:
    case 41:
    case 49:
        return alarm2 && P(37) != 0;
    case 14:
    case 18:
    case 24:
    case 32:
    case 33:
    case 34:
    case 35:
        return has(ob, 0x40);
    case 21:
        return has(ob, 0x04);
    case 54:
        return has(ob, 0x04) && has(ob, 0x10);
    case 27:
        return dcInput;
    case 52:
        return !dcInput && P(13) != 0 && P(15) != 0 && P(16) != 0;
    case 45:
        return !has(sb, 0x1000);
    case 46:
        return has(sb, 0x1000);
    case 62:
        return svMemory;
    case 63:
        return dcInput && has(ob2, 0x10);
    case 65:
        return P(13) != 0;
    default:
        return true;
    }
}

bool skippedByVariant(Routine r, bool rdModel, int item)
{
    if (r != Routine::Menu)
        return false;
    if (item == item::kEmissivity)
        return !rdModel;
    return rdModel && (item == 25 || item == 26 || item == 27);
}

ReplyEffects judgeTransferModeReply(int protocol, const QString& reply)
{
    ReplyEffects fx;
    const bool modbus = protocol != 0;
    switch (judgeReply(protocol, reply, QStringLiteral("06"))) {
    case Verdict::Accepted:
        fx.panel1 = QStringLiteral("OK");
        break;
    case Verdict::Busy:
        // The same busy test as every other write: the keys are in use, the operator is told.
        fx.busyNotice = true;
        [[fallthrough]];
    case Verdict::Refused:
        fx.panel1 = QStringLiteral("NG");
        fx.clearPanel4 = modbus;
        break;
    case Verdict::Other:
        if (modbus) {
            fx.panel1 = QStringLiteral("NG");
        } else {
            fx.commError = true;
            fx.keepErrorText = true;
        }
        break;
    case Verdict::NoAnswer:
        fx.commError = true;
        break;
    }
    return fx;
}

ReplyEffects judgeItemReply(int protocol, const QString& reply, const Step& s)
{
    ReplyEffects fx;
    switch (judgeReply(protocol, reply, QStringLiteral("06"))) {
    case Verdict::Accepted:
        fx.panel1 = QStringLiteral("OK");
        fx.dataValid = true;
        break;
    case Verdict::Busy:
        fx.panel1 = QStringLiteral("NG");
        fx.clearPanel4 = true;
        // Auto-tuning is written last; the maker's busy refusal of it leaves a finished download.
        fx.abort = !(protocol == 0 && s.item == item::kAutoTuning);
        fx.writeFailed = fx.abort;
        break;
    case Verdict::Refused:
        fx.panel1 = QStringLiteral("NG");
        fx.clearPanel4 = true;
        fx.writeFailed = true;
        break;
    case Verdict::Other:
        fx.panel1 = QStringLiteral("NG");
        fx.writeFailed = true;
        break;
    case Verdict::NoAnswer:
        // The special writes have reported for themselves; only a silent plain write is an error.
        fx.commError = s.route == Route::Plain;
        fx.writeFailed = fx.commError;
        break;
    }
    return fx;
}

} // namespace qmx::download
