// Every window that raises a box of its own, taken away by code while that box waits (going
// offline, the program ending, the automation's "close"): the box goes with its window or is
// answered afterwards, the window does nothing more, and nothing it was about is stored.
#include "window_fixture.h"

#include "files/pen_files.h"
#include "files/setdata_file.h"
#include "ui/chart/setting3_disp.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/dialogs/opening_disp.h"
#include "ui/dialogs/setting_disp.h"
#include "ui/dialogs/subdisp_opset.h"
#include "ui/print/rptver.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
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

protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        QDir().mkpath(dir.filePath(QStringLiteral("pdf")));
        qputenv("QMX_PRINT_PDF", dir.filePath(QStringLiteral("pdf")).toUtf8());
        // No controller on any port: the first connection finds nothing.
        QDir().mkpath(dir.filePath(QStringLiteral("ports")));
        qputenv("QMX_PORT_DIR", dir.filePath(QStringLiteral("ports")).toUtf8());
        d.Make_CommNoTbl2();
        d.DataValid = true;
        w->Read_data3();
        w->Disp_SStab2(0);
    }
    void TearDown() override
    {
        delete splash.data();
        WindowFixture::TearDown();
        qunsetenv("QMX_PRINT_PDF");
        qunsetenv("QMX_PORT_DIR");
    }
    // The screen data (as a set-data file), the pen files, the printed pages.
    std::string stored()
    {
        const QString path = dir.filePath(QStringLiteral("state.dat"));
        EXPECT_TRUE(writeSetDataFile(path, d));
        QStringList files{path};
        for (int pen = 0; pen < 4; ++pen)
            files << penFilePath(programFolder(), pen);
        QByteArray all = d.DataChanged ? "changed" : "";
        for (const QString& f : files) {
            QFile file(f);
            all += file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }
        return (all + QDir(dir.filePath(QStringLiteral("pdf")))
                          .entryList(QDir::Files)
                          .join(u',')
                          .toUtf8())
            .toStdString();
    }
};

template <class W> W& as(QWidget& w)
{
    return *qobject_cast<W*>(&w);
}

// How code takes the window away while its box waits. A modeless window closed is deleted at
// once; one in an exec of its own is deleted only when its exec returns.
enum class Gone { Closed, Deleted };

struct Row {
    const char* name;
    const char* window;                  // its objectName
    std::function<void(UnderBox&)> open; // shows it (a modal one returns when it is closed)
    std::function<void(QWidget&)> raise; // has it raise its box
    Gone gone;
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

const Row kRows[] = {
    {"EntryOutOfRange", "Setting_Disp", openEntry,
     [](QWidget& x) {
         as<Setting_Disp>(x).Ten_key_Click(0);
         as<Setting_Disp>(x).Command3->click();
     },
     Gone::Closed, "OK"},
    {"EntryEmpty", "Setting_Disp", openEntry,
     [](QWidget& x) { as<Setting_Disp>(x).Command3->click(); }, Gone::Closed, "OK"},
    // Closed, the dialog has put the set in force back: a Yes that comes later changes nothing.
    {"ModelOptionChange", "SubDisp_Opset", [](UnderBox& f) { f.w->mnuOpset_Click(); },
     [](QWidget& x) {
         as<SubDisp_Opset>(x).Option_set1[1]->click();
         as<SubDisp_Opset>(x).Command1[0]->click();
     },
     Gone::Closed, "Yes"},
    {"ChartKeypadEmpty", "Setting3_Disp", openKeypad,
     [](QWidget& x) { as<Setting3_Disp>(x).Command3->click(); }, Gone::Deleted, "OK"},
    {"ChartKeypadOutOfRange", "Setting3_Disp", openKeypad,
     [](QWidget& x) {
         for (int i = 0; i < 5; ++i)
             as<Setting3_Disp>(x).Ten_key_Click(9);
         as<Setting3_Disp>(x).Command3->click();
     },
     Gone::Deleted, "OK"},
    // The report window's own modal window is the printer choice.
    {"ReportPrinterChoice", "rptver", [](UnderBox& f) { f.w->mnudata->trigger(); },
     [](QWidget& x) { as<rptver>(x).cmdPrint->click(); }, Gone::Closed, "Cancel"},
    // With no controller found the splash asks whether the serial option is there.
    {"SplashQuestion", "OpeningDisp",
     [](UnderBox& f) {
         f.splash = new OpeningDisp(f.d, *f.w);
         f.splash->Timer1.stop();
     },
     [](QWidget& x) {
         for (int i = 0; i < 3; ++i)
             as<OpeningDisp>(x).Timer1_Timer();
     },
     Gone::Deleted, "No"},
};

void PrintTo(const Row& r, std::ostream* os)
{
    *os << r.name;
}

class ClosedUnderBox : public UnderBox, public ::testing::WithParamInterface<Row> {};

QWidget* windowNamed(const char* name)
{
    for (QWidget* x : QApplication::topLevelWidgets())
        if (x->objectName() == QLatin1String(name))
            return x;
    return nullptr;
}

} // namespace

TEST_P(ClosedUnderBox, WindowGoesAndStoresNothing)
{
    const Row& r = GetParam();
    answers({}); // every box waits for a person
    const std::string before = stored();

    // Waits for the window, has it raise its box, takes it away while the box waits, then answers
    // a box that outlived it. Past the deadline whatever waits is closed, so the test ends.
    QPointer<QWidget> window;
    int stage = 0;
    bool boxSeen = false, done = false;
    QDeadlineTimer limit(30000);
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (limit.hasExpired()) {
            for (QWidget* x : {modal, window.data()})
                if (x)
                    x->close();
        } else if (stage == 0) {
            window = windowNamed(r.window);
            // The operator's click comes from the window itself: it is the active one.
            if (!window || (window->isVisible() && !QTest::qWaitForWindowActive(window)))
                return;
            stage = 1;
            QTimer::singleShot(0, window, [&] { r.raise(*window); });
        } else if (stage == 1) {
            if (!modal || modal == window)
                return;
            boxSeen = true;
            stage = 2;
            r.gone == Gone::Closed ? void(window->close()) : delete window.data();
            // Gone at once, while its box still waits.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } else if (modal && modal != window) {
            if (!ui::answerOpen(QLatin1String(r.answer)))
                modal->close();
        } else {
            done = true;
        }
    });
    tick.start();
    r.open(*this);
    while (!done && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_TRUE(done);
    EXPECT_TRUE(boxSeen);
    EXPECT_TRUE(!window || window->isHidden());
    EXPECT_EQ(stored(), before);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, ClosedUnderBox, ::testing::ValuesIn(kRows),
                         [](const auto& i) { return std::string(i.param.name); });
