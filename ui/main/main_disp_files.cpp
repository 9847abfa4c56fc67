// Set-data files: File save and File load.
#include "ui/main/main_disp.h"

#include "files/setdata_file.h"
#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/ui_seam.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>

namespace qmx {

namespace {

const QString kFilter = QStringLiteral("*.dat(data file)|*.dat");
const QString kExt = QStringLiteral("dat");

QString setdataFolder()
{
    return programFolder() + QStringLiteral("/Setdata");
}

} // namespace

void MainDisp::mnuSave_Click()
{
    ui::Beep();
    const QString path = ui::FileDialog(ui::FileMode::Save, setdataFolder(), kFilter, kExt);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)) {
        if (ui::MsgBox(LoadResString(507), ui::Buttons::YesNo, ui::Icon::Question) !=
            ui::Answer::Yes) {
            ui::MsgBox(LoadResString(508), ui::Buttons::OK, ui::Icon::None);
            return;
        }
    }

    for (QProgressBar* b : {ProgressBar1, ProgressBar2}) {
        b->setMaximum(63);
        b->setValue(0);
        b->show();
    }
    d.FileHead = 0;
    // The file is written whole and replaces the old one only once complete.
    QString why;
    const bool ok = writeSetDataFile(path, d, &why);
    if (ok) {
        const int lines = d.RDModel ? 64 : 63;
        for (QProgressBar* b : {ProgressBar1, ProgressBar2})
            b->setValue(qMin(lines, b->maximum()));
    }
    ProgressBar1->hide();
    ProgressBar2->hide();
    if (!ok) {
        ui::MsgBox(QDir::toNativeSeparators(path) + QLatin1Char('\n') + why, ui::Buttons::OK,
                   ui::Icon::Critical);
        return;
    }
    d.SpecCheck = true;
    // What is on screen is now kept in a file.
    d.DataChanged = false;
}

void MainDisp::mnuLoad_Click()
{
    // A step talking to the controller (a download from offline) works on the screen data.
    if (inLongStep()) {
        ui::Beep();
        return;
    }
    if (d.OnLine) {
        ui::MsgBox(LoadResString(701), ui::Buttons::OK, ui::Icon::None);
        return;
    }
    if (ui::MsgBox(LoadResString(535), ui::Buttons::YesNo, ui::Icon::Exclamation) !=
        ui::Answer::Yes)
        return;
    const QString path = ui::FileDialog(ui::FileMode::Open, setdataFolder(), kFilter, kExt);
    if (path.isEmpty())
        return;

    // The whole file is checked before anything on screen or in the data changes.
    QString why;
    const auto file = readSetDataFile(path, nullptr, &why);
    if (!file) {
        ui::MsgBox(LoadResString(27), ui::Buttons::OK, ui::Icon::Exclamation, QString(),
                   QDir::toNativeSeparators(path) + QLatin1Char('\n') + why);
        return;
    }
    Label6->setText(QFileInfo(path).fileName());
    applySetData(d, *file, true);

    for (QProgressBar* b : {ProgressBar1, ProgressBar2}) {
        b->setMaximum(62);
        b->setValue(0);
        b->show();
    }
    Read_data3();
    ProgressBar1->hide();
    ProgressBar2->hide();

    d.DataValid = true;
    d.SpecCheck = true;
    d.DataChanged = true;
    Disp_SStab2(SSTab2->currentIndex());
}

} // namespace qmx
