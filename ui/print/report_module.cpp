#include "ui/print/report_module.h"

#include "files/csv_export.h"
#include "model/string_table.h"
#include "rules/para_csv.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/main_services.h"
#include "ui/print/rptver.h"
#include "ui/sub_windows.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>

namespace qmx {

namespace {

bool ownVisible(const QWidget* w)
{
    return !(w->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
             w->testAttribute(Qt::WA_WState_Hidden));
}

QString captionOf(const QWidget* w)
{
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* f = qobject_cast<const GroupFrame*>(w))
        return f->caption();
    return QString();
}

// The default path of a new export: `name` in `folder`, or "stem-2.csv" ... when that name is
// taken, so an export never lands in an earlier one of the same second.
QString freeCsvPath(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    return dir.filePath(
        freeName(name, [&dir](const QString& n) { return QFileInfo::exists(dir.filePath(n)); }));
}

bool isInsideChart(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const Velder_ChartCtl*>(p))
            return true;
    return false;
}

} // namespace

ControlLookup windowControls(const QWidget* window)
{
    return [window](const QString& name) {
        // The trend chart names its own controls as the settings pages do ("Label1(0)"): only
        // the pages' controls count.
        const QWidget* found = nullptr;
        if (window)
            for (const QWidget* w : window->findChildren<QWidget*>(name))
                if (!isInsideChart(w, window)) {
                    found = w;
                    break;
                }
        return found ? ControlView{ownVisible(found), captionOf(found)} : ControlView{};
    };
}

void Show_ParaReport(MainServices& main)
{
    const ReportRows rows = Collect_RptData(windowControls(main.mainWindow()));
    QWidget* parent = main.mainWindow();
    auto* w = main.subWindows().open<rptver>(QStringLiteral("rptver"),
                                             [parent] { return new rptver(parent); });
    w->setReport(makeReportSheet(rows, QDate::currentDate()));
    QApplication::processEvents();
    w->setWindowTitle(LoadResString(1));
    w->show();
    w->raise();
    w->activateWindow();
}

void Export_Csv(MainServices& main)
{
    const QString folder = csvFolder();
    const QString proposed =
        freeCsvPath(folder, Make_CsvName(QStringLiteral("QMX-52C"), QDateTime::currentDateTime()));
    const QString path = ui::FileDialog(ui::FileMode::Save, folder,
                                        QStringLiteral("*.csv(Comma Separated Values)|*.csv"),
                                        QStringLiteral("csv"), QFileInfo(proposed).fileName());
    if (path.isEmpty())
        return;
    // The rows are those on screen now, after the dialog.
    const ReportRows rows = Collect_RptData(windowControls(main.mainWindow()));
    QString why;
    if (!appendCsvBlock(path, paraCsvBlock(rows), &why))
        ui::MsgBox(QDir::toNativeSeparators(path) + QLatin1Char('\n') + why, ui::Buttons::OK,
                   ui::Icon::Critical);
}

} // namespace qmx
