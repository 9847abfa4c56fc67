// The infrared variant's numeric entry, offline: an item is typed as its label shows it, and the
// label shows the same after OK and after the set is saved and loaded again.
#include "reload_look.h"

#include "rules/value_labels.h"
#include "ui/dialogs/setting_disp.h"

#include <QTest>

using namespace qmx;

namespace {

class InfraredEntry : public ReloadFixture {
protected:
    void SetUp() override
    {
        ReloadFixture::SetUp();
        // An infrared set with PID control and set values 2 to 4 by the contact input, so every
        // row edited here is shown.
        d.RDModel = true;
        d.DataValid = true;
        d.OptSet_SVsel = 1;
        d.ParaVal(52) = 20;
        w->Disp_SStab2(0);
    }
    Setting_Disp* dlg() const
    {
        return w->subWindows().find<Setting_Disp>(QStringLiteral("Setting_Disp"));
    }
    static QString labelOf(const MainDisp& m, int item)
    {
        const auto l = valueLabelOf(item);
        auto* label = m.findChild<QLabel*>(
            QStringLiteral("%1(%2)").arg(QLatin1String(ctlName(l->ctl))).arg(l->index));
        return label && !hiddenOnPage(label) ? label->text() : QStringLiteral("<hidden>");
    }
    // The label of `item` in a second window that loaded the screen data from a set-data file.
    QString labelAfterReload(int item)
    {
        const QString path = dir.filePath(QStringLiteral("infrared.dat"));
        EXPECT_TRUE(writeSetDataFile(path, d));
        QmxData d2;
        d2.Set_Defaults();
        MainDisp other(d2);
        other.system_init();
        answers({"Yes", path});
        other.mnuLoad_Click();
        EXPECT_TRUE(d2.RDModel);
        return labelOf(other, item);
    }
};

// The number of digits after the point in a value text.
int decimalsOf(const QString& text)
{
    const qsizetype point = text.indexOf(u'.');
    return point < 0 ? 0 : int(text.size() - point - 1);
}

} // namespace

TEST_F(InfraredEntry, ItemsAreTypedAsTheirLabelsShowThem)
{
    for (int item : {43, 44, 52, 59, 60, 61}) {
        SCOPED_TRACE(testing::Message() << "item " << item);
        const QString before = labelOf(*w, item);
        ASSERT_NE(before, QStringLiteral("<hidden>"));
        const int decimals = decimalsOf(before);
        setButton(item);
        ASSERT_TRUE(dlg());
        EXPECT_EQ(dlg()->Now_data->text().toStdString(), before.toStdString());
        for (const QString& limit : dlg()->Limit_data->text().split(QStringLiteral(" to ")))
            EXPECT_EQ(decimalsOf(limit.trimmed()), decimals) << limit.toStdString();

        // The digits 3 and 5, read with the label's decimals.
        const QString typed = decimals == 1 ? QStringLiteral("3.5") : QStringLiteral("35");
        QTest::keyClicks(dlg()->Disp_setdata, QStringLiteral("35"));
        EXPECT_EQ(dlg()->Disp_setdata->text().trimmed().toStdString(), typed.toStdString());
        QTest::keyClick(dlg()->Disp_setdata, Qt::Key_Return);
        settle();
        ASSERT_FALSE(dlg()) << "accepted";
        EXPECT_EQ(labelOf(*w, item).trimmed().toStdString(), typed.toStdString());
        EXPECT_EQ(labelAfterReload(item).trimmed().toStdString(), typed.toStdString());
    }
}
