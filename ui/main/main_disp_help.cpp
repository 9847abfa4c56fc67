// Help and the version box.
#include "ui/main/main_disp.h"

#include "ui/dialogs/about_disp.h"
#include "ui/dialogs/help_window.h"
#include "ui/ui_seam.h"

#include <QFileInfo>

namespace qmx {

void MainDisp::mnuHelp2_Click()
{
    // A missing help file simply opens nothing.
    if (!QFileInfo(HelpPath).isFile())
        return;
    auto* help =
        subWindows_.open<HelpWindow>(QStringLiteral("HelpWindow"), [] { return new HelpWindow; });
    help->showFile(HelpPath);
    help->show();
    help->raise();
    help->activateWindow();
}

void MainDisp::mnuVer_Click()
{
    ui::Beep();
    SubDisp_About box(this);
    box.exec();
}

} // namespace qmx
