// The group enable buttons: each switches exactly its own group's frame, labels and set buttons.
#include "window_fixture.h"

#include "ui/display_apply.h"

#include <QPushButton>

namespace {

QStringList names(const char* array, std::initializer_list<int> ids)
{
    QStringList out;
    for (int i : ids)
        out << QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(i);
    return out;
}

QStringList range(const char* array, int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(i);
    return out;
}

// The controls of each group, by group button index.
QStringList groupControls(int index)
{
    switch (index) {
    case 0:
        return QStringList{QStringLiteral("Frame_Alarm1")} + range("Label_Alm1", 0, 4) +
               range("Label_A1val", 0, 4) + names("Label_CF", {1, 2}) + names("Label1", {0}) +
               names("Cmd_set", {9, 26, 28, 30, 38});
    case 1:
        return QStringList{QStringLiteral("Frame_Alarm2")} + range("Label_Alm2", 0, 4) +
               range("Label_A2val", 0, 4) + names("Label_CF", {3, 4}) + names("Label1", {1}) +
               names("Cmd_set", {10, 27, 29, 31, 39});
    case 2:
        return QStringList{QStringLiteral("Frame_HB")} + range("Label_Alm_HB", 0, 1) +
               range("Label_HBval", 0, 1) + range("Label_HB", 0, 1) + names("Cmd_set", {11, 44});
    case 3:
        return QStringList{QStringLiteral("Frame_Heat"), QStringLiteral("lbl_OUT")} +
               range("Label_pid", 0, 10) + range("Label_pidval", 0, 10) +
               names("Label_CF", {5, 6, 7}) + names("Label1", {2, 3, 4}) +
               names("Label21", {0, 1, 2}) +
               names("Cmd_set", {2, 3, 5, 6, 7, 19, 20, 21, 42, 43, 55});
    case 4:
        return QStringList{QStringLiteral("Frame_Cool")} + range("Label_cool", 0, 6) +
               range("Label_coolval", 0, 6) + names("Label_CF", {8, 9}) + names("Label1", {5}) +
               names("Label21", {3, 4}) + names("Cmd_set", {4, 8, 14, 22, 23, 24, 25});
    case 5:
        return QStringList{QStringLiteral("Frame_Other"), QStringLiteral("Label_Min")} +
               range("Label_oth", 0, 22) + range("Label_othval", 0, 22) +
               range("Label_CF", 10, 16) + range("Label_UD", 0, 1) + names("Label1", {6}) +
               names("Cmd_set", {12, 13, 15, 16, 17, 18, 32, 33, 34, 35, 36, 40,
                                 41, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54});
    case 6:
        return QStringList{QStringLiteral("Frame_Other2"), QStringLiteral("Label_oth(23)"),
                           QStringLiteral("Label_othval(23)"), QStringLiteral("Cmd_set(56)")};
    }
    return {};
}

QHash<QString, bool> ownEnabled(QWidget* w)
{
    QHash<QString, bool> out;
    for (QWidget* c : w->findChildren<QWidget*>())
        if (!c->objectName().isEmpty() && !c->objectName().startsWith(QLatin1String("qt_")))
            out.insert(c->objectName(), !c->testAttribute(Qt::WA_ForceDisabled));
    return out;
}

} // namespace

using GroupButtons = WindowFixture;

TEST_F(GroupButtons, EachButtonSwitchesItsGroupAndNothingElse)
{
    for (int index = 0; index <= 6; ++index) {
        const QStringList group = groupControls(index);
        const QHash<QString, bool> before = ownEnabled(w.get());
        for (const QString& n : group)
            ASSERT_TRUE(before.contains(n)) << n.toStdString();

        w->Cmd_True[size_t(index)]->click();
        const QHash<QString, bool> off = ownEnabled(w.get());
        for (auto it = off.begin(); it != off.end(); ++it) {
            if (group.contains(it.key()))
                EXPECT_FALSE(it.value()) << index << " " << it.key().toStdString();
            else
                EXPECT_EQ(it.value(), before.value(it.key()))
                    << index << " " << it.key().toStdString();
        }

        // A second click enables the whole group, set buttons the load step had disabled included.
        w->Cmd_True[size_t(index)]->click();
        const QHash<QString, bool> on = ownEnabled(w.get());
        for (auto it = on.begin(); it != on.end(); ++it) {
            if (group.contains(it.key()))
                EXPECT_TRUE(it.value()) << index << " " << it.key().toStdString();
            else
                EXPECT_EQ(it.value(), before.value(it.key()))
                    << index << " " << it.key().toStdString();
        }
    }
}

TEST_F(GroupButtons, OtherInformationLeavesTheCoolingAndInfraredButtonsAlone)
{
    w->Cmd_True_Click(5); // off
    w->Cmd_True_Click(5); // on: items 55..64 enabled
    for (int i = 45; i <= 54; ++i)
        EXPECT_TRUE(w->Cmd_set[size_t(i)]->isEnabled()) << i;
    EXPECT_FALSE(w->Cmd_set[14]->isEnabled()); // item 24 belongs to the cooling group
    w->Cmd_True_Click(5);
    for (int i = 45; i <= 54; ++i)
        EXPECT_FALSE(w->Cmd_set[size_t(i)]->isEnabled()) << i;
    EXPECT_TRUE(w->Cmd_set[56]->isEnabled()); // item 66 is the "Other information 2" group's
}

TEST_F(GroupButtons, IndexesOutsideTheArrayDoNothing)
{
    const QHash<QString, bool> before = ownEnabled(w.get());
    w->Cmd_True_Click(-1);
    w->Cmd_True_Click(7);
    EXPECT_EQ(ownEnabled(w.get()), before);
}

// A control switched off while its group is switched off stays off when the group comes back.
TEST(DisplayApplier, SetsTheControlsOwnStateNotTheOneItsGroupLends)
{
    QWidget root;
    auto* group = new QWidget(&root);
    auto* button = new QPushButton(group);
    button->setObjectName(QStringLiteral("Cmd_set(26)"));
    qmx::DisplayApplier applier;
    applier.bind(&root);

    group->setEnabled(false);
    qmx::DisplayOps ops;
    ops.enabled(qmx::Ctl::Cmd_set, 26, false);
    applier.apply(ops);
    group->setEnabled(true);
    EXPECT_FALSE(button->isEnabled());

    qmx::DisplayOps on;
    on.enabled(qmx::Ctl::Cmd_set, 26, true);
    group->setEnabled(false);
    applier.apply(on);
    group->setEnabled(true);
    EXPECT_TRUE(button->isEnabled());
}
