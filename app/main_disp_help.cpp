// Help and the version box.
#include "app/main_disp.h"

#include "app/about_disp.h"
#include "app/help_window.h"
#include "app/ui_seam.h"

#include <QFileInfo>

namespace qmx {

void MainDisp::mnuHelp2_Click()
{
    // A missing help file simply opens nothing.
    if (!QFileInfo(HelpPath).isFile())
        return;
    if (!helpWindow_)
        helpWindow_ = new HelpWindow;
    helpWindow_->showFile(HelpPath);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void MainDisp::mnuVer_Click()
{
    ui::Beep();
    SubDisp_About box(this);
    box.exec();
}

} // namespace qmx
