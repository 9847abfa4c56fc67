// The error watchdog on Timer6 and the busy notice on Timer3.
#include "online_fixture.h"

#include "comm/exchange.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>

#include <vector>

namespace {

struct WatchCase {
    const char* what;
    std::vector<int> comErr; // ComErr at each tick
    bool uploading, downloading;
    std::vector<int> boxes; // first string of each box
    bool errorBoxShownAtEnd;
};

void PrintTo(const WatchCase& c, std::ostream* os)
{
    *os << c.what;
}

class Watchdog : public OnlineWindow, public ::testing::WithParamInterface<WatchCase> {};

TEST_P(Watchdog, CountsConsecutiveErrorTicks)
{
    const WatchCase& c = GetParam();
    QStringList ok;
    for (int i = 0; i < 10; ++i)
        ok << QStringLiteral("OK");
    answers(ok);
    d.Uploading = c.uploading;
    d.Downloading = c.downloading;
    w->Text_readmsg2->show();
    for (int err : c.comErr) {
        d.ComErr = err != 0;
        w->StatusBar1->setPanel(4, QStringLiteral("busy"));
        w->Timer6_Timer();
    }
    QStringList expected;
    for (int id : c.boxes)
        expected << joined({id, id + 1});
    EXPECT_EQ(texts(), expected) << c.what;
    EXPECT_EQ(!w->Text_readmsg2->isHidden(), c.errorBoxShownAtEnd) << c.what;
    EXPECT_EQ(d.Uploading, c.uploading) << "the watchdog changes no flag";
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, Watchdog,
    ::testing::Values(
        WatchCase{"four errors then an answer", {1, 1, 1, 1, 0}, true, false, {}, false},
        WatchCase{"the fifth error tells of the upload", {1, 1, 1, 1, 1}, true, false, {380}, true},
        WatchCase{"and again at every further tick",
                  {1, 1, 1, 1, 1, 1, 1},
                  true,
                  false,
                  {380, 380, 380},
                  true},
        WatchCase{"no transfer: nothing to tell", {1, 1, 1, 1, 1, 1}, false, false, {}, true},
        WatchCase{"both transfers: upload first", {1, 1, 1, 1, 1}, true, true, {380, 382}, true},
        WatchCase{"an answer starts the count again",
                  {1, 1, 1, 1, 0, 1, 1, 1, 1, 1},
                  false,
                  true,
                  {382},
                  false}));

using WatchdogBox = OnlineWindow;

QList<QMessageBox*> openBoxes()
{
    QList<QMessageBox*> out;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(t); box && box->isVisible())
            out << box;
    return out;
}

TEST_F(WatchdogBox, NeverOpensASecondBoxWhileOneIsOpen)
{
    d.ComErr = true;
    d.Uploading = true;
    qsizetype mostOpen = 0;
    int ticksWhileOpen = 0;
    // Ticks that come due while the operator reads the box.
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        if (!openBoxes().isEmpty() && ticksWhileOpen < 4) {
            ++ticksWhileOpen;
            w->Timer6_Timer();
        }
    });
    // The operator: answers once the ticks have come (or at once when a second box opened).
    QTimer operatorHand;
    QObject::connect(&operatorHand, &QTimer::timeout, [&] {
        const QList<QMessageBox*> open = openBoxes();
        mostOpen = std::max(mostOpen, open.size());
        if (!open.isEmpty() && (ticksWhileOpen >= 4 || open.size() > 1)) {
            d.ComErr = false;
            open.last()->button(QMessageBox::Ok)->click();
        }
    });
    ticks.start(50);
    operatorHand.start(10);
    for (int i = 0; i < 5; ++i)
        w->Timer6_Timer();
    ASSERT_TRUE(runUntil([&] { return ticksWhileOpen >= 4 && openBoxes().isEmpty(); }));
    EXPECT_EQ(mostOpen, 1);
    EXPECT_EQ(texts().count(joined({380, 381})), 1);
}

using BusyNotice = OnlineWindow;

TEST_F(BusyNotice, HidesAtTheNextTickOfItsTimer)
{
    goOnline();
    w->Timer1.stop();
    sim->control({{"cmd", "busy"}, {"port", "COM1"}, {"on", true}});
    d.ParaNo = 46;
    w->link->Send_Para();
    EXPECT_FALSE(w->Text_readmsg3->isHidden());
    EXPECT_FALSE(w->Text_readmsg5->isHidden());
    EXPECT_EQ(w->Timer3.interval(), 2000);
    QSignalSpy tick(&w->Timer3, &QTimer::timeout);
    ASSERT_TRUE(tick.wait(5000));
    EXPECT_TRUE(w->Text_readmsg3->isHidden());
    EXPECT_TRUE(w->Text_readmsg5->isHidden());
    EXPECT_FALSE(w->Timer3.isActive());
}

} // namespace
