// The automation commands that reach a window's keys, its picture and its close box, and the order
// in which actions held back during a port wait run.
#include "ui/automation.h"

#include "comm/port_wait.h"
#include "ui/ui_seam.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

// Two answers for two boxes in a row, the first sent while the program waits for the port (the
// first box open), the second just after the wait while the first is still held back: each box
// takes its own answer.
TEST(AutomationOrder, ActionsHeldBackDuringAPortWaitRunInTheOrderTheyCame)
{
    qunsetenv("QMX_ANSWERS");
    qmx::ui::resetAnswers();
    // A box left without its answer would hang the run: it is dismissed and the test fails.
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            box->reject();
    });
    guard.start(5000);
    Automation a(QStringLiteral("qmx-automation-order-test"), {});
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(qmx::waitingForThePort());
            EXPECT_TRUE(ok(a.handle(QStringLiteral("answer Yes"))));
        });
        QSerialPort neverAnswers; // the wait lasts its whole 200 ms
        qmx::waitForReadyReadLettingEventsRun(neverAnswers, 200);
        EXPECT_NE(QApplication::activeModalWidget(), nullptr) << "answered during the wait";
        EXPECT_TRUE(ok(a.handle(QStringLiteral("answer No"))));
    });
    using qmx::ui::Answer, qmx::ui::Buttons, qmx::ui::Icon;
    EXPECT_EQ(qmx::ui::MsgBox(QStringLiteral("first"), Buttons::YesNo, Icon::None), Answer::Yes);
    EXPECT_EQ(qmx::ui::MsgBox(QStringLiteral("second"), Buttons::YesNo, Icon::None), Answer::No);
}

} // namespace
