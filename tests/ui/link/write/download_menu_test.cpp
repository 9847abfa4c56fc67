// The Download menu end to end: its refusals and questions, the download online through the
// scheduler, and the temporary link it opens from offline and closes again.
#include "linked_window.h"

#include <QAction>
#include <QPushButton>

namespace {

const QStringList kSpareAnswers{"OK", "OK", "OK", "OK"};

// The program offline with the port closed, as after going offline.
class DownloadMenu : public LinkedWindow {
protected:
    bool openLink() const override { return false; }
    void SetUp() override
    {
        LinkedWindow::SetUp();
        options(0);
        for (int i = qmx::kFirstPara; i <= qmx::kLastStandardItem; ++i)
            d.ParaBak(i) = -7;
    }
    bool paraBakUntouched() const
    {
        for (int i = qmx::kFirstPara; i <= qmx::kLastStandardItem; ++i)
            if (d.ParaBak(i) != -7)
                return false;
        return true;
    }
    // Until the temporary link has been taken down again.
    bool linkEnded() const
    {
        return !w->Timer1.isActive() && w->Cmd_ONOFF->isEnabled() && !w->inLongStep() && !d.ComOK;
    }
};

// ---- refusals and answers that send nothing --------------------------------------------------

struct RefusalCase {
    const char* name;
    std::function<void(qmx::QmxData&)> setup;
    QStringList answers;
    std::function<QStringList()> texts;
    bool holdStep = false;
};

// Parameterised tests are listed by their case names.
void PrintTo(const RefusalCase& c, std::ostream* os)
{
    *os << c.name;
}

class MenuRefusal : public DownloadMenu, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(MenuRefusal, SendsNothingAndChangesNothing)
{
    const RefusalCase& c = GetParam();
    c.setup(d);
    answers(c.answers + kSpareAnswers);
    {
        std::optional<qmx::MainDisp::LongStep> step;
        if (c.holdStep)
            step.emplace(*w);
        w->mnuDownload_Click();
    }
    EXPECT_EQ(texts(), c.texts());
    EXPECT_TRUE(wire().isEmpty());
    EXPECT_FALSE(w->QMXCom->isOpen());
    EXPECT_FALSE(d.ComOK);
    EXPECT_FALSE(d.Downloading);
    EXPECT_EQ(d.ComMode, 0);
    EXPECT_TRUE(paraBakUntouched());
    EXPECT_TRUE(w->Cmd_ONOFF->isEnabled());
}

const auto S_ = [](int id) { return qmx::LoadResString(id, qmx::Language::English); };

INSTANTIATE_TEST_SUITE_P(
    Menu, MenuRefusal,
    ::testing::Values(RefusalCase{"NoScreenData",
                                  [](qmx::QmxData& d) { d.DataValid = false; },
                                  {},
                                  [] {
                                      return QStringList{S_(196), "<beep>"};
                                  }},
                      RefusalCase{"AutoTuningRuns",
                                  [](qmx::QmxData& d) { d.MonVal(4) = 0x800; },
                                  {},
                                  [] {
                                      return QStringList{S_(503) + '\n' + S_(504), "<beep>"};
                                  }},
                      RefusalCase{"OperatorSaysNo",
                                  [](qmx::QmxData&) {},
                                  {"No"},
                                  [] {
                                      return QStringList{S_(512), "<beep>"};
                                  }},
                      RefusalCase{"NoToTheTemporaryLink",
                                  [](qmx::QmxData&) {},
                                  {"Yes", "No"},
                                  [] {
                                      return QStringList{S_(512), S_(517), "<beep>"};
                                  }},
                      RefusalCase{"AnotherStepRuns",
                                  [](qmx::QmxData&) {},
                                  {},
                                  [] { return QStringList{"<beep>"}; },
                                  true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- from offline ------------------------------------------------------------------------------

TEST_F(DownloadMenu, FromOfflineOpensChecksDownloadsAndCloses)
{
    answers(QStringList{"Yes", "Yes"} + kSpareAnswers);
    w->mnuDownload_Click();
    EXPECT_FALSE(w->Cmd_ONOFF->isEnabled());
    EXPECT_TRUE(w->QMXCom->isOpen());
    EXPECT_TRUE(d.Downloading);
    ASSERT_TRUE(runUntil([this] { return linkEnded() && !wire().isEmpty(); }));

    const QStringList frames = wire();
    ASSERT_GE(frames.size(), 3);
    // The key, as going online writes it, then the option check.
    EXPECT_EQ(frames.mid(0, 3), (QStringList{"50 0000 8217", "20 00A2", "20 00A1"}));
    EXPECT_TRUE(frames.contains(QStringLiteral("50 0070 0001")));
    EXPECT_TRUE(frames.contains(QStringLiteral("50 004A 0000")));
    EXPECT_EQ(frames.last(), QStringLiteral("50 0000 0000")); // the controller locked again
    EXPECT_FALSE(w->QMXCom->isOpen());
    EXPECT_FALSE(d.OnLine);
    EXPECT_EQ(d.Protocol, d.ProtocolSel);
    EXPECT_FALSE(texts().contains(S(354) + '\n' + S(355) + '\n' + S(356)));
    EXPECT_TRUE(w->mnuComset->isEnabled());
}

class DownloadMenuModbus : public DownloadMenu {
protected:
    QString simPort() const override { return QStringLiteral("COM1:9600:ascii:1:1364"); }
    void SetUp() override
    {
        DownloadMenu::SetUp();
        d.strAdr = QStringLiteral("01");
        d.Protocol = d.ProtocolSel = 1;
    }
};

TEST_F(DownloadMenuModbus, EndsAsGoingOfflineDoes)
{
    answers(QStringList{"Yes", "Yes"} + kSpareAnswers);
    w->mnuDownload_Click();
    ASSERT_TRUE(runUntil([this] { return linkEnded() && !wire().isEmpty(); }));

    const QStringList frames = wire();
    // The Modbus key moves the controller to the maker's protocol for the whole download.
    EXPECT_EQ(frames.mid(0, 4),
              (QStringList{"06 0000 8217", "20 00A2", "20 00A1", "50 0070 0001"}));
    EXPECT_EQ(frames.last(), QStringLiteral("50 0000 0000"));
    // The key write moved the controller to the maker's protocol until its power is cycled.
    EXPECT_TRUE(texts().contains(S(354) + '\n' + S(355) + '\n' + S(356)));
    EXPECT_EQ(d.Protocol, 1);
}

TEST_F(DownloadMenuModbus, RefusedByTheOptionCheckLocksAgainAndEndsAsGoingOfflineDoes)
{
    d.OptSet_Alarm2 = 1; // the screen data is for a controller with the second alarm
    answers(QStringList{"Yes", "Yes"} + kSpareAnswers);
    w->mnuDownload_Click();
    ASSERT_TRUE(runUntil([this] { return linkEnded() && !wire().isEmpty(); }));

    EXPECT_EQ(wire(), (QStringList{"06 0000 8217", "20 00A2", "20 00A1", "50 0000 0000"}));
    EXPECT_TRUE(texts().contains(S(295)));
    EXPECT_TRUE(texts().contains(S(354) + '\n' + S(355) + '\n' + S(356)));
    EXPECT_EQ(d.Protocol, 1);
    EXPECT_FALSE(w->QMXCom->isOpen());
    EXPECT_EQ(w->Cmd_ONOFF->text(), S(74));
}

TEST_F(DownloadMenu, FromOfflineUnlocksAControllerThatWasLockedBefore)
{
    // As after going offline: the key cleared. No write of the download may be refused for it.
    answers(QStringList{"Yes", "Yes"} + kSpareAnswers);
    w->mnuDownload_Click();
    ASSERT_TRUE(runUntil([this] { return linkEnded() && !wire().isEmpty(); }));
    for (const QJsonObject& e : sim->wire())
        EXPECT_NE(e.value("note").toString(), QStringLiteral("nak:6"))
            << e.value("reg").toString().toStdString();
}

// ---- online
// --------------------------------------------------------------------------------------

class DownloadMenuOnline : public LinkedWindow {
protected:
    void SetUp() override
    {
        LinkedWindow::SetUp();
        options(0);
        d.OnLine = true;
        d.ComMode = 1;
    }
};

TEST_F(DownloadMenuOnline, RunsThroughTheSchedulerThenTheOnlineCheck)
{
    answers(QStringList{"Yes"} + kSpareAnswers);
    d.ParaVal(13) = 33;
    w->mnuDownload_Click();
    EXPECT_EQ(texts(), (QStringList{S(512), "<beep>"}));
    EXPECT_EQ(d.ParaBak(13), 33);
    EXPECT_TRUE(d.Downloading);

    w->Timer1.start();
    const auto checked = [this] {
        const QStringList f = wire();
        const qsizetype end = f.indexOf(QStringLiteral("50 004A 0000"));
        return end >= 0 && f.indexOf(QStringLiteral("20 00A1"), end) > end && d.ComMode == 1 &&
               !w->inLongStep();
    };
    ASSERT_TRUE(runUntil(checked));
    w->Timer1.stop();

    const QStringList frames = wire();
    const qsizetype start = frames.indexOf(QStringLiteral("50 0070 0001"));
    ASSERT_GE(start, 2);
    EXPECT_EQ(frames.mid(start - 2, 2), (QStringList{"20 00A2", "20 00A1"}));
    EXPECT_EQ(frames.mid(start + 1, 3),
              (QStringList{"50 0044 0000", "50 0018 055A", "50 0019 FF38"}));
    EXPECT_FALSE(frames.contains(QStringLiteral("50 0003 0000")));
    EXPECT_FALSE(d.Downloading);
    EXPECT_TRUE(d.OnLine);
    EXPECT_TRUE(w->QMXCom->isOpen());
}

} // namespace
