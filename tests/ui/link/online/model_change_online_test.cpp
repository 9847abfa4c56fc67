// The model change and the link: refused while monitoring, and a set changed offline is compared
// with the controller's at the next go-online instead of being overwritten by it.
#include "online_fixture.h"

#include "ui/dialogs/subdisp_opset.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

class ModelChange : public OnlineWindow {
protected:
    void SetUp() override
    {
        OnlineWindow::SetUp();
        // The controller has no options; the screen holds no set of its own yet.
        controllerOptions(0x00, 0x00);
        d.SpecCheck = false;
    }
};

} // namespace

TEST_F(ModelChange, RefusedWhileMonitoringWithoutABeep)
{
    goOnline();
    const qsizetype mark = log().size();
    answers({QStringLiteral("OK")});
    w->mnuOpset_Click();
    EXPECT_EQ(texts().mid(mark), QStringList{S(59)});
    EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("SubDisp_Opset")), nullptr);
    EXPECT_TRUE(d.OnLine);
}

TEST_F(ModelChange, AChangedSetIsComparedWithTheControllerAtTheNextGoOnline)
{
    // Alarm 2, which the controller lacks, changed in. Then, neither saved nor downloaded, the
    // go-online compares the sets and turns the controller away instead of taking its set over.
    answers(
        {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("No"), QStringLiteral("OK")});
    QTimer::singleShot(0, w.get(), [&] {
        auto* dialog = w->findChild<qmx::SubDisp_Opset*>(QStringLiteral("SubDisp_Opset"));
        ASSERT_TRUE(dialog);
        dialog->Option_set1[1]->click();
        dialog->Command1[0]->click();
    });
    w->mnuOpset_Click();
    w->Cmd_ONOFF_Click();
    QStringList asked;
    for (const QJsonObject& o : log())
        if (o.value(QStringLiteral("box")) == QLatin1String("msg"))
            asked << o.value(QStringLiteral("text")).toString();
    EXPECT_EQ(asked, (QStringList{S(198), joined({362, 363}), S(516), S(290)}));
    EXPECT_FALSE(d.OnLine);
    EXPECT_EQ(d.OptSet_Alarm2, 1); // the screen keeps the operator's set
}
