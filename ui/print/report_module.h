// The parameter report and the parameter export: both copy the rows the main window's settings
// pages show, with the texts on screen at that moment.
#pragma once

#include "rules/report_rows.h"

class QWidget;

namespace qmx {

class MainServices;

// The controls of `window` by object name, as the row collection reads them: a control's own
// Visible flag (set by the program, not inherited from a page in the back) and its caption.
ControlLookup windowControls(const QWidget* window);

// All Data: collects the rows and shows them in the report window (one window; a second All Data
// shows the fresh rows in it).
void Show_ParaReport(MainServices& main);

// Export: the operator chooses the file (by default a new one in "csvdata" named by the time), and
// the rows go after whatever it holds. A file that cannot be written gets a message.
void Export_Csv(MainServices& main);

} // namespace qmx
