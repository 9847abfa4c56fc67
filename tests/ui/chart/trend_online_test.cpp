// A trend run online against the simulated controller, on the real clocks: the log's rows follow
// the recording cycle and carry what the window shows, and nothing while the window shows the
// communication error; the Stop button, the Trace menu and going offline each end the run.
#include "../link/online/online_fixture.h"

#include "files/settings_store.h"
#include "ui/chart/velder_chartctl.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace {

class TrendOnline : public OnlineWindow {
protected:
    qmx::Velder_ChartCtl& c() { return *w->Velder_ChartCtl1; }
    void startRun()
    {
        // PV well inside the default 0..400 scale, and a one-second cycle.
        setRegister(QStringLiteral("0080"), 250);
        if (!d.OnLine) {
            goOnline();
            ASSERT_TRUE(runRequests(30));
        }
        c().setXScaleTime(QStringLiteral("1"));
        w->mnuTrace_Click();
        ASSERT_TRUE(c().isRunning());
        ASSERT_TRUE(w->mnuTrace->isChecked());
    }
    QStringList rows()
    {
        QFile f(QDir::fromNativeSeparators(c().Savename_text->text()));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList l = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
        l.removeLast();
        return l.mid(2);
    }
};

TEST_F(TrendOnline, AOneSecondRunLogsWhatTheWindowShows)
{
    startRun();
    ASSERT_TRUE(runUntil([&] { return rows().size() >= 4; }, 8000));
    const QString pv = w->Text_PV->text().trimmed();
    ASSERT_FALSE(pv.isEmpty());
    for (const QString& r : rows()) {
        const QStringList f = r.split(QLatin1Char(','));
        ASSERT_EQ(f.size(), 6) << r.toStdString(); // date, time, PV, SV, MV1 and the end
        EXPECT_EQ(f[2], QLatin1Char('"') + pv + QLatin1Char('"')) << r.toStdString();
    }
    // One row a second, each naming its own second (a loaded machine may skip one, never repeat).
    QStringList times;
    for (const QString& r : rows())
        times << r.section(QLatin1Char(','), 1, 1);
    times.removeDuplicates();
    EXPECT_EQ(times.size(), rows().size()) << rows().join(QLatin1Char('|')).toStdString();
    EXPECT_LE(c().samples(), rows().size());
    EXPECT_GE(c().samples(), 4);

    c().cmdStop_Click();
    EXPECT_FALSE(c().isRunning());
    EXPECT_FALSE(w->mnuTrace->isChecked());
    const int n = int(rows().size());
    runUntil([] { return false; }, 1500);
    EXPECT_EQ(rows().size(), n) << "no row after the stop";
}

TEST_F(TrendOnline, SamplesTakenWhileTheCommunicationErrorShowsHaveNoValues)
{
    startRun();
    ASSERT_TRUE(runUntil([&] { return rows().size() >= 2; }, 8000));
    set({{"silent", true}});
    ASSERT_TRUE(runUntil([&] { return commErrorShown(); }, 8000));
    const qsizetype silentFrom = rows().size();
    ASSERT_TRUE(runUntil([&] { return rows().size() >= silentFrom + 3; }, 15000));
    set({{"silent", false}});
    ASSERT_TRUE(runUntil([&] { return !commErrorShown(); }, 15000));
    const qsizetype back = rows().size();
    ASSERT_TRUE(runUntil([&] { return rows().size() >= back + 2; }, 8000));
    c().cmdStop_Click();

    // Each row: v with the values the window shows, g with its date and time alone.
    const QString pv = QLatin1Char('"') + w->Text_PV->text().trimmed() + QLatin1Char('"');
    QString seen;
    for (const QString& r : rows()) {
        const QStringList f = r.split(QLatin1Char(','));
        const bool dated = f.size() == 6 && f[0].size() > 2 && f[1].size() > 2;
        const bool empty = r.section(QLatin1Char(','), 2) == QStringLiteral("\"\",\"\",\"\",");
        seen += QLatin1Char(!dated ? 'x' : empty ? 'g' : f[2] == pv ? 'v' : 'x');
    }
    // Values before the silence and once the error has gone, none while it shows.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^v+g+v+$")).match(seen).hasMatch() &&
                seen.mid(silentFrom, 3) == QStringLiteral("ggg") &&
                seen.lastIndexOf(QLatin1Char('g')) < back)
        << seen.toStdString();
    EXPECT_EQ(c().samples(), seen.count(QLatin1Char('v'))) << "a gap plots nothing";
}

TEST_F(TrendOnline, TheTraceMenuAndGoingOfflineStopTheRun)
{
    const struct {
        const char* what;
        void (qmx::MainDisp::*stop)();
        bool offline; // and says so with string 500
    } stops[] = {
        {"Trace menu", &qmx::MainDisp::mnuTrace_Click, false},
        {"going offline", &qmx::MainDisp::Cmd_ONOFF_Click, true},
    };
    for (const auto& r : stops) {
        answers({QStringLiteral("OK")});
        startRun();
        ASSERT_TRUE(runUntil([&] { return rows().size() >= 2; }, 6000)) << r.what;
        ((*w).*r.stop)();
        EXPECT_EQ(d.OnLine, !r.offline) << r.what;
        EXPECT_FALSE(c().isRunning()) << r.what;
        EXPECT_FALSE(w->mnuTrace->isChecked()) << r.what;
        EXPECT_TRUE(c().cmdRUN->isEnabled()) << r.what;
        EXPECT_EQ(texts().contains(S(500)), r.offline) << r.what;
        const int n = int(rows().size());
        runUntil([] { return false; }, 1500);
        EXPECT_EQ(rows().size(), n) << r.what << ": no row after the stop";
    }
}

} // namespace
