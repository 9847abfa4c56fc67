// The chart keypad: the small modal ten-key window in which the operator types the Y scale high,
// the Y scale low, the recording cycle or the number of Y divisions. Its OK checks the value,
// hands it to the chart, keeps it in the chart settings and writes it into the four pen files.
#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qmx {

class Velder_ChartCtl;

class Setting3_Disp : public QDialog {
    Q_OBJECT
public:
    Setting3_Disp(Velder_ChartCtl& chart, QWidget* parent = nullptr);

    void Form_Load();
    // The current value and the range text of the setting the chart's button chose; the entry
    // starts empty.
    void prepare(const QString& now, const QString& range);

    void Ten_key_Click(int Index);
    void Command1_Click(); // "+/-"
    void Command2_Click(); // "CE"
    void Command3_Click(); // OK
    void Command4_Click(); // Cancel
    // A key typed into the box; every key is taken here, so the box always shows the entry.
    void Disp_setdata3_KeyPress(int key, const QString& text);

    QLabel* Now_data = nullptr;
    QLabel* Limit_data = nullptr;
    QLabel* change_data3 = nullptr;
    QLineEdit* Disp_setdata3 = nullptr;
    std::array<QPushButton*, 10> Ten_key{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void showEntry(const QString& entry);
    void refuse(int stringId);

    Velder_ChartCtl& chart_;
};

} // namespace qmx
