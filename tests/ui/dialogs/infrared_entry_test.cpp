// The infrared variant's numeric entry, offline: an item is typed as its label shows it, and the
// label shows the same after OK and after the set is saved and loaded again.
#include "reload_look.h"

#include "rules/value_labels.h"
#include "ui/dialogs/setting_disp.h"

#include <QTest>

using namespace qmx;

class InfraredEntry : public ReloadFixture {};

TEST_F(InfraredEntry, ItemsAreTypedAsTheirLabelsShowThem)
{
    // An infrared set with PID control and set values 2 to 4 by the contact input: every row
    // edited here is shown.
    d.RDModel = true;
    d.DataValid = true;
    d.OptSet_SVsel = 1;
    d.ParaVal(52) = 20;
    w->Disp_SStab2(0);
    const auto label = [&](int item) {
        const auto l = valueLabelOf(item);
        auto* shown = w->findChild<QLabel*>(
            QStringLiteral("%1(%2)").arg(QLatin1String(ctlName(l->ctl))).arg(l->index));
        return shown && !hiddenOnPage(shown) ? shown->text().trimmed().toStdString() : "<hidden>";
    };
    for (int item : {43, 44, 52, 59, 60, 61}) {
        SCOPED_TRACE(testing::Message() << "item " << item);
        const std::string before = label(item);
        ASSERT_NE(before, "<hidden>");
        setButton(item);
        auto* entry = w->subWindows().find<Setting_Disp>(QStringLiteral("Setting_Disp"));
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->Now_data->text().trimmed().toStdString(), before);
        // The digits 3 and 5, read with the label's decimals.
        const std::string typed = before.find('.') == std::string::npos ? "35" : "3.5";
        QTest::keyClicks(entry->Disp_setdata, QStringLiteral("35"));
        EXPECT_EQ(entry->Disp_setdata->text().trimmed().toStdString(), typed);
        QTest::keyClick(entry->Disp_setdata, Qt::Key_Return);
        settle();
        EXPECT_EQ(label(item), typed);
    }
    EXPECT_EQ(reloadedLook(), pagesLook(*w));
}
