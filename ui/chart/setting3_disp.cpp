#include "ui/chart/setting3_disp.h"

#include "model/string_table.h"
#include "rules/chart_keypad.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx {

namespace {

QPushButton* keyButton(const QString& name, const QString& text)
{
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumSize(48, 36);
    return b;
}

} // namespace

Setting3_Disp::Setting3_Disp(Velder_ChartCtl& chart, QWidget* parent)
    : QDialog(parent), chart_(chart)
{
    setModal(true);
    auto* v = new QVBoxLayout(this);
    auto* info = new QGridLayout;
    Label1 = new QLabel;
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel;
    Label2->setObjectName(QStringLiteral("Label2"));
    Now_data = makeValueBox(this, QStringLiteral("Now_data"));
    Limit_data = makeValueBox(this, QStringLiteral("Limit_data"));
    info->addWidget(Label1, 0, 0);
    info->addWidget(Now_data, 0, 1);
    info->addWidget(Label2, 1, 0);
    info->addWidget(Limit_data, 1, 1);
    info->setColumnStretch(1, 1);
    v->addLayout(info);

    change_data3 = new QLabel(this);
    change_data3->setObjectName(QStringLiteral("change_data3"));
    change_data3->hide();
    Disp_setdata3 = new QLineEdit;
    Disp_setdata3->setObjectName(QStringLiteral("Disp_setdata3"));
    Disp_setdata3->setAlignment(Qt::AlignRight);
    QFont f = Disp_setdata3->font();
    f.setPointSizeF(f.pointSizeF() * 1.5);
    Disp_setdata3->setFont(f);
    Disp_setdata3->installEventFilter(this);
    v->addWidget(Disp_setdata3);

    auto* keys = new QGridLayout;
    const int order[10][2] = {{3, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 0},
                              {1, 1}, {1, 2}, {0, 0}, {0, 1}, {0, 2}};
    for (int d = 0; d < 10; ++d) {
        Ten_key[size_t(d)] = keyButton(QStringLiteral("Ten_key(%1)").arg(d), QString::number(d));
        keys->addWidget(Ten_key[size_t(d)], order[d][0], order[d][1]);
        connect(Ten_key[size_t(d)], &QPushButton::clicked, this, [this, d] { Ten_key_Click(d); });
    }
    Command1 = keyButton(QStringLiteral("Command1"), QStringLiteral("+/-"));
    Command2 = keyButton(QStringLiteral("Command2"), QStringLiteral("CE"));
    keys->addWidget(Command1, 3, 1);
    keys->addWidget(Command2, 3, 2);
    v->addLayout(keys);

    auto* row = new QHBoxLayout;
    Command3 = keyButton(QStringLiteral("Command3"), QStringLiteral("OK"));
    Command4 = keyButton(QStringLiteral("Command4"), QString());
    row->addWidget(Command3);
    row->addWidget(Command4);
    v->addLayout(row);

    connect(Command1, &QPushButton::clicked, this, &Setting3_Disp::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Setting3_Disp::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Setting3_Disp::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Setting3_Disp::Command4_Click);
}

void Setting3_Disp::Form_Load()
{
    setWindowTitle(LoadResString(230));
    Label1->setText(LoadResString(231));
    Label2->setText(LoadResString(232));
    Command4->setText(LoadResString(30));
}

void Setting3_Disp::prepare(const QString& now, const QString& range)
{
    Now_data->setText(now);
    Limit_data->setText(range);
    showEntry(QString());
    Disp_setdata3->setFocus();
}

void Setting3_Disp::showEntry(const QString& entry)
{
    change_data3->setText(entry);
    Disp_setdata3->setText(entry);
}

void Setting3_Disp::refuse(int stringId)
{
    // Code may take the keypad away while the box waits (the program ending).
    const QPointer<Setting3_Disp> self(this);
    ui::MsgBox(LoadResString(stringId), ui::Buttons::OK, ui::Icon::None);
    if (!self)
        return;
    showEntry(QString());
    Disp_setdata3->setFocus();
}

void Setting3_Disp::Ten_key_Click(int Index)
{
    showEntry(appendDigit(change_data3->text(), Index));
}

void Setting3_Disp::Command1_Click()
{
    const QString entry = negateEntry(change_data3->text());
    const int v = entryNumber(entry);
    const KeypadRange r = signRange(qmx::EntryMode(chart_.EntryMode));
    if (v < r.lo || v > r.hi) {
        refuse(229);
        return;
    }
    showEntry(entry);
}

void Setting3_Disp::Command2_Click()
{
    showEntry(QString());
    Disp_setdata3->setFocus();
}

void Setting3_Disp::Disp_setdata3_KeyPress(int key, const QString& text)
{
    if (text.size() == 1 && text.at(0).isDigit() && text.at(0).unicode() < 128) {
        Ten_key_Click(text.at(0).digitValue());
    } else if (text == QLatin1String("-")) {
        // The key changes the sign without the button's range check; OK checks it.
        showEntry(negateEntry(change_data3->text()));
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Command3_Click();
    } else if (key == Qt::Key_Backspace || text == QLatin1String(".")) {
        showEntry(QString());
    }
}

bool Setting3_Disp::eventFilter(QObject* o, QEvent* e)
{
    if (o == Disp_setdata3 && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        // Escape still closes the window as Cancel does; every other key is the keypad's.
        if (k->key() == Qt::Key_Escape)
            return QDialog::eventFilter(o, e);
        Disp_setdata3_KeyPress(k->key(), k->text());
        return true;
    }
    return QDialog::eventFilter(o, e);
}

void Setting3_Disp::Command3_Click()
{
    const QString entry = change_data3->text();
    const auto mode = qmx::EntryMode(chart_.EntryMode);
    const KeypadVerdict verdict = keypadOk(mode, entry, chart_.ScaleSH, chart_.ScaleSL);
    if (verdict.message != 0) {
        if (verdict.message == 559) {
            // Nothing typed: the window waits for a value.
            const QPointer<Setting3_Disp> self(this);
            ui::MsgBox(LoadResString(559), ui::Buttons::OK, ui::Icon::None);
            if (self)
                Disp_setdata3->setFocus();
        } else {
            refuse(verdict.message);
        }
        return;
    }
    // What was tested is what is applied: the entry's own number.
    const int v = verdict.value;
    const QString text = QString::number(v);
    ChartSettings& s = chart_.settings();
    {
        Velder_ChartCtl::PenWriteGroup group(chart_);
        switch (mode) {
        case EntryMode::ScaleHigh:
            chart_.setYScaleHigh(text);
            s.ChartSH = v;
            chart_.writePens(penRecordBit(4));
            break;
        case EntryMode::ScaleLow:
            chart_.setYScaleLow(text);
            s.ChartSL = v;
            chart_.writePens(penRecordBit(5));
            break;
        case EntryMode::Cycle:
            chart_.setXScaleTime(text);
            s.ChartItv = v;
            chart_.writePens(penRecordBit(3));
            break;
        case EntryMode::Divisions:
            chart_.setYScaleDivision(text);
            s.ChartDiv = int16_t(v);
            chart_.writePens(penRecordBit(11));
            break;
        default:
            break;
        }
        chart_.EntryMode = 0;
    }
    ui::Beep();
    accept();
}

void Setting3_Disp::Command4_Click()
{
    reject();
}

} // namespace qmx
