#include "ui/dialogs/subdisp_opset.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/main_services.h"
#include "ui/ui_seam.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace qmx {

namespace {

QString idx(const QString& name, int i)
{
    return name + QLatin1Char('(') + QString::number(i) + QLatin1Char(')');
}

} // namespace

SubDisp_Opset::SubDisp_Opset(MainServices& main, QWidget* parent)
    : QDialog(parent), main_(main), d(main.data())
{
    setObjectName(QStringLiteral("SubDisp_Opset"));
    setModal(true);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* left = new QVBoxLayout(Frame1);
    auto* right = new QVBoxLayout(Frame2);

    QRadioButton** arrays[kOptionGroups] = {Option_set1.data(), Option_set2.data(),
                                            Option_set3.data(), Option_set4.data(),
                                            Option_set5.data(), Option_set6.data()};
    for (int g = 0; g < kOptionGroups; ++g) {
        Frame_OP1[size_t(g)] = new QGroupBox(Frame1);
        Frame_OP1[size_t(g)]->setObjectName(idx(QStringLiteral("Frame_OP1"), g));
        Lbl_OP[size_t(g)] = new QLabel(Frame_OP1[size_t(g)]);
        Lbl_OP[size_t(g)]->setObjectName(QStringLiteral("Lbl_OP") + QString::number(g + 1));
        auto* l = new QVBoxLayout(Frame_OP1[size_t(g)]);
        l->addWidget(Lbl_OP[size_t(g)]);
        l->addStretch(1);
        left->addWidget(Frame_OP1[size_t(g)]);

        Frame2_OP1[size_t(g)] = new QGroupBox(Frame2);
        Frame2_OP1[size_t(g)]->setObjectName(idx(QStringLiteral("Frame2_OP1"), g));
        // The heater-burnout choices are long: one a line; the others fit on one line.
        QBoxLayout* r = optionCount(g) > 3 ? static_cast<QBoxLayout*>(new QVBoxLayout)
                                           : static_cast<QBoxLayout*>(new QHBoxLayout);
        Frame2_OP1[size_t(g)]->setLayout(r);
        const QString name = QStringLiteral("Option_set") + QString::number(g + 1);
        for (int k = 0; k < optionCount(g); ++k) {
            auto* b = new QRadioButton(Frame2_OP1[size_t(g)]);
            b->setObjectName(idx(name, k));
            arrays[g][k] = b;
            r->addWidget(b);
            connect(b, &QRadioButton::clicked, this, [this, g, k] { optionClick(g, k); });
        }
        r->addStretch(1);
        right->addWidget(Frame2_OP1[size_t(g)]);
    }

    Command1[0] = new QPushButton(this);
    Command1[1] = new QPushButton(this);
    for (int i = 0; i < 2; ++i) {
        Command1[size_t(i)]->setObjectName(idx(QStringLiteral("Command1"), i));
        Command1[size_t(i)]->setAutoDefault(false);
        connect(Command1[size_t(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(Frame1, 0, 0);
    grid->addWidget(Frame2, 0, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);
    grid->addLayout(buttons, 1, 0, 1, 2);

    Form_Load();

    // Each frame of the set in force stands beside its group's choices.
    for (int g = 0; g < kOptionGroups; ++g)
        Frame_OP1[size_t(g)]->setMinimumHeight(Frame2_OP1[size_t(g)]->sizeHint().height());
}

QRadioButton* SubDisp_Opset::option(int group, int k) const
{
    const std::array<QRadioButton* const*, kOptionGroups> arrays = {
        Option_set1.data(), Option_set2.data(), Option_set3.data(),
        Option_set4.data(), Option_set5.data(), Option_set6.data()};
    return group >= 0 && group < kOptionGroups && k >= 0 && k < optionCount(group)
               ? arrays[size_t(group)][k]
               : nullptr;
}

void SubDisp_Opset::Form_Load()
{
    setWindowTitle(LoadResString(271));
    Frame1->setTitle(LoadResString(193));
    Frame2->setTitle(LoadResString(194));
    for (int g = 0; g < kOptionGroups; ++g) {
        Frame_OP1[size_t(g)]->setTitle(LoadResString(groupCaption(g)));
        Frame2_OP1[size_t(g)]->setTitle(LoadResString(groupCaption(g)));
        for (int k = 0; k < optionCount(g); ++k)
            option(g, k)->setText(LoadResString(optionCaption(g, k)));
    }
    Command1[0]->setText(LoadResString(31));
    Command1[1]->setText(LoadResString(30));

    panel_ = OpsetPanel::laidOut(optionWords(d));
    // With neither working link settings nor data on the screen there is no set in force.
    const OpsetOpening o = openOpset(panel_, d.CommSetOK || d.DataValid, d.HB_CT50A);
    before_ = o.before;
    for (int g = 0; g < kOptionGroups; ++g)
        Lbl_OP[size_t(g)]->setText(LoadResString(o.labels[size_t(g)]));
    showPanel(o.messages);
}

void SubDisp_Opset::optionClick(int group, int Index)
{
    std::vector<int> messages;
    selectOption(panel_, group, Index, messages);
    showPanel(messages);
}

void SubDisp_Opset::showPanel(const std::vector<int>& messages)
{
    for (int g = 0; g < kOptionGroups; ++g) {
        Frame2_OP1[size_t(g)]->setEnabled(panel_.frameEnabled[size_t(g)]);
        for (int k = 0; k < optionCount(g); ++k)
            option(g, k)->setEnabled(panel_.optionEnabled[size_t(g)][size_t(k)]);
        if (QRadioButton* b = option(g, panel_.selected[size_t(g)]))
            b->setChecked(true);
    }
    setOptionWords(d, panel_.words);
    // The panel already shows the fallback while a refusal is told. Code may take the dialog
    // away while a box waits (the program ending): the rest is not told.
    const QPointer<SubDisp_Opset> self(this);
    for (int id : messages) {
        ui::MsgBox(LoadResString(id), ui::Buttons::OK, ui::Icon::None);
        if (!self)
            return;
    }
}

void SubDisp_Opset::Command1_Click(int Index)
{
    if (Index == 1) {
        reject();
        return;
    }
    if (Index != 0)
        return;
    const QPointer<SubDisp_Opset> self(this);
    const bool yes =
        ui::MsgBox(LoadResString(198), ui::Buttons::YesNo, ui::Icon::Question) == ui::Answer::Yes;
    // Closed or deleted by code while the question waited, the dialog has been cancelled.
    if (!self || !isVisible())
        return;
    ui::Beep();
    if (!yes)
        return; // the dialog stays open with the choices made
    commitOptionChange(d);
    // Every value text again, hidden rows included, then the rows: as a file load shows them.
    main_.refreshValueLabels();
    main_.relayPages();
    // The chart shows no MV2 text until the next refresh decides on it.
    main_.chart().setMv2Caption(QString());
    accept();
}

void SubDisp_Opset::reject()
{
    // The set in force when the dialog opened, exactly: a set the rules would refuse (from a file
    // or the controller) comes back as it was, without a refusal.
    setOptionWords(d, before_);
    QDialog::reject();
}

} // namespace qmx
