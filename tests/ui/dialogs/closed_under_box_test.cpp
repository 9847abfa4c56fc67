// Every window that raises a box of its own, taken away by code while that box waits (going
// offline, the program ending): the box goes with it or is answered afterwards, the window does
// nothing more (ASan sees any use of it), and nothing it was about is stored or printed.
#include "window_fixture.h"

#include "files/setdata_file.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/dialogs/opening_disp.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace qmx;

namespace {

class UnderBox : public WindowFixture {
public:
    using WindowFixture::d;
    using WindowFixture::w;
    QPointer<OpeningDisp> splash;
    QPointer<Velder_ChartCtl> chart; // a chart panel as a window of its own

protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        for (const char* env : {"QMX_PRINT_PDF", "QMX_PORT_DIR"}) { // no controller on any port
            QDir().mkpath(dir.filePath(QLatin1String(env)));
            qputenv(env, dir.filePath(QLatin1String(env)).toUtf8());
        }
        d.Make_CommNoTbl2();
        d.DataValid = true;
        w->Read_data3();
        w->Disp_SStab2(0);
    }
    void TearDown() override
    {
        delete splash.data();
        delete chart.data();
        WindowFixture::TearDown();
        qunsetenv("QMX_PRINT_PDF");
        qunsetenv("QMX_PORT_DIR");
    }
    // The screen data (as a set-data file), the printed pages and every file of the program
    // folder (set-data files, exports, pen files).
    QByteArray stored()
    {
        const QString path = dir.filePath(QStringLiteral("state.dat"));
        QFile f(path);
        EXPECT_TRUE(writeSetDataFile(path, d) && f.open(QIODevice::ReadOnly));
        QByteArray out =
            f.readAll() + (d.DataChanged ? "changed" : "") +
            QDir(dir.filePath(QStringLiteral("QMX_PRINT_PDF"))).entryList().join(u',').toUtf8();
        for (QDirIterator it(programFolder(), QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();) {
            QFile kept(it.next());
            out += '\n' + it.filePath().toUtf8() + ':' +
                   (kept.open(QIODevice::ReadOnly) ? kept.readAll() : QByteArray());
        }
        return out;
    }
};

struct Row {
    const char* name;
    std::function<void(UnderBox&)> open; // shows it (a modal one returns when it is closed)
    const char* window;                  // its objectName
    const char* clicks; // on its buttons, or on the main window's menu items, raise its box
    bool deleted;       // not closed: one in an exec of its own goes only when the exec returns
    const char* answer; // to a box that outlives its window
};

void openEntry(UnderBox& f)
{
    f.w->Cmd_set_Click(17 - 10); // the proportional cycle, 1 to 120
}

void openKeypad(UnderBox& f)
{
    f.w->Velder_ChartCtl1->Cmd_SH_Click();
}

void openList(UnderBox& f)
{
    f.w->Cmd_set_Click(62 - 10);
}

void openChart(UnderBox& f)
{
    f.chart = new Velder_ChartCtl;
    f.chart->setObjectName(QStringLiteral("ChartPanel"));
    f.chart->setProgramFolder(programFolder());
    f.chart->show();
    f.chart->activateWindow();
}

const Row kRows[] = {
    {"EntryOutOfRange", openEntry, "Setting_Disp", "Ten_key(0) Command3", false, "OK"},
    {"EntryEmpty", openEntry, "Setting_Disp", "Command3", false, "OK"},
    // Closed, the dialog has put the set in force back: a Yes that comes later changes nothing.
    {"ModelOptionChange", [](UnderBox& f) { f.w->mnuOpset_Click(); }, "SubDisp_Opset",
     "Option_set1(1) Command1(0)", false, "Yes"},
    {"ChartKeypadEmpty", openKeypad, "Setting3_Disp", "Command3", true, "OK"},
    {"ChartKeypadOutOfRange", openKeypad, "Setting3_Disp",
     "Ten_key(9) Ten_key(9) Ten_key(9) Ten_key(9) Ten_key(9) Command3", true, "OK"},
    // The report window's own modal window is the printer choice.
    {"ReportPrinterChoice", [](UnderBox& f) { f.w->mnudata->trigger(); }, "rptver", "cmdPrint",
     false, "Cancel"},
    // With no controller found the splash asks, at its third tick, whether the serial option is
    // there.
    {"SplashQuestion",
     [](UnderBox& f) {
         f.splash = new OpeningDisp(f.d, *f.w);
         f.splash->Timer1.stop();
     },
     "OpeningDisp", "", true, "No"},
    // The main window's file dialogs raised while an entry window is the active one belong to it.
    {"SaveUnderEntry", openEntry, "Setting_Disp", "mnuSave", false, "Cancel"},
    {"SaveUnderList", openList, "Select_Disp", "mnuSave", false, "Cancel"},
    {"ExportUnderEntry", openEntry, "Setting_Disp", "mnuexport", false, "OK"},
    {"ExportUnderList", openList, "Select_Disp", "mnuexport", false, "OK"},
    {"ChartColour", openChart, "ChartPanel", "cmdChartsel cmdColor(0)", true, "#102030"},
};

void PrintTo(const Row& r, std::ostream* os)
{
    *os << r.name;
}

class ClosedUnderBox : public UnderBox, public ::testing::WithParamInterface<Row> {};

} // namespace

TEST_P(ClosedUnderBox, WindowGoesAndStoresNothing)
{
    const Row& r = GetParam();
    answers({}); // every box waits for a person
    const QByteArray before = stored();

    // Stage 0: the window, active (the operator's click comes from it), raises its box; 1: taken
    // away while the box waits; 2: a box that outlived it answered. Past the deadline whatever
    // waits is closed, so the test ends.
    QPointer<QWidget> window;
    int stage = 0;
    bool done = false;
    QDeadlineTimer limit(30000);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (limit.hasExpired()) {
            for (QWidget* x : {modal, window.data()})
                if (x)
                    x->close();
        } else if (stage == 0) {
            for (QWidget* x : QApplication::topLevelWidgets())
                if (x->objectName() == QLatin1String(r.window))
                    window = x;
            if (!window || (window->isVisible() && !QTest::qWaitForWindowActive(window)))
                return;
            stage = 1;
            QTimer::singleShot(0, window, [&] {
                for (const QString& b :
                     QString::fromLatin1(r.clicks).split(u' ', Qt::SkipEmptyParts))
                    if (auto* button = window->findChild<QAbstractButton*>(b))
                        button->click();
                    else
                        w->findChild<QAction*>(b)->trigger();
                if (auto* splash = qobject_cast<OpeningDisp*>(window.data()))
                    for (int i = 0; i < 3; ++i)
                        splash->Timer1_Timer();
            });
        } else if (stage == 1 && modal && modal != window) {
            stage = 2;
            r.deleted ? delete window.data() : void(window->close());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // gone at once
        } else if (stage == 2 && modal && modal != window) {
            if (!ui::answerOpen(QLatin1String(r.answer)))
                modal->close();
        } else if (stage == 2) {
            done = true;
        }
    });
    tick.start(5);
    r.open(*this);
    while (!done && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_TRUE(done);
    EXPECT_TRUE(!window || window->isHidden());
    EXPECT_EQ(stored(), before);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, ClosedUnderBox, ::testing::ValuesIn(kRows),
                         [](const auto& i) { return std::string(i.param.name); });
