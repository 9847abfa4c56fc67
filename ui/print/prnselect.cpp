#include "ui/print/prnselect.h"

#include "model/string_table.h"
#include "ui/print/printers.h"
#include "ui/ui_seam.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace qmx {

int PrinterIndex = -1;

int Prn_Index(const QString& name)
{
    return int(printerNames().indexOf(name));
}

prnselect::prnselect(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("prnselect"));
    setModal(true);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    prnName = new QComboBox(this);
    prnName->setObjectName(QStringLiteral("prnName"));
    prnName->setEditable(true);
    prnName->setInsertPolicy(QComboBox::NoInsert);
    prnName->setMinimumWidth(260);
    prnOK = new QPushButton(QStringLiteral("OK"), this);
    prnOK->setObjectName(QStringLiteral("prnOK"));
    prnOK->setDefault(true);
    prnCancel = new QPushButton(this);
    prnCancel->setObjectName(QStringLiteral("prnCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(prnName, 1, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(prnOK);
    buttons->addWidget(prnCancel);
    grid->addLayout(buttons, 2, 0);

    connect(prnOK, &QPushButton::clicked, this, &prnselect::prnOK_Click);
    connect(prnCancel, &QPushButton::clicked, this, &prnselect::prnCancel_Click);
    Form_Load();
}

void prnselect::Form_Load()
{
    setWindowTitle(LoadResString(34));
    Label1->setText(LoadResString(35));
    prnCancel->setText(LoadResString(30));

    const QString current = currentPrinterName();
    PrinterIndex = Prn_Index(current);
    prnName->clear();
    prnName->addItems(printerNames());
    prnName->setCurrentIndex(PrinterIndex);
    prnName->setEditText(current);
    // The system knows no printer: the window still opens, with nothing to choose.
    if (prnName->count() == 0)
        ui::MsgBox(LoadResString(57), ui::Buttons::OK, ui::Icon::None);
}

void prnselect::prnOK_Click()
{
    ui::Beep();
    PrinterIndex = Prn_Index(prnName->currentText());
    accept();
}

void prnselect::keyPressEvent(QKeyEvent* e)
{
    // Escape is Cancel here as in every dialog. Only the close box keeps what the window found
    // when it opened.
    if (e->matches(QKeySequence::Cancel)) {
        prnCancel->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void prnselect::prnCancel_Click()
{
    ui::Beep();
    PrinterIndex = -2;
    reject();
}

bool choosePrinter(QWidget* parent)
{
    // The window asking may be closed by code while the choice or its box is open; the choice
    // goes with it then, so it lives on the heap and is not touched once its owner is gone.
    const QPointer<QWidget> owner(parent);
    do {
        auto* w = new prnselect(parent);
        if (parent && !owner)
            return false;
        w->exec();
        if (parent && !owner)
            return false;
        delete w;
        if (PrinterIndex == -2)
            return false;
    } while (PrinterIndex < 0);
    setCurrentPrinter(printerNames().value(PrinterIndex));
    return true;
}

} // namespace qmx
