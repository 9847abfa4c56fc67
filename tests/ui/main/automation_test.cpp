// The automation commands that reach a window's keys, its picture and its close box.
#include "ui/automation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

namespace {

using qmx::Automation;

struct EntryWindow {
    QWidget win;
    QLineEdit* entry = new QLineEdit(&win);
    int enters = 0;
    EntryWindow()
    {
        win.setObjectName(QStringLiteral("AutoWin"));
        entry->setObjectName(QStringLiteral("Entry"));
        (new QVBoxLayout(&win))->addWidget(entry);
        QObject::connect(entry, &QLineEdit::returnPressed, [this] { ++enters; });
        win.resize(200, 80);
        win.show();
    }
};

bool ok(const QJsonObject& reply)
{
    return reply.value(QStringLiteral("ok")).toBool();
}

TEST(AutomationKeys, EscapesStandForTheirKeysAndABadOneIsRefused)
{
    bool good = false;
    const auto keys = qmx::parseKeys(QStringLiteral("7.\\b\\r\\e\\\\"), &good);
    EXPECT_TRUE(good);
    ASSERT_EQ(keys.size(), 6);
    EXPECT_EQ(keys[0].key, int(Qt::Key_7));
    EXPECT_EQ(keys[1].key, int(Qt::Key_Period));
    EXPECT_EQ(keys[2].key, int(Qt::Key_Backspace));
    EXPECT_EQ(keys[3].key, int(Qt::Key_Return));
    EXPECT_EQ(keys[4].key, int(Qt::Key_Escape));
    EXPECT_EQ(keys[5].text, QStringLiteral("\\"));
    for (const char* bad : {"1\\x", "1\\"}) {
        qmx::parseKeys(QString::fromLatin1(bad), &good);
        EXPECT_FALSE(good) << bad;
    }
}

TEST(AutomationKeys, KeysTypeIntoTheControlAndEnterReachesIt)
{
    EntryWindow w;
    Automation a(QStringLiteral("qmx-automation-keys-test"), {});
    ASSERT_TRUE(ok(a.handle(QStringLiteral("keys AutoWin/Entry 12\\b3\\r"))));
    QTest::qWait(50);
    EXPECT_EQ(w.entry->text(), QStringLiteral("13"));
    EXPECT_EQ(w.enters, 1);
    EXPECT_FALSE(ok(a.handle(QStringLiteral("keys AutoWin/Nothing 1"))));
    EXPECT_FALSE(ok(a.handle(QStringLiteral("keys AutoWin/Entry 1\\q"))));
}

TEST(AutomationKeys, GrabWritesThePictureBeforeItAnswersAndCloseClosesTheWindow)
{
    EntryWindow w;
    Automation a(QStringLiteral("qmx-automation-grab-test"), {});
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("w.png"));
    ASSERT_TRUE(ok(a.handle(QStringLiteral("grab AutoWin ") + file)));
    const QImage shot(file);
    EXPECT_EQ(shot.size(), w.win.size() * w.win.devicePixelRatio());
    EXPECT_FALSE(ok(a.handle(QStringLiteral("grab AutoWin ") + dir.filePath("no/such/dir/w.png"))));
    EXPECT_FALSE(ok(a.handle(QStringLiteral("grab Nowhere ") + file)));

    ASSERT_TRUE(ok(a.handle(QStringLiteral("close AutoWin"))));
    QTest::qWait(50);
    EXPECT_FALSE(w.win.isVisible());
}

TEST(AutomationPaths, ADialogsControlsAreListedUnderTheDialogNotItsOwner)
{
    // The dialog comes first among the owner's children, the owner's own "Entry" after it.
    QWidget owner;
    owner.setObjectName(QStringLiteral("OwnerWin"));
    auto* dialog = new QDialog(&owner);
    dialog->setObjectName(QStringLiteral("OwnedDialog"));
    auto* theirs = new QLineEdit(dialog);
    theirs->setObjectName(QStringLiteral("Entry"));
    theirs->setText(QStringLiteral("dialog's"));
    auto* frame = new QWidget(&owner);
    auto* mine = new QLineEdit(frame);
    mine->setObjectName(QStringLiteral("Entry"));
    mine->setText(QStringLiteral("owner's"));
    owner.show();
    dialog->show();

    const QJsonObject w = qmx::dumpWidgets().value(QStringLiteral("widgets")).toObject();
    auto text = [&w](const char* path) {
        return w.value(QLatin1String(path)).toObject().value(QStringLiteral("text")).toString();
    };
    EXPECT_EQ(text("OwnerWin/Entry"), QStringLiteral("owner's"));
    EXPECT_EQ(text("OwnedDialog/Entry"), QStringLiteral("dialog's"));
    EXPECT_FALSE(w.contains(QStringLiteral("OwnerWin/OwnedDialog")));
    EXPECT_EQ(qmx::findControl(QStringLiteral("OwnerWin/Entry")), mine);
    EXPECT_EQ(qmx::findControl(QStringLiteral("OwnedDialog/Entry")), theirs);
}

} // namespace
