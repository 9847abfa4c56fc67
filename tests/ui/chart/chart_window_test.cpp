// The trend chart on the main window, in-process: start-up from the pen files, the properties, the
// settings panel and the keypad, judged by the pen files' bytes and what the chart shows.
#include "../main/window_fixture.h"

#include "files/pen_files.h"
#include "files/settings_store.h"
#include "ui/automation.h"
#include "ui/chart/chart_canvas.h"
#include "ui/chart/setting3_disp.h"
#include "ui/chart/velder_chartctl.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace qmx;

namespace {

QByteArray penBytes(int pen)
{
    QFile f(penFilePath(programFolder(), pen));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A record's value as another program reads it: little-endian, 32 or 16 bits.
int record(int pen, int r)
{
    const QByteArray b = penBytes(pen).mid((r - 1) * 4, 4);
    if (b.size() < 4)
        return -99999;
    const auto u = [&](int i) { return uint32_t(uint8_t(b.at(i))); };
    return r <= 5 ? int32_t(u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24)
                  : int16_t(uint16_t(u(0) | u(1) << 8));
}

// The keypad opens modally; `steps` run on it once it is up, then it must be closed.
void withKeypad(const std::function<void(Setting3_Disp&)>& steps)
{
    QTimer::singleShot(0, [steps] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* pad = qobject_cast<Setting3_Disp*>(w); pad && pad->isVisible()) {
                steps(*pad);
                return;
            }
        ADD_FAILURE() << "no keypad";
    });
}

void type(Setting3_Disp& pad, const QString& keys)
{
    QTest::keyClicks(pad.Disp_setdata3, keys);
}

class Chart : public WindowFixture {
protected:
    Velder_ChartCtl& c() { return *w->Velder_ChartCtl1; }
    QStringList xLabels()
    {
        QStringList l;
        for (int i = 0; i <= 10; ++i)
            l << c().lblXscal[size_t(i)]->text();
        return l;
    }
};

} // namespace

TEST_F(Chart, StartUpWithoutPenFilesWritesTheDefaults)
{
    for (int pen = 0; pen < 4; ++pen)
        EXPECT_EQ(penBytes(pen).size(), 44) << pen;
    EXPECT_EQ(penBytes(0).left(4), QByteArray("\xFF\x00\xFF\x00", 4));
    EXPECT_EQ(penBytes(1).left(4), QByteArray("\x00\xC0\x00\x00", 4));
    EXPECT_EQ(penBytes(2).left(4), QByteArray("\xFF\x00\x00\x00", 4));
    EXPECT_EQ(penBytes(3).left(4), QByteArray("\x80\x80\xFF\x00", 4));
    for (int pen = 0; pen < 4; ++pen) {
        EXPECT_EQ(record(pen, 2), 2);
        EXPECT_EQ(record(pen, 3), 5);
        EXPECT_EQ(record(pen, 4), 400);
        EXPECT_EQ(record(pen, 5), 0);
        EXPECT_EQ(record(pen, 6), 1);
        EXPECT_EQ(record(pen, 11), 4);
    }
    EXPECT_TRUE(c().XScaleMidole());
    EXPECT_FALSE(c().XScaleShort());
    EXPECT_EQ(c().XScaleTime(), QStringLiteral("5"));
    EXPECT_EQ(c().YScaleHigh(), QStringLiteral("400"));
    EXPECT_EQ(c().YScaleLow(), QStringLiteral("0"));
    EXPECT_EQ(c().YScaleDivision(), QStringLiteral("4"));
    EXPECT_EQ(c().Charttime(), 200);
    EXPECT_EQ(c().timChart.interval(), 200);
    EXPECT_EQ(c().lblYscal[1]->text(), QStringLiteral("200"));
    EXPECT_EQ(xLabels().join(u','), QStringLiteral("0,75,150,225,300,375,450,525,600,675,750"));
    EXPECT_EQ(c().lblMsg->text(), S(91));
    EXPECT_EQ(c().optLong->text(), S(668));
    EXPECT_TRUE(c().cmdRUN->isEnabled());
    EXPECT_FALSE(c().cmdStop->isEnabled());
    EXPECT_TRUE(texts().filter(QStringLiteral("QMX")).isEmpty());
}

TEST_F(Chart, StartUpTakesTheFilesAndTheLastFileCounts)
{
    // Rewrite the files as an earlier run left them: short span, cycle 2, scale -50..150, SV off.
    ChartSettings s;
    s.ChartXMode = 0, s.ChartItv = 2, s.ChartSH = 150, s.ChartSL = -50, s.ChartDiv = 5;
    s.PenColor = {0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
    for (int pen = 0; pen < 4; ++pen)
        ASSERT_TRUE(writePenRecords(penFilePath(programFolder(), pen),
                                    penRecords(s, pen, pen == 1 ? 0 : 1, 0), kAllPenRecords));
    w.reset();
    w = std::make_unique<MainDisp>(d);
    w->system_init();
    EXPECT_TRUE(c().XScaleShort());
    EXPECT_FALSE(c().XScaleMidole());
    EXPECT_EQ(c().XScaleTime(), QStringLiteral("2"));
    EXPECT_EQ(c().YScaleHigh(), QStringLiteral("150"));
    EXPECT_EQ(c().YScaleLow(), QStringLiteral("-50"));
    EXPECT_EQ(c().lblYscal[1]->text(), QStringLiteral("50"));
    EXPECT_EQ(xLabels().join(u','), QStringLiteral("0,2,4,6,8,10,12,14,16,18,20"));
    EXPECT_EQ(c().scale().hLines.size(), 4u);
    EXPECT_EQ(c().TraceOn, (std::array<int16_t, 4>{1, 0, 1, 1}));
    EXPECT_EQ(c().cmdDev[0]->palette().color(QPalette::Button), QColor(255, 0, 0));
    EXPECT_EQ(c().cmdDev[1]->palette().color(QPalette::Button),
              QApplication::palette(c().cmdDev[1]).color(QPalette::Button));
    EXPECT_EQ(c().settings().PenOn[1], 0);
}

TEST_F(Chart, APenFolderThatCannotBeWrittenIsToldOnceAndStartUpGoesOn)
{
    w.reset();
    QDir(programFolder()).removeRecursively();
    QFile blocker(programFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    answers({QStringLiteral("OK")});
    w = std::make_unique<MainDisp>(d);
    w->system_init();
    int boxes = 0;
    for (const QJsonObject& o : log())
        boxes += o.value(QStringLiteral("box")) == QStringLiteral("msg") ? 1 : 0;
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(c().XScaleMidole());
    EXPECT_EQ(c().YScaleHigh(), QStringLiteral("400"));
    // A span click that cannot write is told once, and the span is taken all the same.
    answers({QStringLiteral("OK")});
    c().optShort->click();
    EXPECT_TRUE(c().XScaleShort());
    EXPECT_EQ(c().settings().ChartXMode, 0);
    boxes = 0;
    for (const QJsonObject& o : log())
        boxes += o.value(QStringLiteral("box")) == QStringLiteral("msg") ? 1 : 0;
    EXPECT_EQ(boxes, 2);
    QFile::remove(programFolder());
}

TEST_F(Chart, PvTextsAndTheMv2Row)
{
    d.OptSet_HeatCool = 0;
    c().ScaleSet();
    const struct {
        const char* in;
        const char* shown;
        const char* value; // what the next sample plots
    } rows[] = {
        {"123.4", "123.4", "123.4"}, {"----U", "----", "400"}, {"---- ", "----", "400"},
        {"----D", "----", "0"},      {"----", "----", "----"}, {"-12", "-12", "-12"},
    };
    for (const auto& r : rows) {
        c().setPv0Caption(QLatin1String(r.in));
        EXPECT_EQ(c().lblPv->text(), QLatin1String(r.shown)) << r.in;
        EXPECT_EQ(c().Pv0Caption(), QLatin1String(r.shown)) << r.in;
    }
    c().setSv0Caption(QStringLiteral("----U"));
    EXPECT_EQ(c().lblSv->text(), QStringLiteral("----U"));

    c().setMv2Caption(QStringLiteral("55.0"));
    EXPECT_NE(c().lblMv2->text(), QStringLiteral("55.0"));
    EXPECT_TRUE(c().lblMv2->isHidden());
    EXPECT_TRUE(c().cmdDev[3]->isHidden());
    c().setChartMaxCh(0);
    EXPECT_TRUE(c().lblMv2->isHidden());
    EXPECT_FALSE(c().lblPv->isHidden());

    d.OptSet_HeatCool = 1;
    c().setMv2Caption(QStringLiteral("55.0"));
    EXPECT_EQ(c().lblMv2->text(), QStringLiteral("55.0"));
    EXPECT_FALSE(c().lblMv2->isHidden());
    c().setChartMaxCh(0);
    EXPECT_EQ(c().lblMv2->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0xFF));

    // The cycle label changes alone: nothing is written, nothing redrawn.
    const QByteArray before = penBytes(0);
    c().setXScaleTime(QStringLiteral("9"));
    EXPECT_EQ(xLabels().at(1), QStringLiteral("75"));
    EXPECT_EQ(penBytes(0), before);
}

TEST_F(Chart, StoredProperties)
{
    // The main window's layout: Charttime 200, XScaleMidole False, XScaleShort True.
    c().settings().ChartXMode = 2;
    c().ReadProperties(Velder_ChartCtl::mainLayoutProperties());
    EXPECT_FALSE(c().XScaleMidole());
    EXPECT_EQ(c().Charttime(), 200);
    EXPECT_EQ(c().Pv0Caption(), QStringLiteral("0"));

    // A missing key reads its default: True for the span the pen files chose.
    c().settings().ChartXMode = 1;
    c().ReadProperties({});
    EXPECT_TRUE(c().XScaleLong());
    // Selecting the span ran its click handler, whose redraw sets the 200 ms tick.
    EXPECT_EQ(c().Charttime(), 200);

    // What saving writes reads back the same.
    c().setYScaleHigh(QStringLiteral("250"));
    c().setXScaleTime(QStringLiteral("7"));
    const QVariantMap saved = c().WriteProperties();
    EXPECT_EQ(saved.value(QStringLiteral("YScaleHigh")).toString(), QStringLiteral("250"));
    EXPECT_FALSE(saved.contains(QStringLiteral("YScaleLow"))); // equal to its default
    c().setYScaleHigh(QStringLiteral("999"));
    c().ReadProperties(saved);
    EXPECT_EQ(c().YScaleHigh(), QStringLiteral("250"));
    EXPECT_EQ(c().XScaleTime(), QStringLiteral("7"));
    EXPECT_TRUE(c().XScaleLong());
}

TEST_F(Chart, PenFrameTogglesAndSaves)
{
    d.OptSet_HeatCool = 0;
    c().cmdChartsel_Click();
    EXPECT_FALSE(c().frmChartsel->isHidden());
    EXPECT_FALSE(c().cmdChartsel->isEnabled());
    EXPECT_TRUE(c().cmdDev[3]->isHidden());
    EXPECT_TRUE(c().cmdColor[3]->isHidden());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(c().cmdColor[size_t(i)]->isEnabled());

    const QByteArray before2 = penBytes(2);
    c().cmdDev1_Click(); // SV off
    EXPECT_EQ(c().TraceOn[1], 0);
    EXPECT_FALSE(c().cmdColor[1]->isEnabled());
    EXPECT_EQ(record(1, 6), 1) << "a toggle alone writes nothing";

    c().cmdSelend_Click();
    EXPECT_TRUE(c().frmChartsel->isHidden());
    EXPECT_TRUE(c().cmdChartsel->isEnabled());
    EXPECT_EQ(record(1, 6), 0);
    EXPECT_EQ(record(0, 6), 1);
    EXPECT_EQ(penBytes(2), before2);

    // Opened again, the pen that is off still offers its colour.
    c().cmdChartsel_Click();
    EXPECT_TRUE(c().cmdColor[1]->isEnabled());
    d.OptSet_HeatCool = 1;
    c().TraceOn[3] = 0;
    c().cmdChartsel_Click();
    EXPECT_FALSE(c().cmdDev[3]->isHidden());
    EXPECT_FALSE(c().cmdColor[3]->isEnabled());
}

TEST_F(Chart, AColourChoiceWritesThatPensColourOnly)
{
    const QByteArray others[3] = {penBytes(0), penBytes(1), penBytes(3)};
    answers({QStringLiteral("#102030")});
    c().cmdColor_Click(2);
    EXPECT_EQ(record(2, 1), 0x302010); // 0x00BBGGRR
    EXPECT_EQ(c().settings().PenColor[2], 0x302010);
    EXPECT_EQ(c().cmdDev[2]->palette().color(QPalette::Button), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(penBytes(0), others[0]);
    EXPECT_EQ(penBytes(1), others[1]);
    EXPECT_EQ(penBytes(3), others[2]);
    const QJsonObject box = log().last();
    EXPECT_EQ(box.value(QStringLiteral("box")).toString(), QStringLiteral("color"));
    EXPECT_EQ(box.value(QStringLiteral("initial")).toString(), QStringLiteral("#FF0000"));
    EXPECT_EQ(box.value(QStringLiteral("answer")).toString(), QStringLiteral("#102030"));

    const QByteArray before = penBytes(2);
    answers({QStringLiteral("Cancel")});
    c().cmdColor_Click(2);
    EXPECT_EQ(penBytes(2), before);
    EXPECT_EQ(log().last().value(QStringLiteral("answer")).toString(), QStringLiteral("Cancel"));
}

TEST_F(Chart, TimeSpansWriteTheModeAndRedraw)
{
    c().optShort->click();
    for (int pen = 0; pen < 4; ++pen)
        EXPECT_EQ(record(pen, 2), 0);
    EXPECT_EQ(xLabels().join(u','), QStringLiteral("0,5,10,15,20,25,30,35,40,45,50"));
    c().optLong->click();
    EXPECT_FALSE(c().optShort->isChecked());
    EXPECT_EQ(record(3, 2), 1);
    EXPECT_EQ(xLabels().last(), QStringLiteral("2250"));
    // A click on the selected option keeps it and runs nothing.
    c().optLong->click();
    EXPECT_TRUE(c().optLong->isChecked());
}

TEST_F(Chart, KeypadSetsTheScaleHigh)
{
    withKeypad([](Setting3_Disp& pad) {
        EXPECT_EQ(pad.windowTitle(), S(230));
        EXPECT_EQ(pad.Now_data->text(), QStringLiteral("400"));
        EXPECT_EQ(pad.Limit_data->text(), QStringLiteral("1 to 10000"));
        type(pad, QStringLiteral("5x0.50"));
        EXPECT_EQ(pad.Disp_setdata3->text(), QStringLiteral(" 50"));
        pad.Ten_key[size_t(0)]->click();
        EXPECT_EQ(pad.Disp_setdata3->text(), QStringLiteral(" 500"));
        pad.Command3->click();
    });
    c().Cmd_SH_Click();
    EXPECT_EQ(c().YScaleHigh(), QStringLiteral("500"));
    EXPECT_EQ(c().settings().ChartSH, 500);
    EXPECT_EQ(c().lblYscal[0]->text(), QStringLiteral("500"));
    for (int pen = 0; pen < 4; ++pen)
        EXPECT_EQ(record(pen, 4), 500);
    EXPECT_EQ(c().EntryMode, 0);
}

TEST_F(Chart, KeypadRefusalsKeepTheWindowOpen)
{
    answers({QStringLiteral("OK"), QStringLiteral("OK"), QStringLiteral("OK")});
    withKeypad([](Setting3_Disp& pad) {
        EXPECT_EQ(pad.Limit_data->text(), QStringLiteral("-2000 to 399"));
        pad.Command3->click();              // empty: 559
        type(pad, QStringLiteral("400\r")); // not below the high end: 554
        EXPECT_TRUE(pad.isVisible());
        EXPECT_EQ(pad.Disp_setdata3->text(), QString());
        type(pad, QStringLiteral("5000-")); // the key changes the sign without a check
        EXPECT_EQ(pad.Disp_setdata3->text(), QStringLiteral("-5000"));
        pad.Command3->click(); // out of -2000..10000: 229
        EXPECT_TRUE(pad.isVisible());
        pad.Command4->click();
    });
    const QByteArray before = penBytes(0);
    c().Cmd_SL_Click();
    EXPECT_EQ(c().YScaleLow(), QStringLiteral("0"));
    EXPECT_EQ(penBytes(0), before);
    QStringList boxes = texts();
    boxes.removeAll(QStringLiteral("<beep>"));
    EXPECT_EQ(boxes, (QStringList{S(559), S(554), S(229)}));
}

TEST_F(Chart, KeypadCycleAndDivisions)
{
    answers({QStringLiteral("OK"), QStringLiteral("OK")});
    withKeypad([](Setting3_Disp& pad) {
        type(pad, QStringLiteral("5"));
        pad.Command1->click(); // -5 is out of 1..60: 229, entry emptied
        EXPECT_EQ(pad.Disp_setdata3->text(), QString());
        type(pad, QStringLiteral("60"));
        pad.Command3->click();
    });
    c().Cmd_time_Click();
    EXPECT_EQ(c().XScaleTime(), QStringLiteral("60"));
    EXPECT_EQ(record(2, 3), 60);
    EXPECT_EQ(xLabels().at(1), QStringLiteral("900")); // middle span: 15 x 60 minutes

    // Cancelled, the cycle shown is written all the same.
    QFile::remove(penFilePath(programFolder(), 1));
    withKeypad([](Setting3_Disp& pad) { pad.Command4->click(); });
    c().Cmd_time_Click();
    EXPECT_EQ(penBytes(1).size(), 44) << "a missing file is written whole";
    EXPECT_EQ(record(1, 3), 60);

    withKeypad([](Setting3_Disp& pad) {
        type(pad, QStringLiteral("5"));
        pad.Command1->click(); // -5 passes the button's -2000..10000
        EXPECT_EQ(pad.Disp_setdata3->text(), QStringLiteral("-5"));
        pad.Command3->click(); // and OK's 2..10 refuses it
        pad.Command2->click();
        type(pad, QStringLiteral("7\r"));
    });
    c().Cmd_Division_Click();
    EXPECT_EQ(c().YScaleDivision(), QStringLiteral("7"));
    EXPECT_EQ(c().scale().hLines.size(), 6u);
    EXPECT_EQ(record(0, 11), 7);
}

TEST_F(Chart, ControlsAreAddressedThroughTheChart)
{
    const QJsonObject dump = dumpWidgets().value(QStringLiteral("widgets")).toObject();
    for (const char* n : {"cmdChartsel", "Label1(0)", "optLong", "lblSH", "picCanbus",
                          "lblXscal(11)", "cmdColor(3)", "Label1(80)", "Savename_text"})
        EXPECT_TRUE(dump.contains(QStringLiteral("MainDisp/Velder_ChartCtl1/") + QLatin1String(n)))
            << n;
    EXPECT_FALSE(dump.contains(QStringLiteral("MainDisp/cmdChartsel")));
    const QJsonObject chart = dump.value(QStringLiteral("MainDisp/Velder_ChartCtl1")).toObject();
    EXPECT_EQ(chart.value(QStringLiteral("TraceOn")).toArray().size(), 4);
    EXPECT_EQ(chart.value(QStringLiteral("YScaleHigh")).toString(), QStringLiteral("400"));
    EXPECT_EQ(findControl(QStringLiteral("MainDisp/Velder_ChartCtl1/Label1(0)")), c().Label1[0]);
    EXPECT_EQ(findControl(QStringLiteral("MainDisp/Label1(0)")), w->Label1[0]);
}

TEST_F(Chart, TheColourDialogIsAnsweredFromOutside)
{
    // No scripted answer: the dialog opens and waits; the automation's answer closes it.
    answers({});
    QString seen;
    QTimer::singleShot(50, [&seen] {
        seen = ui::openBoxInfo().value(QStringLiteral("box")).toString();
        QString why;
        EXPECT_FALSE(ui::answerOpen(QStringLiteral("blue"), &why));
        EXPECT_FALSE(why.isEmpty());
        EXPECT_TRUE(ui::answerOpen(QStringLiteral("#aabbcc")));
    });
    c().cmdColor_Click(0);
    EXPECT_EQ(seen, QStringLiteral("color"));
    EXPECT_EQ(c().settings().PenColor[0], 0xCCBBAA);
    EXPECT_EQ(log().last().value(QStringLiteral("answer")).toString(), QStringLiteral("#AABBCC"));

    QTimer::singleShot(50, [] { EXPECT_TRUE(ui::answerOpen(QStringLiteral("Cancel"))); });
    c().cmdColor_Click(0);
    EXPECT_EQ(c().settings().PenColor[0], 0xCCBBAA);
    EXPECT_EQ(log().last().value(QStringLiteral("answer")).toString(), QStringLiteral("Cancel"));
}
