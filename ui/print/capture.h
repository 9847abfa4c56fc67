// The hard copy: a picture of the window in front, printed on one page.
#pragma once

#include <QPixmap>
#include <QString>

class QPrinter;
class QWidget;

namespace qmx {

// The picture of the program's window in front (its contents, without the window manager's
// frame), or of `fallback` when none of the program's windows is in front.
QPixmap Capture_ActiveWin(QWidget* fallback);

// Prints `picture` on one page of `printer`: landscape when the picture is wider than high,
// scaled to fit with its ratio kept, top left at the printable area's top left. Ends the document.
// False with the reason when the printer would not take the job.
bool Print_PictureFit(QPrinter& printer, const QPixmap& picture, QString* why);

} // namespace qmx
