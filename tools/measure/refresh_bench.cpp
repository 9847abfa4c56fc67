// Benchmark, not a test: the cost of one live refresh (SelectDispItem with the full settings-page
// layout) on a complete main window, offscreen, as monitoring runs it 20 times a second.
//   qmx_refresh_bench [CALLS] [list]
// "list" measures with the input-type list dialog open (the longest list), which follows every
// refresh.
#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "ui/main/main_disp.h"
#include "ui/sub_windows.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The trace page's pen files go to a folder of the benchmark's own.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    QDir().mkpath(qmx::programFolder());
    const int calls = argc > 1 ? std::max(100, atoi(argv[1])) : 10000;

    qmx::QmxData d;
    d.Set_Defaults();
    // A busy screen: alarm 2, heating/cooling, SV2-SV4 and the option lamps all in play.
    d.OptSet_Alarm2 = 1;
    d.OptSet_HeatCool = 1;
    d.OptSet_SVsel = 1;
    d.ParaVal(36) = 1;
    d.ParaVal(37) = 3;
    d.MonVal(7) = 0x64;
    d.OnLine = true;
    qmx::MainDisp w(d);
    w.system_init();
    w.show();
    QApplication::processEvents();
    if (argc > 2 && QByteArray(argv[2]) == "list") {
        w.Disp_SStab2(2);
        w.Cmd_True_Click(5); // the group off and on again: its set buttons usable
        w.Cmd_True_Click(5);
        w.Cmd_set_Click(40);
        QApplication::processEvents();
        if (!w.subWindows().find(QStringLiteral("Select_Disp"))) {
            std::fprintf(stderr, "the list dialog did not open\n");
            return 1;
        }
    }

    std::vector<double> us;
    us.reserve(static_cast<size_t>(calls));
    for (int i = 0; i < calls; ++i) {
        // Values move as they would on a live controller.
        d.MonVal(0) = static_cast<int16_t>(1200 + i % 50);
        d.MonVal(1) = static_cast<int16_t>(i % 1000);
        d.MonVal(4) = static_cast<int16_t>((i / 20) % 2 ? 0x05 : 0x01);
        QElapsedTimer t;
        t.start();
        w.SelectDispItem();
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
        if (i % 20 == 0)
            QApplication::processEvents(); // let the window paint now and then, as it would
    }
    std::sort(us.begin(), us.end());
    std::printf("{\"calls\":%d,\"median_us\":%.1f,\"p99_us\":%.1f,\"max_us\":%.1f}\n", calls,
                us[us.size() / 2], us[us.size() * 99 / 100], us.back());
    return 0;
}
