#include "ui/print/printers.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace qmx {

namespace {

const QString kPdfPrinter = QStringLiteral("PDF");

QString pdfFolder()
{
    return qEnvironmentVariable("QMX_PRINT_PDF");
}

// The next free job file: one past the highest number already in the folder.
QString nextPdfJob(const QString& folder)
{
    static const QRegularExpression jobName(QStringLiteral("^(\\d{4,})\\.pdf$"));
    int last = 0;
    for (const QString& f : QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files)) {
        const auto m = jobName.match(f);
        if (m.hasMatch())
            last = qMax(last, m.captured(1).toInt());
    }
    return QDir(folder).filePath(QStringLiteral("%1.pdf").arg(last + 1, 4, 10, QLatin1Char('0')));
}

QString& current()
{
    static QString name = pdfFolder().isEmpty() ? QPrinterInfo::defaultPrinterName() : kPdfPrinter;
    return name;
}

} // namespace

QStringList printerNames()
{
    if (!pdfFolder().isEmpty())
        return {kPdfPrinter};
    return QPrinterInfo::availablePrinterNames();
}

QString currentPrinterName()
{
    return current();
}

void setCurrentPrinter(const QString& name)
{
    current() = name;
}

std::unique_ptr<QPrinter> newPrintJob(QString* why)
{
    const QString name = currentPrinterName();
    if (name.isEmpty() || !printerNames().contains(name)) {
        if (why)
            *why = name;
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QString folder = pdfFolder();
    if (!folder.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(nextPdfJob(folder));
        printer->setPageSize(QPageSize(QPageSize::A4));
    } else {
        printer->setPrinterName(name);
    }
    printer->setDocName(QStringLiteral("DFX-QMX07K"));
    return printer;
}

} // namespace qmx
