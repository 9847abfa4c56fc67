// Monitoring refreshes the window twenty times a second, and none of it may lay the whole window
// out again; every status-bar text shows whole. Both languages.
#include "window_fixture.h"

#include "ui/ui_widgets.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QTabWidget>

using namespace qmx;

namespace {

// Counts the layout requests a widget receives.
class LayoutRequests : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::LayoutRequest)
            ++count;
        return false;
    }
};

// What the controller reports step by step: values of every length their texts take (SV2 to SV4
// too), lamps going on and off, PV over and under its range, auto-tuning running.
struct Step {
    int16_t pv, sv, mv, ct, status;
};
constexpr Step kSteps[] = {
    {0, 0, 0, 0, 0x0000},        {25, 150, 455, 85, 0x0001}, {1370, 9999, 1000, 999, 0x004F},
    {-199, -1999, 5, 5, 0x0100}, {-1999, 7, 1, 120, 0x0200}, {7, 1370, 999, 500, 0x0802}};

class LiveLayout : public WindowFixture, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        // The window in the language under test, every live part in play: alarm 2, heating and
        // cooling, three-phase heater burnout, SV2 to SV4 and the event inputs.
        w.reset();
        setUiLanguage(GetParam());
        d.OptSet_Alarm2 = 1;
        d.OptSet_HeatCool = 1;
        d.OptSet_HB = 3;
        d.OptSet_SVsel = 1;
        d.OptSet_Comm = 0;
        d.ParaVal(62) = 0;
        d.MonVal(7) = 0x74;
        d.MonVal(8) = 0x11;
        d.OnLine = true;
        w = std::make_unique<MainDisp>(d);
        w->system_init();
        w->show();
    }
    void TearDown() override
    {
        setUiLanguage(Language::English);
        WindowFixture::TearDown();
    }
    void monitoringStep(const Step& s, int n)
    {
        // The poll clears the verdict before each read and shows the reply's after it.
        w->setStatusPanel(1, QString());
        QCoreApplication::processEvents();
        w->setStatusPanel(1, n % 5 == 4 ? QStringLiteral("NG") : QStringLiteral("OK"));
        d.MonVal(0) = s.pv;
        d.MonVal(3) = s.sv;
        d.MonVal(1) = d.MonVal(2) = s.mv;
        d.MonVal(5) = d.MonVal(6) = s.ct;
        d.MonVal(4) = s.status;
        for (int item = 59; item <= 61; ++item)
            d.ParaVal(item) = s.sv;
        w->SelectDispItem();
        settle();
    }
    // A layout request climbs the window one event pass a level.
    static void settle()
    {
        for (int i = 0; i < 8; ++i)
            QCoreApplication::processEvents();
    }
};

} // namespace

TEST_P(LiveLayout, MonitoringStepsNeverLayTheWholeWindowOut)
{
    for (int page = 0; page < 4; ++page) {
        SCOPED_TRACE(page);
        w->SSTab2->setCurrentIndex(page);
        monitoringStep(kSteps[0], 0);
        settle();
        // The window, and the tab controls, which repaint all of themselves when laid out.
        LayoutRequests requests;
        const std::array<QWidget*, 3> wholes{w.get(), w->SSTab1, w->SSTab2};
        for (QWidget* whole : wholes)
            whole->installEventFilter(&requests);
        for (int n = 0; n < 20; ++n)
            monitoringStep(kSteps[size_t(n) % std::size(kSteps)], n);
        for (QWidget* whole : wholes)
            whole->removeEventFilter(&requests);
        EXPECT_EQ(requests.count, 0);
    }
}

TEST_P(LiveLayout, EveryStatusTextShowsWhole)
{
    const std::pair<int, QString> shown[] = {
        {1, QStringLiteral("OK")}, {1, QStringLiteral("NG")}, {2, LoadResString(90)},
        {2, LoadResString(555)},   {3, LoadResString(91)},    {3, LoadResString(92)},
        {4, LoadResString(453)},   {4, LoadResString(501)},   {4, LoadResString(502)}};
    for (const auto& [panel, text] : shown) {
        w->setStatusPanel(panel, text);
        QCoreApplication::processEvents();
        const QLabel* l = w->StatusBar1->panelLabel(panel);
        const QRect need = l->fontMetrics().boundingRect(text);
        EXPECT_LE(need.width(), l->contentsRect().width()) << text.toStdString();
        EXPECT_LE(need.height(), l->contentsRect().height()) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LiveLayout,
                         ::testing::Values(Language::English, Language::Japanese),
                         [](const auto& info) {
                             return info.param == Language::English ? "English" : "Japanese";
                         });
