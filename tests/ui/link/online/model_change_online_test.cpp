// The model change and the link: refused while monitoring, and a changed option set is compared
// with the controller at the next go-online instead of being overwritten by the controller's.
#include "online_fixture.h"

#include "ui/dialogs/subdisp_opset.h"

#include <QRadioButton>
#include <QTimer>

#include <functional>

namespace {

class ModelChange : public OnlineWindow {
protected:
    void SetUp() override
    {
        OnlineWindow::SetUp();
        // The screen holds no set yet of its own: a go-online takes the controller's options over.
        controllerOptions(0x00, 0x00);
        d.SpecCheck = false;
    }
    void withDialog(const std::function<void(qmx::SubDisp_Opset&)>& act)
    {
        bool seen = false;
        QTimer::singleShot(0, w.get(), [&] {
            auto* dialog = w->findChild<qmx::SubDisp_Opset*>(QStringLiteral("SubDisp_Opset"));
            ASSERT_TRUE(dialog);
            seen = true;
            act(*dialog);
        });
        w->mnuOpset_Click();
        EXPECT_TRUE(seen);
    }
    QStringList boxes() const
    {
        QStringList out;
        for (const QJsonObject& o : log())
            if (o.value(QStringLiteral("box")) == QLatin1String("msg"))
                out << o.value(QStringLiteral("text")).toString();
        return out;
    }
};

} // namespace

TEST_F(ModelChange, WhileMonitoringIsRefusedWithoutABeep)
{
    goOnline();
    const int before = int(log().size());
    answers({QStringLiteral("OK")});
    w->mnuOpset_Click();
    EXPECT_EQ(texts().mid(before), QStringList{S(59)});
    EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("SubDisp_Opset")), nullptr);
    EXPECT_TRUE(d.OnLine);
    EXPECT_FALSE(w->mnuOpset->isEnabled());
}

TEST_F(ModelChange, AChangedSetIsComparedWithTheControllerAtTheNextGoOnline)
{
    answers({QStringLiteral("Yes")});
    withDialog([](qmx::SubDisp_Opset& dialog) {
        dialog.Option_set1[1]->click(); // alarm 2, which the controller lacks
        dialog.Command1_Click(0);
    });
    ASSERT_TRUE(d.SpecCheck && d.DataChanged);

    // Not saved, not downloaded: the go-online compares and turns the controller away.
    answers({QStringLiteral("No"), QStringLiteral("No"), QStringLiteral("OK")});
    w->Cmd_ONOFF_Click();
    EXPECT_EQ(boxes().mid(1), (QStringList{joined({362, 363}), S(516), S(290)}));
    EXPECT_FALSE(d.OnLine);
    EXPECT_EQ(d.OptSet_Alarm2, 1); // the screen keeps the operator's set
}

TEST_F(ModelChange, ACancelledChangeLeavesTheGoOnlineAsItWas)
{
    withDialog([](qmx::SubDisp_Opset& dialog) {
        dialog.Option_set1[1]->click();
        dialog.Command1_Click(1);
    });
    EXPECT_FALSE(d.SpecCheck || d.DataChanged);
    w->Cmd_ONOFF_Click();
    EXPECT_EQ(boxes(), QStringList());
    EXPECT_TRUE(d.OnLine);
    EXPECT_EQ(d.OptSet_Alarm2, 0);
}
