#include "ui/print/report_sheet.h"

#include "model/string_table.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace qmx {

namespace {

// Geometry of a page, in points.
constexpr double kMargin = 36;
constexpr double kWidth = 595 - 2 * kMargin;
constexpr double kBottom = 842 - kMargin;
constexpr double kLine = 16;         // one detail line
constexpr double kFooter = 20;       // page footer
constexpr double kReportHeader = 48; // maker and two contact lines, first page only
constexpr double kPageHeader = 34;   // title
constexpr double kGroupHeader = 26;  // "Parameter"
constexpr double kColumnHeader = 20; // column headings
constexpr double kColData = 250;     // x of the data column, from the left margin
constexpr double kColUnit = 450;     // x of the unit column

double detailTop(bool firstPage)
{
    return kMargin + (firstPage ? kReportHeader : 0) + kPageHeader + kGroupHeader + kColumnHeader;
}

int rowsFitting(bool firstPage)
{
    return int((kBottom - kFooter - detailTop(firstPage)) / kLine);
}

QFont font(double px, bool bold = false)
{
    QFont f;
    f.setPixelSize(int(px));
    f.setBold(bold);
    // No ligatures: the printed text reads back letter for letter ("fi" stays two letters).
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

// One line of text in a box. A text too long for its column is set smaller first, so a long
// value stays whole; only what still does not fit is cut with an ellipsis.
void cell(QPainter& p, const QRectF& r, const QString& text, Qt::Alignment align = Qt::AlignLeft)
{
    const QRectF box = r.adjusted(2, 0, -2, 0);
    QFont f = p.font();
    const int size = f.pixelSize();
    while (f.pixelSize() > 6 && QFontMetricsF(f).horizontalAdvance(text) > box.width())
        f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    const QString shown = QFontMetricsF(f).elidedText(text, Qt::ElideRight, box.width());
    p.drawText(box, int(align | Qt::AlignVCenter), shown);
    f.setPixelSize(size);
    p.setFont(f);
}

} // namespace

ReportSheet makeReportSheet(const ReportRows& rows, const QDate& today)
{
    ReportSheet s;
    s.Label1 = LoadResString(2);
    s.lblAddress = LoadResString(789);
    s.lblAddress1 = LoadResString(790);
    s.lbpara_section2 = LoadResString(791).trimmed();
    s.lbpara_section6 = LoadResString(792);
    s.lbpara_section8_iterm = LoadResString(793);
    s.lbpara_section8_data = LoadResString(794);
    s.lbpara_section8_unit = LoadResString(795);
    for (int k = 0; k < kReportSlots; ++k)
        if (rows.RptFlag[size_t(k)])
            s.lines.push_back(
                {rows.RptItem[size_t(k)], rows.RptData[size_t(k)], rows.RptUnit[size_t(k)]});
    s.printed = today;
    return s;
}

ReportLayout::ReportLayout(ReportSheet sheet)
    : sheet_(std::move(sheet)),
      pages_(reportPages(int(sheet_.lines.size()), rowsFitting(true), rowsFitting(false)))
{
}

void ReportLayout::paintPage(QPainter& p, const QRectF& target, int page) const
{
    if (page < 0 || page >= pageCount())
        return;
    const QSizeF size = pageSize();
    const double scale = std::min(target.width() / size.width(), target.height() / size.height());
    p.save();
    p.translate(target.topLeft());
    p.scale(scale, scale);
    p.setPen(QPen(Qt::black, 0.6));

    double y = kMargin;
    const double x = kMargin;
    if (page == 0) {
        p.setFont(font(11, true));
        cell(p, {x, y, kWidth, 16}, sheet_.Label1);
        p.setFont(font(9));
        cell(p, {x, y + 16, kWidth, 14}, sheet_.lblAddress);
        cell(p, {x, y + 30, kWidth, 14}, sheet_.lblAddress1);
        y += kReportHeader;
    }

    p.setFont(font(16, true));
    cell(p, {x, y, kWidth, 26}, sheet_.lbpara_section2, Qt::AlignHCenter);
    p.drawLine(QPointF(x, y + 28), QPointF(x + kWidth, y + 28));
    y += kPageHeader;

    p.setFont(font(12, true));
    p.drawRect(QRectF(x, y, 120, 20));
    cell(p, {x, y, 120, 20}, sheet_.lbpara_section6, Qt::AlignHCenter);
    y += kGroupHeader;

    p.setFont(font(10, true));
    p.drawLine(QPointF(x, y), QPointF(x + kWidth, y));
    cell(p, {x, y, kColData, kColumnHeader}, sheet_.lbpara_section8_iterm);
    cell(p, {x + kColData, y, kColUnit - kColData, kColumnHeader}, sheet_.lbpara_section8_data);
    cell(p, {x + kColUnit, y, kWidth - kColUnit, kColumnHeader}, sheet_.lbpara_section8_unit);
    y += kColumnHeader;
    p.drawLine(QPointF(x, y), QPointF(x + kWidth, y));

    p.setFont(font(10));
    const PageRows rows = pages_[size_t(page)];
    for (int i = 0; i < rows.count; ++i) {
        const ReportSheet::Line& l = sheet_.lines[size_t(rows.first + i)];
        cell(p, {x, y, kColData, kLine}, l.rp_dataitem);
        cell(p, {x + kColData, y, kColUnit - kColData, kLine}, l.rp_data);
        cell(p, {x + kColUnit, y, kWidth - kColUnit, kLine}, l.rp_donvi);
        y += kLine;
        p.drawLine(QPointF(x, y), QPointF(x + kWidth, y));
    }

    p.setFont(font(9));
    const QRectF footer(x, kBottom - kFooter + 4, kWidth, kFooter - 4);
    cell(p, footer, QStringLiteral("Page %1 of %2").arg(page + 1).arg(pageCount()));
    cell(p, footer, QLocale().toString(sheet_.printed, QLocale::ShortFormat), Qt::AlignRight);
    p.restore();
}

} // namespace qmx
