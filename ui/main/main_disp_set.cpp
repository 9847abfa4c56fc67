// The set buttons: which item an edit is for, the two refusals, and the entry dialog it opens.
#include "ui/main/main_disp.h"

#include "model/items.h"
#include "model/qmx_data.h"
#include "rules/option_lists.h"
#include "rules/value_labels.h"
#include "ui/dialogs/select_disp.h"
#include "ui/dialogs/setting_disp.h"
#include "ui/main/main_disp_pages.h"
#include "ui/ui_seam.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace qmx {

namespace {

constexpr int kLock3 = 3; // the set value lock that also locks the input type

} // namespace

void MainDisp::Cmd_set_Click(int Index)
{
    if (Index < 1 || Index > 56 || Index == item::kManualOutput - 10)
        return;
    ui::Beep();
    // While auto-tuning runs only its own choice and the output OUT/OFF can be changed.
    if (d.ParaVal(item::kAutoTuning) == 1 && Index != 2 && Index != 35) {
        SSTab2->setFocus();
        return;
    }
    d.ParaNo = Index + 10;
    const int item = d.ParaNo;

    // The items chosen from a list; every other item with a set button takes a number.
    if (optionFrameOf(item) >= 0) {
        if (item == item::kInputType && d.ParaVal(item::kLockSelection) == kLock3) {
            SSTab2->setFocus();
            return;
        }
        auto* dialog = subWindows_.open<Select_Disp>(
            QStringLiteral("Select_Disp"), [this] { return new Select_Disp(*this, this); });
        dialog->prepare();
        // A refused write puts this value back.
        d.ParaBak(item) = d.ParaVal(item);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
        return;
    }

    auto* dialog = subWindows_.open<Setting_Disp>(QStringLiteral("Setting_Disp"),
                                                  [this] { return new Setting_Disp(*this, this); });
    dialog->Set_Range(valueText(item));
    // A refused write puts this value back.
    d.ParaBak(item) = d.ParaVal(item);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

QString MainDisp::valueText(int item)
{
    if (const auto label = valueLabelOf(item))
        if (auto* l = qobject_cast<QLabel*>(pages().applier.widget(label->ctl, label->index)))
            return l->text();
    return QString();
}

void MainDisp::openEditsFollowData()
{
    // A layout that hides an open edit's set button took its item away (a file of the other
    // variant, a model change, an upload): the edit ends unstored, as Cancel ends it, so no value
    // is kept or written for an item the model no longer has.
    if (auto* entry = subWindows_.find<Setting_Disp>(QStringLiteral("Setting_Disp"))) {
        if (setButtonGone(entry->item()))
            entry->dropEdit();
        else
            entry->followData(valueText(entry->item()));
    }
    if (auto* list = subWindows_.find<Select_Disp>(QStringLiteral("Select_Disp"))) {
        if (setButtonGone(list->item()))
            list->dropEdit();
        else
            list->followData();
    }
}

bool MainDisp::setButtonGone(int item) const
{
    const int index = item - 10;
    if (index < 1 || index >= int(Cmd_set.size()) || !Cmd_set[size_t(index)])
        return false; // not prepared yet
    // Up to the settings page: the page itself is hidden whenever another tab is in front.
    for (const QWidget* w = Cmd_set[size_t(index)];
         w && w->parentWidget() && !w->parentWidget()->inherits("QStackedWidget");
         w = w->parentWidget())
        if (w->isHidden())
            return true;
    return false;
}

void MainDisp::Req_Write()
{
    d.Req_Write();
}

} // namespace qmx
