// The printer choice: a list of the printers, the current one in front, OK and Cancel.
#pragma once

#include <QDialog>

class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace qmx {

// The outcome of the last printer choice: 0 or more the chosen printer's place in the list, -1 a
// name that is no printer of the list, -2 cancelled. It keeps its value between uses.
extern int PrinterIndex;

// The place of the first printer named exactly `name` (case counts), -1 when none is.
int Prn_Index(const QString& name);

class prnselect : public QDialog {
    Q_OBJECT
public:
    explicit prnselect(QWidget* parent);

    QLabel* Label1 = nullptr;
    QComboBox* prnName = nullptr;
    QPushButton* prnOK = nullptr;
    QPushButton* prnCancel = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Form_Load();
    void prnOK_Click();
    void prnCancel_Click();
};

// Shows the printer choice until a printer of the list is chosen and makes it the current
// printer; false when the operator cancels. Closing the window with its close box keeps what the
// window found when it opened: the current printer, or the window again when it is not listed.
bool choosePrinter(QWidget* parent);

} // namespace qmx
