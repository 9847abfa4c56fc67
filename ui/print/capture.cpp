#include "ui/print/capture.h"

#include "rules/print_fit.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QWidget>

namespace qmx {

QPixmap Capture_ActiveWin(QWidget* fallback)
{
    QWidget* w = QApplication::activeWindow();
    if (!w || !w->isVisible())
        w = fallback;
    return w ? w->grab() : QPixmap();
}

bool Print_PictureFit(QPrinter& printer, const QPixmap& picture, QString* why)
{
    // The orientation goes first: the page size read below follows it.
    printer.setPageOrientation(printLandscape(picture.size()) ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
    QPainter p;
    if (!p.begin(&printer)) {
        if (why)
            *why = printer.outputFileName().isEmpty() ? printer.printerName()
                                                      : printer.outputFileName();
        return false;
    }
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    const QSizeF printed = fitToPage(picture.size(), page);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(QRectF(QPointF(0, 0), printed), picture, QRectF(picture.rect()));
    return p.end();
}

} // namespace qmx
