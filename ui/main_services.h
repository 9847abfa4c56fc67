// What the other windows (entry dialogs, the model-option dialog, the chart's panels, printing and
// the report) may ask of the main window. They include this header, never main_disp.h, so the main
// window's controls stay its own.
#pragma once

#include <QString>

#include <functional>

class QObject;
class QWidget;

namespace qmx {

struct QmxData;
class SubWindows;
class Velder_ChartCtl;
class DisplayOps;

class MainServices {
public:
    virtual ~MainServices() = default;

    // The shared data the main window shows.
    virtual QmxData& data() = 0;
    // The main window itself, as the parent of a dialog or the page a hard copy shows.
    virtual QWidget* mainWindow() = 0;
    // The other windows, one of each, created on first use.
    virtual SubWindows& subWindows() = 0;

    // Lays out the four settings pages again from the option set, the model and the values.
    virtual void relayPages() = 0;
    // Every setting's value label again from ParaVal.
    virtual void refreshValueLabels() = 0;
    // PV, SV, MV, the lamps, the chart's live texts and the settings pages from the data.
    virtual void refreshLivePanel() = 0;
    // Queues the write of item ParaNo for the scheduler (online).
    virtual void requestWrite() = 0;
    // Applies a display list (rows, captions) to the main window's controls.
    virtual void applyDisplay(const DisplayOps& ops) = 0;
    // The open entry and list dialogs follow the rows and data on screen now, as after a page
    // layout: one whose item's set button went ends unstored.
    virtual void openEditsFollowData() = 0;

    // The trend chart of the trace page.
    virtual Velder_ChartCtl& chart() = 0;
    // Status-bar panel `panel` (1..4).
    virtual QString statusPanel(int panel) const = 0;
    virtual void setStatusPanel(int panel, const QString& text) = 0;

    // A step that talks to the controller is running (its window events still run).
    virtual bool stepRunning() const = 0;

    // The keyboard focus back to the main tabs, as after every chart button.
    virtual void focusTabs() = 0;
    // The check mark of the Trace menu, on while a trend runs.
    virtual bool traceChecked() const = 0;
    virtual void setTraceChecked(bool on) = 0;

    // --- the first connection, which the splash window paces ------------------------------------
    // The operator confirmed the close during a step: nothing more may be started on its behalf.
    virtual bool QuitRequested() const = 0;
    // `f` runs (in `context`, while it lives) once the program has ended.
    virtual void whenProgramEnds(QObject* context, std::function<void()> f) = 0;
    // With the saved settings; by a port scan; by the full search; and once a link is up, its
    // settings shown and saved.
    virtual void checkcommunicate1() = 0;
    virtual void checkcommunicate() = 0;
    virtual void checkcommunicate2() = 0;
    virtual void communicate() = 0;
    // The last first connection found the controller but could not use its register map file.
    virtual bool mapFileUnusable() const = 0;
};

} // namespace qmx
