// The version box: product code and version number.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qmx {

class SubDisp_About : public QDialog {
    Q_OBJECT
public:
    explicit SubDisp_About(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Command1 = nullptr;

    void Form_Load();
    void Command1_Click();
};

// The version number as major.minor.revision.
QString versionText();

} // namespace qmx
