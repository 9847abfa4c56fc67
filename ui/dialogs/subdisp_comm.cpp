#include "ui/dialogs/subdisp_comm.h"

#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/ui_seam.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QVBoxLayout>

namespace qmx {

namespace {

QString idx(const char* name, int i)
{
    return QLatin1String(name) + QLatin1Char('(') + QString::number(i) + QLatin1Char(')');
}

template <size_t N>
void addOptions(QGroupBox* frame, std::array<QRadioButton*, N>& buttons, const char* name,
                std::initializer_list<const char*> texts)
{
    auto* h = new QHBoxLayout(frame);
    int i = 0;
    for (const char* t : texts) {
        auto* b = new QRadioButton(QLatin1String(t), frame);
        b->setObjectName(idx(name, i));
        buttons[size_t(i++)] = b;
        h->addWidget(b);
    }
    h->addStretch(1);
}

// Index of the checked button, -1 when none is.
template <size_t N> int checkedIndex(const std::array<QRadioButton*, N>& buttons)
{
    for (size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked())
            return int(i);
    return -1;
}

} // namespace

SubDisp_comm::SubDisp_comm(QmxData& data, QWidget* parent) : QDialog(parent), d(data)
{
    setObjectName(QStringLiteral("SubDisp_comm"));
    setModal(true);
    setWindowTitle(LoadResString(252));

    const int captions[7] = {262, 253, 82, 254, 257, 258, 259};
    for (int i = 0; i < 7; ++i) {
        Frame1[size_t(i)] = new QGroupBox(LoadResString(captions[i]), this);
        Frame1[size_t(i)]->setObjectName(idx("Frame1", i));
    }

    auto combo = [](QGroupBox* frame, const char* name) {
        auto* c = new QComboBox(frame);
        c->setObjectName(QLatin1String(name));
        auto* v = new QVBoxLayout(frame);
        v->addWidget(c);
        return c;
    };
    Cmb_protocol = combo(Frame1[0], "Cmb_protocol");
    for (int p = 0; p <= 2; ++p)
        Cmb_protocol->addItem(protocolName(p));
    Cmb_port = combo(Frame1[1], "Cmb_port");
    for (int n = 1; n <= 8; ++n)
        Cmb_port->addItem(QStringLiteral("COM") + QString::number(n));
    Cmb_No = combo(Frame1[2], "Cmb_No");
    Cmb_No->setEditable(true);
    Cmb_No->setInsertPolicy(QComboBox::NoInsert);
    for (int n = 0; n <= 95; ++n)
        Cmb_No->addItem(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
    Label1 = new QLabel(LoadResString(19) + QLatin1Char('\n') + LoadResString(20), Frame1[2]);
    Label1->setObjectName(QStringLiteral("Label1"));
    Frame1[2]->layout()->addWidget(Label1);

    addOptions(Frame1[3], Option1, "Option1", {"9600 bps", "19200 bps"});
    addOptions(Frame1[4], Option3, "Option3", {"7 Bit", "8 Bit"});
    addOptions(Frame1[5], Option4, "Option4", {"1 Bit", "2 Bit"});
    addOptions(Frame1[6], Option2, "Option2", {"Even", "Odd", "None"});

    Command1[0] = new QPushButton(QStringLiteral("OK"), this);
    Command1[1] = new QPushButton(LoadResString(30), this);
    for (int i = 0; i < 2; ++i) {
        Command1[size_t(i)]->setObjectName(idx("Command1", i));
        connect(Command1[size_t(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command1[0]->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Frame1[0], 0, 0);
    grid->addWidget(Frame1[1], 1, 0);
    grid->addWidget(Frame1[2], 2, 0, 2, 1);
    grid->addWidget(Frame1[3], 0, 1);
    grid->addWidget(Frame1[4], 1, 1);
    grid->addWidget(Frame1[5], 2, 1);
    grid->addWidget(Frame1[6], 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);
    grid->addLayout(buttons, 4, 0, 1, 2);
}

void SubDisp_comm::preset()
{
    bool ok = false;
    const int comNo = d.Port.mid(3).toInt(&ok);
    Cmb_port->setCurrentIndex(ok && comNo >= 1 && comNo <= 8 ? comNo - 1 : -1);
    if (checkInstrumentText(d.strAdr) == InstrumentText::Valid)
        Cmb_No->setCurrentIndex(d.strAdr.toInt());
    else
        Cmb_No->setEditText(d.strAdr); // a hand-edited number is shown as it is stored

    Option1[d.Speed == u"9600" ? 0 : 1]->setChecked(true);
    Option3[d.Databit == u"7" ? 0 : 1]->setChecked(true);
    Option4[d.Stopbit == u"1" ? 0 : 1]->setChecked(true);
    const QString parities[3] = {QStringLiteral("EVEN"), QStringLiteral("ODD"),
                                 QStringLiteral("NONE")};
    for (int i = 0; i < 3; ++i)
        if (d.Parity == parities[i])
            Option2[size_t(i)]->setChecked(true);
    // The protocol of the controller found last, not the saved one.
    Cmb_protocol->setCurrentIndex(d.ProtocolSel == 0 ? 0 : d.ProtocolSel == 1 ? 1 : 2);
}

void SubDisp_comm::Command1_Click(int Index)
{
    if (Index == 0) {
        ok();
    } else if (Index == 1) {
        ui::Beep();
        reject();
    }
}

void SubDisp_comm::reject()
{
    d.ComsetCancel = true;
    QDialog::reject();
}

void SubDisp_comm::ok()
{
    ui::Beep();
    // A refused number stores nothing at all: the settings stay as they were.
    const QString number = Cmb_No->currentText();
    const InstrumentText verdict = checkInstrumentText(number);
    if (verdict != InstrumentText::Valid) {
        // Code may take the dialog away while the box waits (the program ending).
        const QPointer<SubDisp_comm> self(this);
        ui::MsgBox(LoadResString(verdict == InstrumentText::Malformed ? 559 : 229), ui::Buttons::OK,
                   ui::Icon::None);
        if (!self)
            return;
        showSavedInstrument();
        Cmb_No->setFocus();
        return;
    }

    const int port = Cmb_port->currentIndex();
    if (port >= 0 && port <= 7)
        d.Port = QStringLiteral("COM") + QString::number(port + 1);
    d.strAdr = number; // kept as typed: "5" stays "5"
    Cmb_No->setCurrentIndex(number.toInt());

    const QString speeds[2] = {QStringLiteral("9600"), QStringLiteral("19200")};
    const QString parities[3] = {QStringLiteral("EVEN"), QStringLiteral("ODD"),
                                 QStringLiteral("NONE")};
    const QString databits[2] = {QStringLiteral("7"), QStringLiteral("8")};
    const QString stopbits[2] = {QStringLiteral("1"), QStringLiteral("2")};
    // Where no button is chosen the setting stays as it was.
    if (const int i = checkedIndex(Option1); i >= 0)
        d.Speed = speeds[i];
    if (const int i = checkedIndex(Option2); i >= 0)
        d.Parity = parities[i];
    if (const int i = checkedIndex(Option3); i >= 0)
        d.Databit = databits[i];
    if (const int i = checkedIndex(Option4); i >= 0)
        d.Stopbit = stopbits[i];

    const int protocol = Cmb_protocol->currentIndex();
    if (protocol >= 0 && protocol <= 2)
        d.Protocol = protocol;
    d.ProtocolSel = d.Protocol;
    saveLink(*openSettings(),
             {d.Port, d.Speed, d.Databit, d.Stopbit, d.Parity, d.strAdr, d.Protocol});

    d.ManualComset = true;
    d.ScreenSet = false;
    d.AskRefresh = true;
    hide();
    d.ComsetCancel = false;
    accept();
}

void SubDisp_comm::showSavedInstrument()
{
    const QString saved =
        openSettings()->value(QStringLiteral("strAdr"), QStringLiteral("00")).toString();
    if (checkInstrumentText(saved) == InstrumentText::Valid)
        Cmb_No->setCurrentIndex(saved.toInt());
    else
        Cmb_No->setEditText(saved);
}

} // namespace qmx
