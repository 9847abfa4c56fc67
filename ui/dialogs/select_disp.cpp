#include "ui/dialogs/select_disp.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "rules/list_commit.h"
#include "rules/option_lists.h"
#include "ui/main_services.h"
#include "ui/ui_seam.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qmx {

namespace {

// Long lists (the 36 input types) run in columns of this many options.
constexpr int kRowsPerColumn = 12;

} // namespace

Select_Disp::Select_Disp(MainServices& services, QWidget* parent)
    : EditDialog(parent), services_(services), d_(services.data())
{
    setObjectName(QStringLiteral("Select_Disp"));
    setModal(false);

    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(14, 12, 14, 12);
    // The frames lie on top of one another: only the frame of the item being chosen is shown.
    for (const OptionFrame& f : optionFrames()) {
        Frame frame;
        frame.box = new QGroupBox(this);
        frame.box->setObjectName(QLatin1String(f.frame));
        auto* grid = new QGridLayout(frame.box);
        for (int i = 0; i < f.count; ++i) {
            auto* b = new QRadioButton(frame.box);
            b->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(f.options)).arg(i));
            connect(b, &QRadioButton::clicked, this, [this] { operatorChose_ = true; });
            grid->addWidget(b, i % kRowsPerColumn, i / kRowsPerColumn);
            frame.options.push_back(b);
        }
        frame.box->setVisible(false);
        all->addWidget(frame.box);
        frames.push_back(frame);
    }
    all->addStretch(1);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* b : {Command1, Command2})
        b->setMinimumWidth(90);
    connect(Command1, &QPushButton::clicked, this, &Select_Disp::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Select_Disp::Command2_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    all->addLayout(buttons);
    Form_Load();
}

void Select_Disp::Form_Load()
{
    setWindowTitle(LoadResString(233));
    Command2->setText(LoadResString(30));
    for (size_t f = 0; f < frames.size(); ++f)
        loadFrame(int(f));
}

bool Select_Disp::loadFrame(int f)
{
    Frame& frame = frames[size_t(f)];
    bool resized = false;
    frame.box->setTitle(frameCaption(d_, f));
    const int offered = offeredOptions(d_, f);
    for (size_t i = 0; i < frame.options.size(); ++i) {
        QRadioButton* b = frame.options[i];
        const bool shown = int(i) < offered;
        // Options the model does not offer (input types 4..35 of the infrared variant) keep their
        // last caption and are hidden.
        if (shown)
            b->setText(optionCaption(d_, f, int(i)));
        resized = resized || b->isHidden() == shown;
        b->setVisible(shown);
    }
    return resized;
}

void Select_Disp::prepare()
{
    item_ = d_.ParaNo;
    committed_ = false;
    operatorChose_ = false;
    Form_Load();
    const int frame = optionFrameOf(item_);
    for (size_t f = 0; f < frames.size(); ++f)
        frames[f].box->setVisible(int(f) == frame);
    if (frame >= 0)
        select(frame, optionForValue(d_, frame, d_.ParaVal(item_)));
    adjustSize();
}

void Select_Disp::followData()
{
    if (item_ == 0 || committed_)
        return;
    const int frame = optionFrameOf(item_);
    if (frame < 0)
        return;
    auto& options = frames[size_t(frame)].options;
    const int before = checkedOption(frame);
    // What the operator read beside the option checked now.
    const QString read = before >= 0 ? options[size_t(before)]->text() : QString();
    // Its captions as at opening, by the data now (the AT or auto-reset wording, the model's
    // types); the hidden frames get theirs when a set button shows them.
    const bool resized = loadFrame(frame);
    // A click stands while its option is offered and still says what was clicked: a list
    // re-captioned under it (the other variant's input types, the auto-reset wording) would turn
    // it into a choice nobody made, so the stored value's option is chosen instead.
    operatorChose_ = operatorChose_ && before >= 0 && before < offeredOptions(d_, frame) &&
                     options[size_t(before)]->text() == read;
    const int keep = operatorChose_ ? before : optionForValue(d_, frame, d_.ParaVal(item_));
    if (keep != before)
        select(frame, keep);
    // A list that grew or shrank takes the size a fresh opening gives it, from layouts brought up
    // to date now rather than at the next event pass.
    if (resized) {
        frames[size_t(frame)].box->layout()->activate();
        layout()->activate();
        adjustSize();
    }
}

void Select_Disp::select(int frame, int index)
{
    if (frame < 0 || frame >= int(frames.size()))
        return;
    auto& options = frames[size_t(frame)].options;
    if (index >= 0 && index < int(options.size())) {
        options[size_t(index)]->setChecked(true);
        return;
    }
    // A stored value outside the list selects nothing.
    for (QRadioButton* b : options) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
}

int Select_Disp::checkedOption(int frame) const
{
    if (frame < 0 || frame >= int(frames.size()))
        return -1;
    const auto& options = frames[size_t(frame)].options;
    for (size_t i = 0; i < options.size(); ++i)
        if (options[i]->isChecked())
            return int(i);
    return -1;
}

int Select_Disp::chosen() const
{
    const int frame = optionFrameOf(item_);
    const int i = checkedOption(frame);
    return i >= 0 && !frames[size_t(frame)].options[size_t(i)]->isHidden() ? i : -1;
}

void Select_Disp::selectManu(int index)
{
    select(optionFrameOf(46), index);
}

void Select_Disp::Command1_Click()
{
    if (committed_)
        return;
    if (droppedAsRefused(d_, item_))
        return;
    committed_ = true;
    ui::Beep();
    // The choice counts against the lists in force now, and the value it replaces is the one
    // stored now: the data may have changed under the open dialog. The write request takes it as
    // the edit's base unless one waits already.
    const int frame = optionFrameOf(item_);
    const int16_t old = d_.ParaVal(item_);
    d_.ParaBak(item_) = old;
    ops_.clear();
    listCommit(d_, ListChoice{item_, old, optionForValue(d_, frame, chosen())}, ops_);
    services_.applyDisplay(ops_);
    if (d_.OnLine) {
        // The write goes to the item this dialog was prepared for, whatever ParaNo says now.
        d_.ParaNo = item_;
        services_.requestWrite();
    } else {
        d_.DataChanged = true;
    }
    services_.relayPages();
    QDialog::accept();
}

void Select_Disp::Command2_Click()
{
    ui::Beep();
    QDialog::reject();
}

void Select_Disp::reject()
{
    Command2_Click();
}

} // namespace qmx
