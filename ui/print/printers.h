// The printers the program prints on, and the one it prints on now.
//   QMX_PRINT_PDF=DIR  the list holds one printer, "PDF", and every print job becomes a new file
//                      DIR/0001.pdf, DIR/0002.pdf ... (tests and machines without a printer)
// Without it the list is the system's.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;

namespace qmx {

// The device names of the printers, in the system's order.
QStringList printerNames();

// The program's current printer: the system's default until the operator chooses another in the
// printer choice; it stays chosen for later print commands. Empty when there is none.
QString currentPrinterName();
void setCurrentPrinter(const QString& name);

// A job on the current printer, ready for a painter; nullptr with the reason when the printer is
// no longer there. Set the page orientation before painting.
std::unique_ptr<QPrinter> newPrintJob(QString* why);

} // namespace qmx
