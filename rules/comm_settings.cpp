#include "rules/comm_settings.h"

#include <QRegularExpression>

namespace qmx {

QString protocolName(int protocol)
{
    static const char* const names[3] = {"Velder", "Modbus ASCII", "Modbus RTU"};
    return protocol >= 0 && protocol <= 2 ? QLatin1String(names[protocol]) : QString();
}

InstrumentText checkInstrumentText(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(text).hasMatch())
        return InstrumentText::Malformed;
    // "1000" is a number too large rather than a malformed one; "005" is neither of the forms
    // the instrument number is written in.
    QString value = text;
    while (value.size() > 1 && value.startsWith(QLatin1Char('0')))
        value.remove(0, 1);
    if (value.size() > 2 || value.toInt() > 95)
        return InstrumentText::OutOfRange;
    return text.size() <= 2 ? InstrumentText::Valid : InstrumentText::Malformed;
}

} // namespace qmx
