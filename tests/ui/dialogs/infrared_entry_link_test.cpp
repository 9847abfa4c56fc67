// The infrared variant's numeric entry online: a value typed as its label shows it is what the
// simulated infrared controller holds, in the tenths it counts its temperatures in, and what the
// label shows after the read-back.
#include "online_fixture.h"

#include "register_table.h"
#include "ui/dialogs/setting_disp.h"

#include <QTest>

using namespace qmx;

class InfraredEntryOnline : public OnlineWindow {
protected:
    QString simPort() const override { return QStringLiteral("COM1:9600:maker:0:1605"); }
};

TEST_F(InfraredEntryOnline, TypedAsTheLabelShowsIsWhatTheControllerHolds)
{
    // Set values 2 to 4 by the contact input; the screen takes the controller's options.
    controllerOptions(0x01, 0);
    d.SpecCheck = false;
    goOnline();
    ASSERT_TRUE(d.RDModel);
    ASSERT_TRUE(runUntil([&] { return !w->Label_othval[17]->isHidden(); }));
    // Degrees count in tenths on the infrared controller, whatever its input type.
    const int tenths = qmxsim::inputRange(d.ParaVal(50), true)->scale;
    const struct {
        int item;
        const char* reg;
        QLabel* label;
    } items[] = {
        {43, "0033", w->Label_othval[7]},  {44, "0034", w->Label_othval[8]},
        {52, "0047", w->Label_pidval[9]},  {59, "FC32", w->Label_othval[17]},
        {60, "FC34", w->Label_othval[18]}, {61, "FC36", w->Label_othval[19]},
    };
    for (const auto& c : items) {
        SCOPED_TRACE(testing::Message() << "item " << c.item);
        ASSERT_FALSE(c.label->isHidden());
        w->Cmd_set_Click(c.item - 10);
        auto* entry = w->subWindows().find<Setting_Disp>(QStringLiteral("Setting_Disp"));
        ASSERT_TRUE(entry);
        QTest::keyClicks(entry->Disp_setdata, QStringLiteral("35"));
        const QString typed = entry->Disp_setdata->text().trimmed();
        EXPECT_EQ(typed.toStdString(), "3.5") << "typed with the label's one decimal";
        QTest::keyClick(entry->Disp_setdata, Qt::Key_Return);
        ASSERT_TRUE(runUntil([&] { return d.WriteQueue.empty() && d.ComMode == 1; }));
        EXPECT_EQ(sim->control({{"cmd", "get"}, {"port", "COM1"}, {"reg", c.reg}})["value"].toInt(),
                  typed.toDouble() * tenths);
        EXPECT_TRUE(runUntil([&] { return c.label->text().trimmed() == typed; }))
            << c.label->text().toStdString();
    }
}
