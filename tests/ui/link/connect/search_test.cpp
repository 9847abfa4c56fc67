// The exhaustive search when it ends quickly (a controller found early, no port at all, Cancel),
// and the one-step-at-a-time guard while it runs.
#include "connect_fixture.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

using Search = ConnectFixture;

TEST_F(Search, FindsAControllerEarlyAndSetsItUp)
{
    // COM1 has no device: it is skipped without a probe.
    startSim(QStringLiteral("--port COM2:9600:maker:3:1364"));
    saveLink({"COM4", "19200", "8", "2", "07"});
    answers({QStringLiteral("Yes")});
    handOver();

    EXPECT_EQ(boxes(), QStringList({S(85)}));
    EXPECT_EQ(sim->requests(QStringLiteral("COM2")).mid(0, 5),
              QStringList({"20 0001", "20 0001", "20 0001", "20 0001", "50 0000 8217"}));
    EXPECT_EQ(QStringList({saved("Port"), saved("Speed"), saved("Databit"), saved("Protocol"),
                           saved("strAdr")}),
              QStringList({"COM2", "9600", "7", "0", "03"}));
    EXPECT_EQ(commLabels(), QStringList({"COM2", "9600", "7, EVEN", "1", "03", "Velder"}));
    EXPECT_TRUE(w->Frame3->isHidden() && w->Frame6->isHidden());
    EXPECT_EQ(w->Text_readmsg1->text(), S(261));
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(w->menuBar()->isEnabled() && w->SSTab2->isEnabled());
}

TEST_F(Search, WithNoPortToOpenFails)
{
    startSim(QStringLiteral("--port COM9:9600:maker:0"));
    answers({QStringLiteral("Yes"), QStringLiteral("OK")});
    handOver();

    EXPECT_EQ(boxes(), QStringList({S(85), joined({451, 270})}));
    EXPECT_FALSE(d.ComOK || d.CommSetOK);
    EXPECT_TRUE(w->Frame3->isHidden() && w->mnuFile->isEnabled() && w->mnuSet->isEnabled());
    EXPECT_TRUE(w->Lbl_comm[0]->text().isEmpty()); // no set-up
}

TEST_F(Search, CancelStopsTheProbesAtOnceWhileNothingElseMayRun)
{
    startSim(QStringLiteral("--silent COM1"));
    answers({QStringLiteral("Yes"), QStringLiteral("OK")});

    int receivedAtCancel = -1;
    bool onlyCancelLive = false;
    bool noticeShowsTheTrial = false;
    // Once a few probes went out, the operator looks, tries the menu, and cancels.
    QTimer operatorAct;
    operatorAct.setInterval(50);
    QObject::connect(&operatorAct, &QTimer::timeout, [&] {
        if (received(QStringLiteral("COM1")) < 3)
            return;
        operatorAct.stop();
        onlyCancelLive = w->cursor().shape() == Qt::WaitCursor && !w->menuBar()->isEnabled() &&
                         !w->SSTab2->isEnabled() && !w->Cmd_ONOFF->isEnabled() &&
                         w->Command1->isEnabled() && w->Command2->isEnabled();
        noticeShowsTheTrial = !w->Frame3->isHidden() && !w->Frame6->isHidden() &&
                              w->Text_readmsg1->text().contains(QStringLiteral("COM1")) &&
                              w->Text_readmsg4->text() == w->Text_readmsg1->text();
        // A menu that would talk to the controller is refused with a beep; a splash tick waits.
        w->mnuComset_Click();
        splash->Timer1_Timer();
        receivedAtCancel = received(QStringLiteral("COM1"));
        w->Command1_Click();
    });
    operatorAct.start();
    handOver();

    EXPECT_GT(receivedAtCancel, 1);
    EXPECT_EQ(received(QStringLiteral("COM1")), receivedAtCancel);
    EXPECT_TRUE(onlyCancelLive);
    EXPECT_TRUE(noticeShowsTheTrial);
    EXPECT_EQ(d.OpenCount, 0);
    EXPECT_EQ(texts(), QStringList({S(85), "<beep>", "<beep>", S(83)}));
    EXPECT_FALSE(d.CancelFlag || d.CommSetOK);
    EXPECT_TRUE(w->Frame3->isHidden() && w->Frame6->isHidden());
    EXPECT_TRUE(w->menuBar()->isEnabled() && w->mnuSet->isEnabled());
    EXPECT_TRUE(w->Lbl_comm[0]->text().isEmpty());
}

TEST_F(Search, CancelSeenWhereNoProbeFollowsIsACancelAndTheSavedLinkComesBack)
{
    // No port opens: the passes only let events run, and the Cancel is handled in one of them.
    startSim(QStringLiteral("--port COM9:9600:maker:0"));
    saveLink({"COM4", "19200", "8", "2", "07"});
    qmx::openSettings()->setValue(QStringLiteral("Parity"), QStringLiteral("ODD"));
    answers({QStringLiteral("Yes"), QStringLiteral("OK")});
    QTimer operatorAct;
    operatorAct.setInterval(0);
    QObject::connect(&operatorAct, &QTimer::timeout, [&] {
        if (!w->Frame3->isHidden() && !d.CancelFlag)
            w->Command1_Click();
    });
    operatorAct.start();
    handOver();

    EXPECT_EQ(texts(), QStringList({S(85), "<beep>", S(83)}));
    EXPECT_FALSE(d.CancelFlag || d.CommSetOK);
    // Neither the Online button nor the save on quitting sees where the search stopped.
    EXPECT_EQ(
        QStringList({d.Port, d.Speed, d.Databit, d.Parity, QString::number(d.Protocol), d.strAdr}),
        QStringList({"COM4", "19200", "8", "ODD", "2", "07"}));
    const qmx::Velder_Comm& c = *w->QMXCom;
    EXPECT_EQ(QStringList({c.Com_Port(), c.Com_Speed(), c.Com_Databit(), c.Com_Parity()}),
              QStringList({"COM4", "19200", "8", "ODD"}));
}
