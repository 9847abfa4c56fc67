// The model change and the link: refused while monitoring, and a set changed offline is compared
// with the controller's at the next go-online instead of being overwritten by it.
#include "online_fixture.h"

#include "ui/dialogs/subdisp_opset.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

class ModelChange : public OnlineWindow {};

} // namespace

TEST_F(ModelChange, RefusedWhileMonitoringAndComparedWithTheControllerAtTheNextGoOnline)
{
    // The controller has no options; the first go-online takes its set over.
    controllerOptions(0x00, 0x00);
    d.SpecCheck = false;
    goOnline();
    qsizetype mark = log().size();
    answers({QStringLiteral("OK")});
    w->mnuOpset_Click();
    EXPECT_EQ(texts().mid(mark), QStringList{S(59)}); // and no beep
    EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("SubDisp_Opset")), nullptr);
    ASSERT_TRUE(d.OnLine);
    w->Cmd_ONOFF_Click();
    ASSERT_FALSE(d.OnLine);

    // Offline: alarm 2, which the controller lacks, changed in. Then, neither saved nor
    // downloaded, the go-online compares the sets and turns the controller away.
    answers(
        {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("No"), QStringLiteral("OK")});
    QTimer::singleShot(0, w.get(), [&] {
        auto* dialog = w->findChild<qmx::SubDisp_Opset*>(QStringLiteral("SubDisp_Opset"));
        ASSERT_TRUE(dialog);
        dialog->Option_set1[1]->click();
        dialog->Command1[0]->click();
    });
    mark = log().size();
    w->mnuOpset_Click();
    w->Cmd_ONOFF_Click();
    QStringList asked;
    for (const QJsonObject& o : log().mid(mark))
        if (o.value(QStringLiteral("box")) == QLatin1String("msg"))
            asked << o.value(QStringLiteral("text")).toString();
    EXPECT_EQ(asked, (QStringList{S(198), joined({362, 363}), S(516), S(290)}));
    EXPECT_FALSE(d.OnLine);
    EXPECT_EQ(d.OptSet_Alarm2, 1); // the screen keeps the operator's set
}
