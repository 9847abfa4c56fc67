#include "ui/print/rptver.h"

#include "model/string_table.h"
#include "ui/print/printers.h"
#include "ui/print/prnselect.h"
#include "ui/ui_seam.h"

#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace qmx {

namespace {

// The preview shows a page at screen size: 96 pixels an inch for the 72 points of the layout.
constexpr double kPreviewScale = 96.0 / 72.0;

QPixmap pageImage(const ReportLayout& report, int page)
{
    const QSizeF pt = ReportLayout::pageSize();
    QImage img((pt * kPreviewScale).toSize(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    report.paintPage(p, QRectF(QPointF(0, 0), QSizeF(img.size())), page);
    p.end();
    return QPixmap::fromImage(img);
}

// Where a job goes: the printer's name, or the file it is printed to.
QString jobPlace(const QPrinter& printer)
{
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

} // namespace

rptver::rptver(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(LoadResString(1));

    cmdPrint = new QPushButton(LoadResString(33), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    connect(cmdPrint, &QPushButton::clicked, this, &rptver::cmdPrint_Click);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("Pages"));
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);
    pagesHost_ = new QWidget;
    pagesBox_ = new QVBoxLayout(pagesHost_);
    pagesBox_->setAlignment(Qt::AlignHCenter);
    scroll->setWidget(pagesHost_);

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmdPrint);
    bar->addStretch();
    auto* box = new QVBoxLayout(this);
    box->addLayout(bar);
    box->addWidget(scroll);

    const QSizeF pt = ReportLayout::pageSize() * kPreviewScale;
    resize(int(pt.width()) + 60, 760);
}

rptver::~rptver() = default;

int rptver::pageCount() const
{
    return layout_ ? layout_->pageCount() : 0;
}

void rptver::setReport(ReportSheet sheet)
{
    layout_ = std::make_unique<ReportLayout>(std::move(sheet));
    while (QLayoutItem* item = pagesBox_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (int i = 0; i < layout_->pageCount(); ++i) {
        auto* page = new QLabel(pagesHost_);
        page->setObjectName(QStringLiteral("Page(%1)").arg(i + 1));
        page->setPixmap(pageImage(*layout_, i));
        pagesBox_->addWidget(page);
    }
}

void rptver::cmdPrint_Click()
{
    if (!layout_)
        return;
    ui::Beep();
    if (printerNames().isEmpty()) {
        ui::MsgBox(LoadResString(57), ui::Buttons::OK, ui::Icon::None);
        return;
    }
    // Code may close the window while the printer choice is open (the program ending).
    const QPointer<rptver> self(this);
    if (!choosePrinter(this) || !self)
        return;
    QString why;
    if (!printReport(*layout_, &why))
        ui::MsgBox(LoadResString(57) + QLatin1Char('\n') + QDir::toNativeSeparators(why),
                   ui::Buttons::OK, ui::Icon::Exclamation);
}

bool printReport(const ReportLayout& report, QString* why)
{
    std::unique_ptr<QPrinter> printer = newPrintJob(why);
    return printer && printReportOn(*printer, report, why);
}

bool printReportOn(QPrinter& printer, const ReportLayout& report, QString* why)
{
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    QPainter p;
    if (!p.begin(&printer)) {
        if (why)
            *why = jobPlace(printer);
        return false;
    }
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    for (int i = 0; i < report.pageCount(); ++i) {
        // A printer that will not start the next page has not printed the report.
        if (i > 0 && !printer.newPage()) {
            p.end();
            if (why)
                *why = QStringLiteral("%1: page %2 of %3 could not be started")
                           .arg(jobPlace(printer))
                           .arg(i + 1)
                           .arg(report.pageCount());
            return false;
        }
        report.paintPage(p, QRectF(QPointF(0, 0), paper.size()), i);
    }
    return p.end();
}

} // namespace qmx
