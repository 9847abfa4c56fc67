// The set buttons: which item an edit is for, the two refusals, and the entry dialog it opens.
#include "ui/main/main_disp.h"

#include "model/items.h"
#include "model/qmx_data.h"
#include "rules/option_lists.h"
#include "rules/set_refusal.h"
#include "rules/settings_pages.h"
#include "rules/value_labels.h"
#include "ui/dialogs/select_disp.h"
#include "ui/dialogs/setting_disp.h"
#include "ui/main/main_disp_pages.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace qmx {

void MainDisp::Cmd_set_Click(int Index)
{
    if (Index < 1 || Index > 56 || Index == item::kManualOutput - 10)
        return;
    ui::Beep();
    if (refusedWhileAutoTuning(d, Index + 10)) {
        SSTab2->setFocus();
        return;
    }
    d.ParaNo = Index + 10;
    const int item = d.ParaNo;

    // The items chosen from a list; every other item with a set button takes a number.
    if (optionFrameOf(item) >= 0) {
        if (refusedUnderLock3(d, item)) {
            SSTab2->setFocus();
            return;
        }
        auto* dialog = subWindows_.open<Select_Disp>(
            QStringLiteral("Select_Disp"), [this] { return new Select_Disp(*this, this); });
        dialog->prepare();
        // The value before the edit; OK takes it again, as an upload may change it meanwhile.
        d.ParaBak(item) = d.ParaVal(item);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
        return;
    }

    auto* dialog = subWindows_.open<Setting_Disp>(QStringLiteral("Setting_Disp"),
                                                  [this] { return new Setting_Disp(*this, this); });
    dialog->Set_Range(valueText(item));
    // The value before the edit; OK takes it again, as an upload may change it meanwhile.
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
    // An open edit ends unstored, as Cancel ends it, once its set button would no longer open it:
    // a layout hid the button (a file of the other variant, a model change, an upload took the
    // item away), or the data now meet one of the button's refusals (auto-tuning started, "Lock
    // 3" brought by an upload or a file).
    if (auto* entry = subWindows_.find<Setting_Disp>(QStringLiteral("Setting_Disp"))) {
        if (editEnds(entry->item()))
            entry->dropEdit();
        else
            entry->followData(valueText(entry->item()));
    }
    if (auto* list = subWindows_.find<Select_Disp>(QStringLiteral("Select_Disp"))) {
        if (editEnds(list->item()))
            list->dropEdit();
        else
            list->followData();
    }
}

namespace {

const QWidget* setButton(const std::array<QPushButton*, 57>& buttons, int item)
{
    const int index = item - 10;
    return index >= 1 && index < int(buttons.size()) ? buttons[size_t(index)] : nullptr;
}

} // namespace

bool MainDisp::editEnds(int item) const
{
    if (editRefused(d, item))
        return true;
    const QWidget* button = setButton(Cmd_set, item);
    return button && hiddenOnPage(button);
}

bool MainDisp::editEndsUnder(const QmxData& held, int item) const
{
    if (editRefused(held, item) || !setButtonShown(held, item))
        return true;
    // The group frame around the button follows the option set, the same on screen.
    const QWidget* button = setButton(Cmd_set, item);
    return button && hiddenOnPage(button->parentWidget());
}

void MainDisp::Req_Write()
{
    d.Req_Write();
}

} // namespace qmx
