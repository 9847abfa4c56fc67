#include "files/settings_store.h"

#include "model/qmx_data.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace qmx {

std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("VELDER BRANTIS"),
                                       QStringLiteral("DFX-QMX07K"));
}

QString programFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/VELDER BRANTIS/DFX-QMX07K");
}

bool prepareFolders(const QString& folder)
{
    bool ok = true;
    for (const char* sub : {"Logging", "Setdata", "csvdata"})
        ok = QDir().mkpath(folder + QLatin1Char('/') + QLatin1String(sub)) && ok;
    return ok;
}

void readSavedLink(const QSettings& s, QmxData& d)
{
    d.Port = s.value(QStringLiteral("Port"), QStringLiteral("COM1")).toString();
    d.Speed = s.value(QStringLiteral("Speed"), QStringLiteral("9600")).toString();
    d.Databit = s.value(QStringLiteral("Databit"), QStringLiteral("7")).toString();
    d.Stopbit = s.value(QStringLiteral("Stopbit"), QStringLiteral("1")).toString();
    d.Parity = s.value(QStringLiteral("Parity"), QStringLiteral("EVEN")).toString();
    d.strAdr = s.value(QStringLiteral("strAdr"), QStringLiteral("00")).toString();
    // A hand-edited protocol that names none of the three falls back to the maker's.
    bool ok = false;
    const int p = s.value(QStringLiteral("Protocol"), QStringLiteral("0")).toString().toInt(&ok);
    d.Protocol = ok && p >= 0 && p <= 2 ? p : 0;
}

QMap<QString, QString> readPortMap(const QSettings& s)
{
    QMap<QString, QString> ports;
    for (int n = 1; n <= 8; ++n) {
        const QString port = QStringLiteral("COM%1").arg(n);
        const QString key = QStringLiteral("Ports/") + port;
        if (s.contains(key))
            ports.insert(port, s.value(key).toString());
    }
    return ports;
}

void saveLink(QSettings& s, const SavedLink& link)
{
    s.setValue(QStringLiteral("Port"), link.Port);
    s.setValue(QStringLiteral("Speed"), link.Speed);
    s.setValue(QStringLiteral("Databit"), link.Databit);
    s.setValue(QStringLiteral("Stopbit"), link.Stopbit);
    s.setValue(QStringLiteral("Parity"), link.Parity);
    if (!link.strAdr.isEmpty())
        s.setValue(QStringLiteral("strAdr"), link.strAdr);
    s.setValue(QStringLiteral("Protocol"), QString::number(link.Protocol));
}

} // namespace qmx
