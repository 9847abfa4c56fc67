// The saved settings and the program's folder: where they live, and the link settings and the
// serial ports' devices in them.
#pragma once

#include <QMap>
#include <QString>

#include <memory>

class QSettings;

namespace qmx {

struct QmxData;

// The saved settings: an INI file of organisation "VELDER BRANTIS", application "DFX-QMX07K".
std::unique_ptr<QSettings> openSettings();

// The program's own folder for its files: the per-user data folder
// $XDG_DATA_HOME/VELDER BRANTIS/DFX-QMX07K.
QString programFolder();

// Creates "Logging", "Setdata" and "csvdata" in `folder` where missing; false if one cannot be
// made.
bool prepareFolders(const QString& folder);

// The saved link settings (port, speed, data bits, stop bits, parity, instrument number and
// protocol) into `d`, with the defaults of a fresh installation. `ProtocolSel` is not touched.
void readSavedLink(const QSettings& s, QmxData& d);

// The device each serial port leads to where the settings name one: group "Ports", keys "COM1" to
// "COM8" (COM3=/dev/ttyS2). The port owner gives the others their defaults.
QMap<QString, QString> readPortMap(const QSettings& s);

// The link settings as one place saves them. The instrument number is saved only when given:
// the unload step keeps the one saved before.
struct SavedLink {
    QString Port;
    QString Speed;
    QString Databit;
    QString Stopbit;
    QString Parity;
    QString strAdr; // empty: left as saved
    int Protocol = 0;
};
void saveLink(QSettings& s, const SavedLink& link);

} // namespace qmx
