// The access key: written to register 0000 before the program changes settings or reads the model;
// "0000" written there locks the controller again. A key write in Modbus also switches the
// controller to the maker's protocol until it is switched off and on, so any repeat goes out in the
// maker's protocol.
#include "comm/exchange.h"
#include "model/string_table.h"

namespace qmx {

namespace {

QString twoLines(int first, int second)
{
    return LoadResString(first) + QLatin1Char('\n') + LoadResString(second);
}

} // namespace

void Exchange::Write_Key(const QString& data)
{
    int ownSends = 0;
    int busyRepeats = 0;
    bool afterBusyMessage = false;
    for (;;) {
        // A repeat paced by the operator's OK counts apart from the plain repeats.
        if (afterBusyMessage) {
            if (busyRepeats >= kKeyMaxBusyRepeats)
                return;
            ++busyRepeats;
        } else {
            if (ownSends >= kKeyMaxOwnSends)
                return;
            ++ownSends;
        }
        afterBusyMessage = false;

        const QString reply = Sendcomm(data_.strAdr, QString(), QStringLiteral("06"),
                                       QStringLiteral("0000"), data, 1);
        data_.ComErr = false;

        if (data_.Protocol != 0) {
            data_.Protocol = 0;
            const QString fn = reply.mid(3, 2);
            if (fn == u"06")
                return;
            if (fn == u"86" && reply.mid(5, 2) == u"12") {
                host_.messageBox(twoLines(455, 456), ExchangeHost::Icon::Exclamation,
                                 LoadResString(1));
                afterBusyMessage = true;
                continue;
            }
            if (fn == u"86")
                continue;
            if (reply.size() < 4)
                return;
            continue;
        }

        if (reply.isEmpty())
            return;
        const QChar first = reply[0];
        if (first == QChar(0x06))
            return;
        if (first == QChar(0x15)) {
            // A refused key means auto-tuning is running. Going online with a controller set to
            // Modbus cannot fall back on anything else, so that operator is told what to do.
            if (data_.ProtocolSel != 0)
                host_.messageBox(twoLines(357, 358), ExchangeHost::Icon::Exclamation,
                                 LoadResString(1));
            return;
        }
    }
}

void Exchange::Clear_Key()
{
    data_.Protocol = 0;
    comm_.setCom_TimeOut(300);
    Sendcomm(data_.strAdr, QString(), QStringLiteral("06"), QStringLiteral("0000"),
             QStringLiteral("0000"), 2);
    data_.Protocol = data_.ProtocolSel;
}

} // namespace qmx
