// The numeric entry dialog: the current value and the range of the item being edited, a ten-key
// pad and the entry box. Modeless; a set button prepares it (Set_Range) and shows it, OK tests and
// stores the entry, and either queues the write (online) or updates the main window (offline).
#pragma once

#include "rules/display_ops.h"
#include "ui/dialogs/edit_dialog.h"

#include <QLineEdit>

#include <array>
#include <cstdint>

class QLabel;
class QPushButton;

namespace qmx {

class MainServices;
struct QmxData;

// The entry box: every key goes to the dialog's handler, and the box shows only what the handler
// sets (it never inserts a typed character by itself).
class EntryBox : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void keyTyped(int keyAscii);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
};

class Setting_Disp : public EditDialog {
    Q_OBJECT
public:
    Setting_Disp(MainServices& services, QWidget* parent);

    QLabel* Label1 = nullptr;
    QLabel* Now_data = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Limit_data = nullptr;
    QLabel* change_data = nullptr;
    EntryBox* Disp_setdata = nullptr;
    std::array<QPushButton*, 10> Ten_key{};
    QPushButton* Command1 = nullptr; // +/-
    QPushButton* Command2 = nullptr; // CE
    QPushButton* Command3 = nullptr; // OK
    QPushButton* Command4 = nullptr; // Cancel

    void Form_Load();
    // Limits, decimal flag and range line of item ParaNo; `ValueText` is what the main window shows
    // for it. The dialog is bound to that item from here on, with an empty entry.
    void Set_Range(const QString& ValueText);
    // The data under the open dialog may have changed (a list choice, a model change, a file load,
    // an upload): the current value, the limits, the range line and the entry's decimals follow.
    // `ValueText` is what the main window shows now for the item the dialog is bound to.
    void followData(const QString& ValueText);
    // The item the dialog is bound to (0 before a set button prepared it).
    int item() const { return bound_.item; }

    void Ten_key_Click(int Index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Disp_setdata_KeyPress(int KeyAscii);

protected:
    void reject() override;

private:
    // The edit as the set button prepared it: OK acts on this, whatever was prepared since for
    // another window or item.
    struct Bound {
        int item = 0;
        int16_t min = 0;
        int16_t max = 0;
        bool decFlag = false;
    };

    void limitsInForce();  // Set_Range again for the bound item, by the data now
    void showEntry();      // the display rule
    void clearEntry();     // both fields empty, the focus in the box
    void refuse(int text); // a box with string `text`, the entry cleared
    void commitOffline();

    MainServices& services_;
    QmxData& d_;
    Bound bound_;
    DisplayOps ops_;
};

} // namespace qmx
