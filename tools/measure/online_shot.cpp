// Not a test: pictures of the main window online with the demo controller, to look at.
//   qmx_online_shot MAIN.png [TRACE.png] [--seconds N] [--upload UPLOADING.png] [--unplug LOST.png]
#include "sim_control.h"

#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/main/main_disp.h"

#include <QApplication>
#include <QEventLoop>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VELDER BRANTIS"));
    QApplication::setApplicationName(QStringLiteral("DFX-QMX07K"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QStringList args = app.arguments().mid(1);
    int seconds = 4;
    if (const int i = int(args.indexOf(QStringLiteral("--seconds")));
        i >= 0 && i + 1 < args.size()) {
        seconds = args.at(i + 1).toInt();
        args.remove(i, 2);
    }
    QString uploadShot;
    if (const int i = int(args.indexOf(QStringLiteral("--upload")));
        i >= 0 && i + 1 < args.size()) {
        uploadShot = args.at(i + 1);
        args.remove(i, 2);
    }
    QString lostShot;
    if (const int i = int(args.indexOf(QStringLiteral("--unplug")));
        i >= 0 && i + 1 < args.size()) {
        lostShot = args.at(i + 1);
        args.remove(i, 2);
    }
    if (args.isEmpty())
        return 2;

    SimControl sim({QStringLiteral("--preset"), QStringLiteral("demo")});
    if (!sim.ready())
        return 2;
    QTemporaryDir home;
    qputenv("QMX_PORT_DIR", sim.portDir().toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("config"));
    qmx::prepareFolders(qmx::programFolder());

    qmx::QmxData d;
    d.Set_Defaults();
    d.Make_CommNoTbl2(); // as start-up builds it: the upload reads SV2 to SV4 through these codes
    qmx::MainDisp w(d);
    w.system_init();
    w.show();
    w.Cmd_ONOFF_Click();
    if (!d.OnLine)
        return 3;
    runFor(seconds * 1000);
    w.grab().save(args.at(0));
    if (args.size() > 1) {
        w.SSTab1->setCurrentIndex(1);
        runFor(1500);
        w.grab().save(args.at(1));
        w.SSTab1->setCurrentIndex(0);
    }
    if (!uploadShot.isEmpty()) {
        // Halfway through an upload at the line's own pace: the progress bars and the activity
        // in the status bar.
        sim.control({{"cmd", "set"}, {"port", "COM1"}, {"emulate_baud", true}});
        QTimer::singleShot(700, [&] { w.grab().save(uploadShot); });
        w.requestComMode(4);
        runFor(3000);
    }
    if (!lostShot.isEmpty()) {
        // The cable pulled while online: what the operator sees once the watchdog has spoken.
        sim.control({{"cmd", "unplug"}, {"port", "COM1"}});
        runFor(seconds * 1000);
        w.grab().save(lostShot);
    }
    w.Timer1.stop();
    w.Timer6.stop();
    return 0;
}
