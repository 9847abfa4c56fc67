// Test-only helper: saves a picture of the main window (and optionally of the version box) so the
// layout can be looked at in each language. Not part of the program.
//   qmx_window_shot OUT.png [MAINPAGE [SETTINGSPAGE]] [--about ABOUT.png] [--help HELP.png] [--file
//   SET.dat]
#include "files/setdata_file.h"
#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "ui/dialogs/about_disp.h"
#include "ui/main/main_disp.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return 2;
    QString about, file, help;
    if (int i = args.indexOf(QStringLiteral("--help")); i >= 0 && i + 1 < args.size()) {
        help = args.at(i + 1);
        args.remove(i, 2);
    }
    if (int i = args.indexOf(QStringLiteral("--about")); i >= 0 && i + 1 < args.size()) {
        about = args.at(i + 1);
        args.remove(i, 2);
    }
    if (int i = args.indexOf(QStringLiteral("--file")); i >= 0 && i + 1 < args.size()) {
        file = args.at(i + 1);
        args.remove(i, 2);
    }
    qmx::QmxData d;
    d.Set_Defaults();
    if (!file.isEmpty()) {
        if (auto s = qmx::readSetDataFile(file)) {
            qmx::applySetData(d, *s, false);
            d.StartDataRead = true;
        }
    }
    // The pen files of the trace page live in the program folder, which start-up makes.
    QDir().mkpath(qmx::programFolder());
    qmx::MainDisp w(d);
    w.system_init();
    if (args.size() > 1)
        w.SSTab1->setCurrentIndex(args.at(1).toInt());
    if (args.size() > 2)
        w.SSTab2->setCurrentIndex(args.at(2).toInt());
    w.show();
    const QSize avail = app.primaryScreen()->size();
    qInfo("window %dx%d (minimum %dx%d) on a %dx%d screen", w.width(), w.height(),
          w.minimumSizeHint().width(), w.minimumSizeHint().height(), avail.width(), avail.height());
    QTimer::singleShot(400, [&] {
        w.grab().save(args.at(0));
        if (!about.isEmpty()) {
            qmx::SubDisp_About box(&w);
            box.show();
            QApplication::processEvents();
            box.grab().save(about);
        }
        if (!help.isEmpty()) {
            w.mnuHelp2_Click();
            QApplication::processEvents();
            for (QWidget* t : QApplication::topLevelWidgets())
                if (t->objectName() == QLatin1String("HelpWindow"))
                    t->grab().save(help);
        }
        QCoreApplication::exit(0); // leave without the closing question
    });
    return app.exec();
}
