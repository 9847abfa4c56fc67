#include "ui/dialogs/setting_disp.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/control_rows.h"
#include "rules/entry_keypad.h"
#include "rules/entry_range.h"
#include "rules/value_labels.h"
#include "ui/main_services.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx {

namespace {

QPushButton* keyButton(QWidget* parent, const QString& name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    // A click leaves the focus in the entry box, so typing goes on where it was.
    b->setFocusPolicy(Qt::TabFocus);
    b->setMinimumSize(48, 36);
    return b;
}

} // namespace

void EntryBox::keyPressEvent(QKeyEvent* e)
{
    int ascii = -1;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ascii = 13;
        break;
    case Qt::Key_Backspace:
        ascii = 8;
        break;
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // The dialog's own keys: Escape cancels, Tab moves on.
        QLineEdit::keyPressEvent(e);
        return;
    default:
        if (!e->text().isEmpty())
            ascii = e->text().at(0).unicode();
        break;
    }
    if (ascii >= 0)
        emit keyTyped(ascii);
    e->accept();
}

void EntryBox::inputMethodEvent(QInputMethodEvent* e)
{
    // Composed text would land in the box beside the handler's text; each character is a key.
    for (const QChar c : e->commitString())
        emit keyTyped(c.unicode());
    e->accept();
}

Setting_Disp::Setting_Disp(MainServices& services, QWidget* parent)
    : EditDialog(parent), services_(services), d_(services.data())
{
    setObjectName(QStringLiteral("Setting_Disp"));
    setModal(false);

    auto named = [this](QLabel* l, const char* name) {
        l->setObjectName(QLatin1String(name));
        return l;
    };
    Label1 = named(new QLabel(this), "Label1");
    Label2 = named(new QLabel(this), "Label2");
    Now_data = makeValueBox(this, QStringLiteral("Now_data"));
    Limit_data = makeValueBox(this, QStringLiteral("Limit_data"));
    // The raw entry is the dialog's working text; the operator reads it in the entry box.
    change_data = named(new QLabel(this), "change_data");
    change_data->setVisible(false);

    Disp_setdata = new EntryBox(this);
    Disp_setdata->setObjectName(QStringLiteral("Disp_setdata"));
    Disp_setdata->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Disp_setdata->setAttribute(Qt::WA_InputMethodEnabled, false);
    // Nothing reaches the box past the key handler: no paste, no drop, no context menu.
    Disp_setdata->setReadOnly(true);
    Disp_setdata->setAcceptDrops(false);
    Disp_setdata->setContextMenuPolicy(Qt::NoContextMenu);
    QFont big = Disp_setdata->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    Disp_setdata->setFont(big);
    Disp_setdata->setMinimumHeight(34);
    connect(Disp_setdata, &EntryBox::keyTyped, this, &Setting_Disp::Disp_setdata_KeyPress);

    for (int i = 0; i <= 9; ++i) {
        Ten_key[size_t(i)] =
            keyButton(this, QStringLiteral("Ten_key(%1)").arg(i), QString::number(i));
        connect(Ten_key[size_t(i)], &QPushButton::clicked, this, [this, i] { Ten_key_Click(i); });
    }
    Command1 = keyButton(this, QStringLiteral("Command1"), QStringLiteral("+/-"));
    Command2 = keyButton(this, QStringLiteral("Command2"), QStringLiteral("CE"));
    Command3 = keyButton(this, QStringLiteral("Command3"), QStringLiteral("OK"));
    Command4 = keyButton(this, QStringLiteral("Command4"), QString());
    connect(Command1, &QPushButton::clicked, this, &Setting_Disp::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Setting_Disp::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Setting_Disp::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Setting_Disp::Command4_Click);

    auto* top = new QGridLayout;
    top->addWidget(Label1, 0, 0);
    top->addWidget(Now_data, 0, 1);
    top->addWidget(Label2, 1, 0);
    top->addWidget(Limit_data, 1, 1);
    top->setColumnStretch(1, 1);

    // The pad as on a calculator: 7 8 9 / 4 5 6 / 1 2 3 / 0 +/- CE; OK and Cancel beside it.
    auto* pad = new QGridLayout;
    for (int i = 1; i <= 9; ++i)
        pad->addWidget(Ten_key[size_t(i)], 2 - (i - 1) / 3, (i - 1) % 3);
    pad->addWidget(Ten_key[0], 3, 0);
    pad->addWidget(Command1, 3, 1);
    pad->addWidget(Command2, 3, 2);
    auto* side = new QVBoxLayout;
    side->addWidget(Command3);
    side->addWidget(Command4);
    side->addStretch(1);
    auto* lower = new QHBoxLayout;
    lower->addLayout(pad, 1);
    lower->addSpacing(12);
    lower->addLayout(side);

    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(14, 12, 14, 12);
    all->addLayout(top);
    all->addWidget(Disp_setdata);
    all->addLayout(lower);
    all->addWidget(change_data);
    Form_Load();
}

void Setting_Disp::Form_Load()
{
    setWindowTitle(LoadResString(230));
    Label1->setText(LoadResString(231));
    Label2->setText(LoadResString(232));
    Command4->setText(LoadResString(30));
}

void Setting_Disp::Set_Range(const QString& ValueText)
{
    const int item = d_.ParaNo;
    const EntryRange r = qmx::Set_Range(d_, item, Limits{d_.ParaMin, d_.ParaMax});
    d_.ParaMin = r.ParaMin;
    d_.ParaMax = r.ParaMax;
    d_.DecFlag = r.DecFlag;
    Now_data->setText(ValueText);
    Limit_data->setText(r.Limit_data);
    bound_ = {item, r.ParaMin, r.ParaMax, r.DecFlag};
    committed_ = false;
    // A dialog prepared for another item starts with an empty entry in both fields.
    change_data->clear();
    Disp_setdata->clear();
    Disp_setdata->setFocus();
}

void Setting_Disp::followData(const QString& ValueText)
{
    if (bound_.item == 0 || committed_)
        return; // not prepared yet, or its OK is closing it
    Now_data->setText(ValueText);
    limitsInForce();
}

void Setting_Disp::limitsInForce()
{
    const EntryRange r = qmx::Set_Range(d_, bound_.item, Limits{bound_.min, bound_.max});
    d_.ParaMin = r.ParaMin;
    d_.ParaMax = r.ParaMax;
    d_.DecFlag = r.DecFlag;
    const Bound now{bound_.item, r.ParaMin, r.ParaMax, r.DecFlag};
    if (now.min == bound_.min && now.max == bound_.max && now.decFlag == bound_.decFlag &&
        r.Limit_data == Limit_data->text())
        return;
    bound_ = now;
    Limit_data->setText(r.Limit_data);
    // What was typed stays, shown with the decimals in force.
    showEntry();
}

void Setting_Disp::showEntry()
{
    const QString entry = change_data->text();
    if (entry.isEmpty()) {
        Disp_setdata->clear();
        return;
    }
    const auto text = entryValueText(d_, bound_.item, bound_.decFlag, entryNumber(entry));
    // A DC decimal point outside 0..3 leaves the box as it is.
    if (text)
        Disp_setdata->setText(*text);
}

void Setting_Disp::clearEntry()
{
    change_data->clear();
    Disp_setdata->clear();
    Disp_setdata->setFocus();
}

void Setting_Disp::refuse(int text)
{
    // Code may close the dialog while the box waits (going offline, the program ending).
    const QPointer<Setting_Disp> self(this);
    ui::MsgBox(LoadResString(text), ui::Buttons::OK, ui::Icon::None);
    if (self)
        clearEntry();
}

void Setting_Disp::Ten_key_Click(int Index)
{
    change_data->setText(appendDigit(change_data->text(), Index));
    showEntry();
}

void Setting_Disp::Command1_Click()
{
    limitsInForce();
    change_data->setText(negateEntry(change_data->text()));
    const int32_t v = entryNumber(change_data->text());
    if (v > bound_.max || v < bound_.min) {
        refuse(229);
        return;
    }
    showEntry();
}

void Setting_Disp::Command2_Click()
{
    clearEntry();
}

void Setting_Disp::Disp_setdata_KeyPress(int KeyAscii)
{
    switch (classifyKey(KeyAscii)) {
    case EntryKey::Digit:
        change_data->setText(appendDigit(change_data->text(), KeyAscii - '0'));
        showEntry();
        break;
    case EntryKey::Negate:
        change_data->setText(negateEntry(change_data->text()));
        showEntry();
        break;
    case EntryKey::Commit:
        Command3_Click();
        break;
    case EntryKey::Clear:
        change_data->clear();
        Disp_setdata->clear();
        break;
    case EntryKey::Other:
        showEntry();
        break;
    }
}

void Setting_Disp::Command3_Click()
{
    // One accepted entry closes the dialog; an Enter that follows finds nothing to commit.
    if (committed_)
        return;
    if (droppedAsRefused(d_, bound_.item))
        return;
    limitsInForce();
    switch (judgeEntry(change_data->text(), Disp_setdata->text(), bound_.min, bound_.max)) {
    case EntryVerdict::Empty: {
        const QPointer<Setting_Disp> self(this);
        ui::MsgBox(LoadResString(559), ui::Buttons::OK, ui::Icon::None);
        if (!self)
            return;
        ui::Beep();
        Disp_setdata->setFocus();
        return;
    }
    case EntryVerdict::OutOfRange:
        refuse(229);
        return;
    case EntryVerdict::Accepted:
        break;
    }
    committed_ = true;
    ui::Beep();
    const int item = bound_.item;
    const auto v = static_cast<int16_t>(entryNumber(change_data->text()));
    // The value before the edit is the one stored now (an upload may have brought it while the
    // dialog was open); the write request takes it as the edit's base unless one waits already.
    d_.ParaBak(item) = d_.ParaVal(item);
    d_.ParaVal(item) = v;
    if (item == 25 || item == 26)
        d_.ReUpload = true;
    if (d_.OnLine) {
        // The write goes to the item this dialog was prepared for, whatever ParaNo says now.
        d_.ParaNo = item;
        services_.requestWrite();
    } else {
        commitOffline();
    }
    QDialog::accept();
}

void Setting_Disp::commitOffline()
{
    d_.DataChanged = true;
    ops_.clear();
    if (const auto label = valueLabelOf(bound_.item))
        ops_.text(label->ctl, label->index, Disp_setdata->text());
    relayControlRows(d_, bound_.item, ops_);
    services_.applyDisplay(ops_);
    // The rows it re-laid may take another open edit's item away (a P band of 0 has no AT).
    services_.openEditsFollowData();
}

void Setting_Disp::Command4_Click()
{
    QDialog::reject();
}

void Setting_Disp::reject()
{
    Command4_Click();
}

} // namespace qmx
