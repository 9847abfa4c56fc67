#include "ui/dialogs/about_disp.h"

#include "model/string_table.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace qmx {

QString versionText()
{
    return QStringLiteral(QMX_VERSION_TEXT);
}

SubDisp_About::SubDisp_About(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SubDisp_About"));
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(productLogo(72));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    Label1->setFont(big);
    Label3 = new QLabel(QStringLiteral("Version"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command1->setMinimumWidth(90);
    connect(Command1, &QPushButton::clicked, this, &SubDisp_About::Command1_Click);

    auto* g = new QGridLayout(this);
    g->setContentsMargins(20, 18, 20, 14);
    g->setHorizontalSpacing(18);
    g->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    g->addWidget(Label1, 0, 1, 1, 2);
    g->addWidget(Label3, 1, 1);
    g->addWidget(Label4, 1, 2);
    g->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    g->addLayout(buttons, 2, 0, 1, 3);
    Form_Load();
}

void SubDisp_About::Form_Load()
{
    setWindowTitle(LoadResString(256));
    Label1->setText(QStringLiteral("DFX-QMX07K"));
    Label4->setText(versionText());
}

void SubDisp_About::Command1_Click()
{
    ui::Beep();
    accept();
}

} // namespace qmx
