// The two download runs against the simulated controller: the items written and their order, the
// aborts, the infrared variant, the input type's longer reply time and the progress display.
#include "linked_window.h"

#include "comm/reply_verdict.h"

#include <QProgressBar>

namespace {

const QString kKey = QStringLiteral("50 0000 8217");

class Download : public LinkedWindow {
protected:
    void SetUp() override
    {
        LinkedWindow::SetUp();
        options(0);
        d.Downloading = true; // as the Download menu leaves it
    }
    // What the controller receives for `items`, in that order, with the screen's values.
    QStringList framesOf(std::initializer_list<int> items) const
    {
        QStringList out;
        for (int item : items) {
            const QString data = qmx::toHex4(d.ParaVal(item));
            if (item == 11)
                out << kKey << "71 FC30 " + data << "72 001C " + data;
            else if (item == 64)
                out << kKey << "71 FC96 " + data << "72 004F " + data;
            else
                out << "50 " + d.CommNoTbl(item) + ' ' + data;
        }
        return out;
    }
    void run(bool menuRun)
    {
        if (menuRun)
            w->Write_AllPara2();
        else
            w->Write_AllPara();
    }
    bool progressShown() const { return !w->Frame4->isHidden() || !w->Frame5->isHidden(); }
};

// ---- the plain controller ------------------------------------------------------------------

class DefaultDownload : public Download, public ::testing::WithParamInterface<bool> {};

TEST_P(DefaultDownload, WritesOnlyTheApplicableItemsInOrder)
{
    run(GetParam());
    QStringList expected{"50 0070 0001"};
    expected << framesOf({50, 25, 26, 36, 11, 13, 15, 16, 17, 22, 23, 28, 29, 30,
                          31, 42, 43, 44, 45, 51, 52, 53, 55, 56, 57, 58, 64, 65});
    EXPECT_EQ(wire(), expected);
    EXPECT_FALSE(progressShown());
    EXPECT_TRUE(w->ProgressBar1->isHidden());
    // The bars count every pass, written or not; the last written one is item 65's.
    EXPECT_EQ(w->ProgressBar1->value(), 53);
    EXPECT_EQ(w->ProgressBar2->value(), 53);
    EXPECT_EQ(w->StatusBar1->panel(4), QString());
    EXPECT_FALSE(d.Downloading);
    EXPECT_TRUE(d.DataValid);
    EXPECT_FALSE(commErrorShown());
    EXPECT_EQ(w->QMXCom->Com_TimeOut(), 300);
}

INSTANTIATE_TEST_SUITE_P(BothRuns, DefaultDownload, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Menu" : "Screen"; });

TEST_F(Download, AtSwitchedOnIsWrittenLast)
{
    d.ParaVal(12) = 1;
    w->Write_AllPara2();
    EXPECT_EQ(wire().last(), QStringLiteral("50 0003 0001"));
}

TEST_F(Download, BusyKeysAbortTheRun)
{
    fault({{"kind", "busy"}, {"reg", "0004"}});
    w->Write_AllPara2();
    EXPECT_EQ(wire().last(), QStringLiteral("50 0004 000A"));
    EXPECT_EQ(texts(), QStringList{S(292)});
    EXPECT_FALSE(progressShown());
    EXPECT_TRUE(w->Lbl_UPmsg->isHidden());
    EXPECT_EQ(w->StatusBar1->panel(4), QString());
    EXPECT_TRUE(d.Downloading); // an aborted download is not finished
}

// The alarm's standby write beside a set value is acknowledged; the set value's own commit is not.
TEST_F(Download, ASetValueWhoseCommitIsRefusedIsToldAsNotWritten)
{
    d.ParaVal(36) = 8; // alarm 1 with standby
    fault({{"kind", "nak"}, {"reg", "001C"}});
    w->Write_AllPara2();
    EXPECT_TRUE(wire().contains(QStringLiteral("50 FF1A 0000")));
    EXPECT_EQ(texts(), QStringList{S(382) + '\n' + S(383)});
}

TEST_F(Download, BusyRefusalOfAutoTuningStillFinishes)
{
    d.ParaVal(12) = 1;
    fault({{"kind", "busy"}, {"reg", "0003"}});
    w->Write_AllPara2();
    EXPECT_EQ(wire().last(), QStringLiteral("50 0003 0001"));
    EXPECT_TRUE(texts().isEmpty());
    EXPECT_FALSE(d.Downloading);
}

TEST_F(Download, BusyTransferModeTellsTheOperatorAndGoesOn)
{
    fault({{"kind", "busy"}, {"reg", "0070"}});
    w->Write_AllPara2();
    EXPECT_TRUE(busyNoticeShown());
    EXPECT_EQ(texts(), QStringList{"<beep>"});
    EXPECT_EQ(wire().last(), QStringLiteral("50 004A 0000"));
    EXPECT_FALSE(d.Downloading);
}

TEST_F(Download, ScreenRunRefusesWhileAutoTuningRuns)
{
    d.MonVal(4) = 0x800;
    w->Write_AllPara();
    EXPECT_TRUE(wire().isEmpty());
    EXPECT_EQ(texts(), (QStringList{S(503) + '\n' + S(504), "<beep>"}));
}

// A user map may give a special item the code of an ordinary item: the walk still goes by the
// chain's order, writing each item once.
TEST_F(Download, UserMapCodeEqualToAnOrdinaryRegisterDoesNotJump)
{
    d.CommNoTbl2(8) = d.CommNoTbl(13); // item 11's first code on item 13's register
    w->Write_AllPara2();
    const QStringList frames = wire();
    const qsizetype special = frames.indexOf(QStringLiteral("71 0004 0000"));
    const qsizetype plain = frames.indexOf(QStringLiteral("50 0004 000A"));
    ASSERT_GE(special, 0);
    EXPECT_GT(plain, special);
    EXPECT_EQ(frames.count(QStringLiteral("50 0004 000A")), 1);
    EXPECT_EQ(frames.last(), QStringLiteral("50 004A 0000"));
}

// ---- reply time of the input type ------------------------------------------------------------

struct SlowCase {
    const char* name;
    const char* reg;
    bool commError;
};

// Parameterised tests are listed by their case names.
void PrintTo(const SlowCase& c, std::ostream* os)
{
    *os << c.name;
}

class SlowReply : public Download, public ::testing::WithParamInterface<SlowCase> {};

TEST_P(SlowReply, OnlyTheInputTypeMayTakeLonger)
{
    set({{"input_delay_ms", 0}});
    fault({{"kind", "delay"}, {"reg", GetParam().reg}, {"ms", 350}});
    w->Write_AllPara2();
    EXPECT_EQ(commErrorShown(), GetParam().commError);
    EXPECT_EQ(wire().last(), QStringLiteral("50 004A 0000"));
    EXPECT_EQ(w->QMXCom->Com_TimeOut(), 300);
}

INSTANTIATE_TEST_SUITE_P(Replies, SlowReply,
                         ::testing::Values(SlowCase{"InputTypeIsAnswered", "0044", false},
                                           SlowCase{"ScalingIsNoAnswer", "0018", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the infrared model -----------------------------------------------------------------------

class InfraredDownload : public Download, public ::testing::WithParamInterface<bool> {
protected:
    QString simPort() const override { return QStringLiteral("COM1:9600:maker:0:1605"); }
    void SetUp() override
    {
        Download::SetUp();
        d.RDModel = true;
        d.ParaVal(50) = 30; // a DC input, so the decimal point would apply
    }
};

TEST_P(InfraredDownload, EmissivityOnlyInTheMenuRunWhichLeavesTheScalingAlone)
{
    const bool menuRun = GetParam();
    run(menuRun);
    const QStringList frames = wire();
    for (int item : {25, 26, 27})
        EXPECT_EQ(frames.contains(framesOf({item}).first()), !menuRun) << "item " << item;
    EXPECT_EQ(frames.contains(QStringLiteral("50 0054 03B6")), menuRun);
    EXPECT_EQ(frames.last(),
              menuRun ? QStringLiteral("50 0054 03B6") : QStringLiteral("50 004A 0000"));
}

INSTANTIATE_TEST_SUITE_P(BothRuns, InfraredDownload, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Menu" : "Screen"; });

} // namespace
