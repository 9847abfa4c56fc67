// Every status-bar text shows whole, in both languages.
#include "window_fixture.h"

#include "ui/ui_widgets.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTabWidget>

using namespace qmx;

namespace {

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
};

} // namespace

TEST_P(LiveLayout, EveryStatusTextShowsWhole)
{
    const struct {
        int panel;
        QString text;
    } shown[] = {
        {1, QStringLiteral("OK")}, {1, QStringLiteral("NG")}, {2, LoadResString(90)},
        {2, LoadResString(555)},   {3, LoadResString(91)},    {3, LoadResString(92)},
        {4, LoadResString(453)},   {4, LoadResString(501)},   {4, LoadResString(502)},
    };
    for (const auto& s : shown) {
        SCOPED_TRACE(s.text.toStdString());
        w->setStatusPanel(s.panel, s.text);
        QCoreApplication::processEvents();
        const QLabel* l = w->StatusBar1->panelLabel(s.panel);
        EXPECT_LE(l->fontMetrics().boundingRect(s.text).width(), l->contentsRect().width());
        EXPECT_LE(l->fontMetrics().boundingRect(s.text).height(), l->contentsRect().height());
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LiveLayout,
                         ::testing::Values(Language::English, Language::Japanese),
                         [](const auto& info) {
                             return info.param == Language::English ? "English" : "Japanese";
                         });
