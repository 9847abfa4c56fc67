// The list-choice dialog: one frame of option buttons per kind of list (input type, alarm type,
// lock ...). Modeless; a set button prepares it for one item and shows it, OK stores the chosen
// option and either queues the write (online) or updates the main window (offline).
#pragma once

#include "rules/display_ops.h"
#include "ui/dialogs/edit_dialog.h"

#include <cstdint>
#include <vector>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace qmx {

class MainServices;
struct QmxData;

class Select_Disp : public EditDialog {
    Q_OBJECT
public:
    Select_Disp(MainServices& services, QWidget* parent);

    // One frame and its option buttons, in the order of the option lists.
    struct Frame {
        QGroupBox* box = nullptr;
        std::vector<QRadioButton*> options;
    };
    std::vector<Frame> frames;
    QPushButton* Command1 = nullptr; // OK
    QPushButton* Command2 = nullptr; // Cancel

    // The captions by the data now: the AT or auto-reset wording, the input types of the model.
    void Form_Load();
    // Binds the dialog to item ParaNo: captions, only its frame shown, its stored value selected.
    void prepare();
    // The data under the open dialog may have changed (a file load, a model change, an upload, a
    // monitoring step): the lists and captions follow it; an option the operator chose stays while
    // the model still offers it under the same caption, else the option of the value now stored is
    // chosen.
    void followData();
    // The item the dialog is bound to (0 before a set button prepared it).
    int item() const { return item_; }

    void Command1_Click();
    void Command2_Click();

    // Selects option `index` of the auto/manual list (the main window's refresh follows the
    // controller's auto/manual state while the dialog exists).
    void selectManu(int index);

    // The option now chosen in the frame of the item being chosen (-1: none).
    int chosen() const;

protected:
    void reject() override;

private:
    void select(int frame, int index);
    // The captions of frame `f` and which of its options show, by the data now; true when an
    // option came or went.
    bool loadFrame(int f);
    // The checked option of `frame`, offered or not (-1: none).
    int checkedOption(int frame) const;

    MainServices& services_;
    QmxData& d_;
    // The item the set button prepared the dialog for: OK acts on it, not on ParaNo at OK time.
    int item_ = 0;
    // The operator clicked an option since: a layout keeps that choice while it is offered with
    // the caption it was clicked under.
    bool operatorChose_ = false;
    DisplayOps ops_;
};

} // namespace qmx
