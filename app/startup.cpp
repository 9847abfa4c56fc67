#include "app/startup.h"

#include "files/setdata_file.h"
#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/automation.h"
#include "ui/dialogs/opening_disp.h"
#include "ui/main/main_disp.h"
#include "ui/ui_seam.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>

namespace qmx {

QString commandLineSetData(const QStringList& words, const QString& startDir)
{
    QString path = words.join(QLatin1Char(' '));
    // Started from a shell that kept the quotes: they are not part of the name.
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    const QString quoted = QLatin1Char('"') + path + QLatin1Char('"');
    if (quoted.size() <= 6 || !path.endsWith(QLatin1String(".dat")))
        return QString();
    return QDir::cleanPath(QDir(startDir).absoluteFilePath(path));
}

int loadStartupData(QmxData& d, const QString& path, QString* detail)
{
    int message = 0;
    if (!path.isEmpty()) {
        SetDataError err = SetDataError::None;
        QString why;
        if (auto s = readSetDataFile(path, &err, &why)) {
            // The start-up reader keeps header word 1 as it is; the window shows the data at load.
            applySetData(d, *s, false);
            d.DataValid = true;
            d.StartDataRead = true;
            d.StartDataFile = true;
            return 0;
        }
        message = err == SetDataError::NotFound ? 39 : 27;
        if (message == 27 && detail)
            *detail = QDir::toNativeSeparators(path) + QLatin1Char('\n') + why;
    }
    d.Set_Defaults();
    d.StartDataRead = false;
    return message;
}

int Sub_Main(QApplication& app, QmxData& d)
{
    const QString folder = programFolder();
    QDir().mkpath(folder);

    // One instance per user: the lock lives in the user's own program folder. A lock left by a
    // program that died is taken over; a live one never goes stale by age.
    QLockFile lock(folder + QStringLiteral("/DFX-QMX07K.lock"));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        ui::MsgBox(LoadResString(56), ui::Buttons::OK, ui::Icon::Critical,
                   QStringLiteral("DFX-QMX07K"));
        ui::Beep();
        return 0;
    }

    prepareFolders(folder);

    const QString path = commandLineSetData(app.arguments().mid(1), QDir::currentPath());
    QString refused;
    switch (loadStartupData(d, path, &refused)) {
    case 39:
        ui::MsgBox(LoadResString(39), ui::Buttons::OK, ui::Icon::None);
        break;
    case 27:
        ui::MsgBox(LoadResString(27), ui::Buttons::OK, ui::Icon::Exclamation, QString(), refused);
        break;
    default:
        break;
    }
    d.ComOK = false;

    d.Make_CommNoTbl2();

    MainDisp w(d);
    w.system_init();
    QObject::connect(&w, &MainDisp::programEnded, &app, [&app] { app.exit(0); });

    std::unique_ptr<Automation> automation;
    const QString automationPath = qEnvironmentVariable("QMX_AUTOMATION");
    if (!automationPath.isEmpty())
        automation = std::make_unique<Automation>(automationPath, [&lock] { lock.unlock(); });

    // The splash paces the hand-over: its third tick shows the main window and connects.
    OpeningDisp splash(d, w);
    splash.show();
    return app.exec();
}

} // namespace qmx
