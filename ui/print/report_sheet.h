// The parameter report on paper: report header (maker and contact lines, first page), page header
// (title), the "Parameter" heading, the column headings, one detail line per row, and the page
// footer ("Page p of P" and the date). The preview and the printer paint the same pages.
#pragma once

#include "rules/report_pages.h"
#include "rules/report_rows.h"

#include <QDate>
#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;
class QRectF;

namespace qmx {

struct ReportSheet {
    QString Label1, lblAddress, lblAddress1; // report header
    QString lbpara_section2;                 // title
    QString lbpara_section6;                 // "Parameter"
    QString lbpara_section8_iterm, lbpara_section8_data, lbpara_section8_unit;
    struct Line {
        QString rp_dataitem, rp_data, rp_donvi;
    };
    std::vector<Line> lines; // the flagged rows, in row order
    QDate printed;
};

// The sheet of the flagged rows, with the captions from the string table.
ReportSheet makeReportSheet(const ReportRows& rows, const QDate& today);

class ReportLayout {
public:
    explicit ReportLayout(ReportSheet sheet);

    // An A4 page in points; every page is laid out in these units.
    static QSizeF pageSize() { return {595, 842}; }

    int pageCount() const { return int(pages_.size()); }
    const ReportSheet& sheet() const { return sheet_; }

    // Paints page `page` (from 0), scaled into `target` with its ratio kept.
    void paintPage(QPainter& p, const QRectF& target, int page) const;

private:
    ReportSheet sheet_;
    std::vector<PageRows> pages_;
};

} // namespace qmx
