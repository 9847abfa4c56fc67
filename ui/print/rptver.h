// The report window: the parameter report's pages as they will print, and its print command.
#pragma once

#include "ui/print/report_sheet.h"

#include <QWidget>

#include <memory>

class QPrinter;
class QPushButton;
class QVBoxLayout;

namespace qmx {

class rptver : public QWidget {
    Q_OBJECT
public:
    explicit rptver(QWidget* parent = nullptr);
    ~rptver() override;

    // Shows `sheet` in place of what the window showed.
    void setReport(ReportSheet sheet);
    int pageCount() const;

    QPushButton* cmdPrint = nullptr;

private:
    void cmdPrint_Click();

    std::unique_ptr<ReportLayout> layout_;
    QWidget* pagesHost_ = nullptr;
    QVBoxLayout* pagesBox_ = nullptr;
};

// Prints the report on the current printer, one page after another. False with the reason when
// the printer would not take the job.
bool printReport(const ReportLayout& report, QString* why);
// The same on `printer`, a job not yet begun.
bool printReportOn(QPrinter& printer, const ReportLayout& report, QString* why);

} // namespace qmx
