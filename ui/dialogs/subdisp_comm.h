// The communication-settings dialog: port, speed, data bits, stop bits, parity, protocol and the
// controller's instrument number. OK stores the choices in the shared settings and the saved
// settings and marks them as chosen by hand; the caller then connects with them.
#pragma once

#include "rules/comm_settings.h"

#include <QDialog>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qmx {

struct QmxData;

class SubDisp_comm : public QDialog {
    Q_OBJECT
public:
    explicit SubDisp_comm(QmxData& data, QWidget* parent = nullptr);

    // Shows the settings held in the shared data; the protocol shown is the one found last.
    void preset();
    // 0 OK, 1 Cancel.
    void Command1_Click(int Index);

    std::array<QGroupBox*, 7> Frame1{};
    QComboBox* Cmb_protocol = nullptr;
    QComboBox* Cmb_port = nullptr;
    QComboBox* Cmb_No = nullptr;
    std::array<QRadioButton*, 2> Option1{}; // 9600, 19200
    std::array<QRadioButton*, 3> Option2{}; // even, odd, no parity
    std::array<QRadioButton*, 2> Option3{}; // 7, 8 data bits
    std::array<QRadioButton*, 2> Option4{}; // 1, 2 stop bits
    std::array<QPushButton*, 2> Command1{};
    QLabel* Label1 = nullptr;

public slots:
    // Closing the window any other way than OK is a cancel.
    void reject() override;

private:
    void ok();
    // Shows instrument number `text` from the saved settings again after a refused entry.
    void showSavedInstrument();

    QmxData& d;
};

} // namespace qmx
