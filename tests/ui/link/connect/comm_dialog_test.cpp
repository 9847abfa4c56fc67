// The communication-settings dialog from its menu: what it shows, what OK stores or refuses, and
// the connection with the chosen settings that follows.
#include "connect_fixture.h"

#include "ui/dialogs/subdisp_comm.h"

#include <QComboBox>
#include <QRadioButton>

#include <functional>

namespace {

class CommDialog : public ConnectFixture {
protected:
    // Opens the dialog from its menu and lets `act` work it; Cancel closes it if still open.
    void withDialog(const std::function<void(qmx::SubDisp_comm&)>& act)
    {
        bool seen = false;
        QTimer::singleShot(0, w.get(), [&] {
            auto* dialog = w->findChild<qmx::SubDisp_comm*>(QStringLiteral("SubDisp_comm"));
            ASSERT_TRUE(dialog && dialog->isModal());
            seen = true;
            act(*dialog);
            if (dialog->isVisible())
                dialog->Command1_Click(1);
        });
        w->mnuComset_Click();
        EXPECT_TRUE(seen);
    }
    static void okWith(qmx::SubDisp_comm& dialog, const QString& number)
    {
        dialog.Cmb_No->setEditText(number);
        dialog.Command1_Click(0);
    }
};

struct RefusedCase {
    const char* text;
    int message;
};

const RefusedCase kRefused[] = {{"1000", 229}, {"96", 229}, {"9A", 559}, {"", 559}};

// Parameterised tests are listed by the text they refuse.
void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class RefusedNumber : public CommDialog, public ::testing::WithParamInterface<RefusedCase> {};

} // namespace

TEST_F(CommDialog, ShowsTheSavedSettingsWithTheProtocolFoundLast)
{
    saveLink({"COM3", "19200", "8", "0", "5"});
    qmx::openSettings()->setValue(QStringLiteral("Parity"), QStringLiteral("ODD"));
    d.ProtocolSel = 2;
    withDialog([&](qmx::SubDisp_comm& dialog) {
        EXPECT_EQ(dialog.Cmb_port->currentText(), QStringLiteral("COM3"));
        EXPECT_EQ(dialog.Cmb_No->currentText(), QStringLiteral("05"));
        EXPECT_TRUE(dialog.Option1[1]->isChecked() && dialog.Option3[1]->isChecked() &&
                    dialog.Option4[0]->isChecked() && dialog.Option2[1]->isChecked());
        EXPECT_EQ(dialog.Cmb_protocol->currentText(), QStringLiteral("Modbus RTU"));
    });
    // Cancel stores nothing and connects nothing.
    EXPECT_TRUE(d.ComsetCancel && !d.ManualComset);
    EXPECT_EQ(saved("Protocol"), QStringLiteral("0"));
    EXPECT_EQ(texts(), QStringList({"<beep>", "<beep>"}));
}

TEST_F(CommDialog, OkKeepsTheNumberAsTypedAndConnectsWithTheChosenSettings)
{
    startSim(QStringLiteral("--port COM2:19200:maker:5:1364"));
    answers({QStringLiteral("No")}); // chosen by hand: going online asks before a refresh
    withDialog([&](qmx::SubDisp_comm& dialog) {
        dialog.Cmb_port->setCurrentIndex(1);
        dialog.Option1[1]->setChecked(true);
        dialog.Option2[2]->setChecked(true);
        okWith(dialog, QStringLiteral("5"));
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(boxes(), QStringList({S(340)}));
    EXPECT_FALSE(d.ComsetCancel || d.ManualComset);
    EXPECT_EQ(d.strAdr, QStringLiteral("5"));
    EXPECT_EQ(QStringList({saved("Port"), saved("Speed"), saved("Parity"), saved("strAdr")}),
              QStringList({"COM2", "19200", "NONE", "5"}));
    EXPECT_EQ(sim->requests(QStringLiteral("COM2")).mid(0, 2),
              QStringList({"20 0001", "50 0000 8217"}));
    EXPECT_EQ(commLabels().mid(0, 5), QStringList({"COM2", "19200", "7, NONE", "1", "5"}));

    // The next time the number is shown in the list's own form.
    withDialog([&](qmx::SubDisp_comm& dialog) {
        EXPECT_EQ(dialog.Cmb_No->currentText(), QStringLiteral("05"));
    });
}

// The refresh that OK offers, answered Yes twice, takes the controller's values into the screen
// data, and the pages show them once the dialog has closed.
TEST_F(CommDialog, ARefreshTakenAtOkIsOnThePages)
{
    startSim(QStringLiteral("--port COM1"));
    simSet({{"registers", QJsonObject{{"0012", 2}, {"0006", 333}}}});
    d.SpecCheck = true; // the screen's options are checked, not taken over
    w->relayPages();    // as start-up shows them
    answers({QStringLiteral("Yes"), QStringLiteral("Yes")});
    withDialog([&](qmx::SubDisp_comm& dialog) { okWith(dialog, QStringLiteral("0")); });
    EXPECT_EQ(boxes(), QStringList({S(340), S(341)}));
    ASSERT_EQ(d.ParaVal(22), 2);
    ASSERT_EQ(d.ParaVal(15), 333);
    const auto shown = [&] {
        return QStringList({w->Label_othval[0]->text(), w->Label_pidval[2]->text()});
    };
    const QStringList before = shown();
    w->relayPages();
    EXPECT_EQ(shown(), before);
}

TEST_F(CommDialog, SettingsThatDoNotAnswerAreTold)
{
    startSim(QStringLiteral("--silent COM1"));
    answers({QStringLiteral("OK")});
    withDialog([&](qmx::SubDisp_comm& dialog) { okWith(dialog, QStringLiteral("01")); });
    EXPECT_EQ(boxes(), QStringList({joined({451, 270})}));
    EXPECT_FALSE(d.ManualComset || d.CommSetOK);
    EXPECT_TRUE(w->mnuOnline->isEnabled() && w->mnuSet->isEnabled());
}

TEST_P(RefusedNumber, IsToldAndNothingIsStored)
{
    saveLink({"COM4", "9600", "7", "0", "12"});
    answers({QStringLiteral("OK")});
    withDialog([&](qmx::SubDisp_comm& dialog) {
        dialog.Cmb_port->setCurrentIndex(6);
        okWith(dialog, QString::fromLatin1(GetParam().text));
        EXPECT_TRUE(dialog.isVisible()); // waits for another OK or Cancel
        EXPECT_EQ(dialog.Cmb_No->currentText(), QStringLiteral("12"));
    });
    EXPECT_EQ(boxes(), QStringList({S(GetParam().message)}));
    EXPECT_EQ(QStringList({d.Port, d.strAdr, saved("Port"), saved("strAdr")}),
              QStringList({"COM4", "12", "COM4", "12"}));
}

INSTANTIATE_TEST_SUITE_P(Dialog, RefusedNumber, ::testing::ValuesIn(kRefused));

TEST_F(CommDialog, IsRefusedWhileMonitoringOrWhileAnotherStepRuns)
{
    d.OnLine = true;
    answers({QStringLiteral("OK")});
    w->mnuComset_Click();
    d.OnLine = false;
    {
        qmx::MainDisp::LongStep step(*w);
        w->mnuComset_Click();
    }
    EXPECT_EQ(texts(), QStringList({S(58), "<beep>"}));
}
