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

// Record `r` of `before` set to `v` as another program writes it: little-endian, records 1 to 5
// of 32 bits, the others of 16 bits.
QByteArray withRecord(QByteArray before, int r, int v)
{
    for (int i = 0; i < (r <= 5 ? 4 : 2); ++i)
        before[(r - 1) * 4 + i] = char(uint32_t(v) >> (8 * i) & 0xFF);
    return before;
}

class Chart : public WindowFixture {
protected:
    Velder_ChartCtl& c() { return *w->Velder_ChartCtl1; }
    QString xLabels()
    {
        QStringList l;
        for (int i = 0; i <= 10; ++i)
            l << c().lblXscal[size_t(i)]->text();
        return l.join(u',');
    }
    int boxes()
    {
        int n = 0;
        for (const QJsonObject& o : log())
            n += o.value(QStringLiteral("box")) == QStringLiteral("msg") ? 1 : 0;
        return n;
    }
};

} // namespace

TEST_F(Chart, StartUpShowsWhatThePenFilesHold)
{
    // The fixture started without pen files: each was written whole, without a word.
    for (int pen = 0; pen < 4; ++pen)
        EXPECT_EQ(penBytes(pen).size(), 44) << pen;
    EXPECT_TRUE(texts().isEmpty());
    EXPECT_TRUE(c().cmdRUN->isEnabled());
    EXPECT_FALSE(c().cmdStop->isEnabled());
    EXPECT_EQ(c().lblMsg->text(), S(91));

    const struct {
        bool rewrite; // as an earlier run left them: short span, cycle 2, -50..150, 5 div, SV off
        bool shortSpan, middleSpan;
        const char *cycle, *high, *low, *mid, *x;
        size_t hLines;
        std::array<int16_t, 4> trace;
    } rows[] = {
        {false,
         false,
         true,
         "5",
         "400",
         "0",
         "200",
         "0,75,150,225,300,375,450,525,600,675,750",
         3,
         {1, 1, 1, 1}},
        {true,
         true,
         false,
         "2",
         "150",
         "-50",
         "50",
         "0,2,4,6,8,10,12,14,16,18,20",
         4,
         {1, 0, 1, 1}},
    };
    for (const auto& r : rows) {
        if (r.rewrite) {
            ChartSettings s;
            s.ChartXMode = 0, s.ChartItv = 2, s.ChartSH = 150, s.ChartSL = -50, s.ChartDiv = 5;
            for (int pen = 0; pen < 4; ++pen)
                ASSERT_TRUE(writePenRecords(penFilePath(programFolder(), pen),
                                            penRecords(s, pen, pen == 1 ? 0 : 1, 0),
                                            kAllPenRecords));
            w.reset();
            w = std::make_unique<MainDisp>(d);
            w->system_init();
        }
        EXPECT_EQ(c().XScaleShort(), r.shortSpan);
        EXPECT_EQ(c().XScaleMidole(), r.middleSpan);
        EXPECT_EQ(c().XScaleTime(), QLatin1String(r.cycle));
        EXPECT_EQ(c().YScaleHigh(), QLatin1String(r.high));
        EXPECT_EQ(c().YScaleLow(), QLatin1String(r.low));
        EXPECT_EQ(c().lblYscal[1]->text(), QLatin1String(r.mid));
        EXPECT_EQ(xLabels(), QLatin1String(r.x));
        EXPECT_EQ(c().scale().hLines.size(), r.hLines);
        EXPECT_EQ(c().TraceOn, r.trace);
        EXPECT_EQ(c().timChart.interval(), 200);
    }
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
    EXPECT_EQ(boxes(), 1);
    EXPECT_TRUE(c().XScaleMidole());
    EXPECT_EQ(c().YScaleHigh(), QStringLiteral("400"));
    // A span click that cannot write is told once, and the span is taken all the same.
    answers({QStringLiteral("OK")});
    c().optShort->click();
    EXPECT_TRUE(c().XScaleShort());
    EXPECT_EQ(c().settings().ChartXMode, 0);
    EXPECT_EQ(boxes(), 2);
    QFile::remove(programFolder());
}

TEST_F(Chart, PvTextsAndTheMv2Row)
{
    d.OptSet_HeatCool = 0;
    const struct {
        const char* in;
        const char* shown;
    } rows[] = {{"123.4", "123.4"}, {"----U", "----"}, {"---- ", "----"},
                {"----D", "----"},  {"----", "----"},  {"-12", "-12"}};
    for (const auto& r : rows) {
        c().setPv0Caption(QLatin1String(r.in));
        EXPECT_EQ(c().lblPv->text(), QLatin1String(r.shown)) << r.in;
        EXPECT_EQ(c().Pv0Caption(), QLatin1String(r.shown)) << r.in;
    }
    c().setSv0Caption(QStringLiteral("----U"));
    EXPECT_EQ(c().lblSv->text(), QStringLiteral("----U")); // only PV knows its range marks

    c().setMv2Caption(QStringLiteral("55.0"));
    EXPECT_TRUE(c().lblMv2->isHidden());
    EXPECT_TRUE(c().cmdDev[3]->isHidden());
    d.OptSet_HeatCool = 1;
    c().setMv2Caption(QStringLiteral("55.0"));
    EXPECT_EQ(c().lblMv2->text(), QStringLiteral("55.0"));
    EXPECT_FALSE(c().lblMv2->isHidden());

    // The cycle label changes alone: nothing is written, nothing redrawn.
    const QByteArray before = penBytes(0);
    c().setXScaleTime(QStringLiteral("9"));
    EXPECT_EQ(c().lblXscal[1]->text(), QStringLiteral("75"));
    EXPECT_EQ(penBytes(0), before);
}

TEST_F(Chart, StoredProperties)
{
    // The main window's layout: Charttime 200, XScaleMidole False, XScaleShort True.
    c().settings().ChartXMode = 2;
    c().ReadProperties(Velder_ChartCtl::mainLayoutProperties());
    EXPECT_FALSE(c().XScaleMidole());
    EXPECT_EQ(c().Charttime(), 200);

    // A missing key reads its default: True for the span the pen files chose.
    c().settings().ChartXMode = 1;
    c().ReadProperties({});
    EXPECT_TRUE(c().XScaleLong());

    // What saving writes reads back the same.
    c().setYScaleHigh(QStringLiteral("250"));
    c().setXScaleTime(QStringLiteral("7"));
    const QVariantMap saved = c().WriteProperties();
    EXPECT_FALSE(saved.contains(QStringLiteral("YScaleLow"))); // equal to its default
    c().setYScaleHigh(QStringLiteral("999"));
    c().ReadProperties(saved);
    EXPECT_EQ(c().YScaleHigh(), QStringLiteral("250"));
    EXPECT_EQ(c().XScaleTime(), QStringLiteral("7"));
    EXPECT_TRUE(c().XScaleLong());
}

TEST_F(Chart, PanelChangesWriteTheirRecordsAtOnceAndNothingElse)
{
    const struct {
        const char* what;
        std::function<void(Velder_ChartCtl&)> act;
        int record, value;
        unsigned pens; // the files the change is written to
    } rows[] = {
        {"short span", [](Velder_ChartCtl& c) { c.optShort->click(); }, 2, 0, 0xF},
        {"long span", [](Velder_ChartCtl& c) { c.optLong->click(); }, 2, 1, 0xF},
        {"colour chosen", [](Velder_ChartCtl& c) { c.cmdColor_Click(2); }, 1, 0x302010, 0x4},
        {"colour cancelled", [](Velder_ChartCtl& c) { c.cmdColor_Click(2); }, 1, 0, 0},
        {"a pen toggled alone",
         [](Velder_ChartCtl& c) { c.cmdChartsel_Click(), c.cmdDev1_Click(); }, 6, 0, 0},
        {"the pen frame closed", [](Velder_ChartCtl& c) { c.cmdSelend_Click(); }, 6, 0, 0x2},
    };
    answers({QStringLiteral("#102030"), QStringLiteral("Cancel")});
    for (const auto& r : rows) {
        std::array<QByteArray, 4> want;
        for (int pen = 0; pen < 4; ++pen)
            want[size_t(pen)] =
                r.pens >> pen & 1 ? withRecord(penBytes(pen), r.record, r.value) : penBytes(pen);
        r.act(c());
        for (int pen = 0; pen < 4; ++pen)
            EXPECT_EQ(penBytes(pen), want[size_t(pen)]) << r.what << " pen " << pen;
    }
    EXPECT_TRUE(c().optLong->isChecked());
    EXPECT_EQ(c().settings().PenColor[2], 0x302010); // 0x00BBGGRR
    EXPECT_EQ(c().cmdDev[2]->palette().color(QPalette::Button), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(c().TraceOn[1], 0);
    EXPECT_TRUE(c().frmChartsel->isHidden());
}

TEST_F(Chart, KeypadEntries)
{
    // Keys typed on the entry; "s" clicks the "+/-" button, "c" Cancel; "." clears, "-" is the
    // sign key, Return is OK.
    using Open = void (Velder_ChartCtl::*)();
    using Get = QString (Velder_ChartCtl::*)() const;
    const struct {
        Open open;
        const char* keys;
        const char* range;
        QList<int> refusals;
        Get get;
        const char* shown;
        int record, written;   // record 0: the files stay as they are
        bool dropPen1 = false; // removed before the keypad opens
    } rows[] = {
        {&Velder_ChartCtl::Cmd_SH_Click,
         "5x0.500\r",
         "1 to 10000",
         {},
         &Velder_ChartCtl::YScaleHigh,
         "500",
         4,
         500},
        {&Velder_ChartCtl::Cmd_SL_Click,
         "\r500\r5000-\rc",
         "-2000 to 499",
         {559, 554, 229},
         &Velder_ChartCtl::YScaleLow,
         "0",
         0,
         0},
        {&Velder_ChartCtl::Cmd_time_Click,
         "5s60\r",
         "1 to 60",
         {229},
         &Velder_ChartCtl::XScaleTime,
         "60",
         3,
         60},
        // Cancelled, the cycle shown is written all the same: a missing file comes back whole.
        {&Velder_ChartCtl::Cmd_time_Click,
         "3c",
         "1 to 60",
         {},
         &Velder_ChartCtl::XScaleTime,
         "60",
         0,
         0,
         true},
        // "+/-" lets -5 pass for the divisions, OK refuses it.
        {&Velder_ChartCtl::Cmd_Division_Click,
         "5s\r.7\r",
         "2 to 10",
         {229},
         &Velder_ChartCtl::YScaleDivision,
         "7",
         11,
         7},
    };
    for (const auto& r : rows) {
        QStringList ok;
        for (int i = 0; i < r.refusals.size(); ++i)
            ok << QStringLiteral("OK");
        answers(ok);
        const int seen = int(log().size());
        std::array<QByteArray, 4> want;
        for (int pen = 0; pen < 4; ++pen)
            want[size_t(pen)] =
                r.record ? withRecord(penBytes(pen), r.record, r.written) : penBytes(pen);
        if (r.dropPen1)
            QFile::remove(penFilePath(programFolder(), 1));
        QString range;
        QTimer::singleShot(0, [&] {
            for (QWidget* x : QApplication::topLevelWidgets())
                if (auto* pad = qobject_cast<Setting3_Disp*>(x); pad && pad->isVisible()) {
                    range = pad->Limit_data->text();
                    for (const char* k = r.keys; *k; ++k)
                        if (*k == 's')
                            pad->Command1->click();
                        else if (*k == 'c')
                            pad->Command4->click();
                        else
                            QTest::keyClicks(pad->Disp_setdata3, QString(QLatin1Char(*k)));
                    return;
                }
            ADD_FAILURE() << "no keypad";
        });
        (c().*r.open)();
        EXPECT_EQ(range, QLatin1String(r.range)) << r.keys;
        EXPECT_EQ((c().*r.get)(), QLatin1String(r.shown)) << r.keys;
        QStringList told = texts().mid(seen);
        told.removeAll(QStringLiteral("<beep>"));
        QStringList refused;
        for (int id : r.refusals)
            refused << S(id);
        EXPECT_EQ(told, refused) << r.keys;
        for (int pen = 0; pen < 4; ++pen)
            EXPECT_EQ(penBytes(pen), want[size_t(pen)]) << r.keys << " pen " << pen;
    }
    EXPECT_EQ(c().lblYscal[0]->text(), QStringLiteral("500"));
    EXPECT_EQ(c().lblXscal[1]->text(), QStringLiteral("900")); // middle span: 15 x 60 minutes
    EXPECT_EQ(c().scale().hLines.size(), 6u);
}

TEST_F(Chart, ControlsAndTheColourDialogAreReachedFromOutside)
{
    const QJsonObject dump = dumpWidgets().value(QStringLiteral("widgets")).toObject();
    for (const char* n : {"cmdChartsel", "Label1(0)", "lblXscal(11)", "cmdColor(3)", "picCanbus"})
        EXPECT_TRUE(dump.contains(QStringLiteral("MainDisp/Velder_ChartCtl1/") + QLatin1String(n)))
            << n;
    EXPECT_FALSE(dump.contains(QStringLiteral("MainDisp/cmdChartsel")));
    EXPECT_EQ(findControl(QStringLiteral("MainDisp/Velder_ChartCtl1/Label1(0)")), c().Label1[0]);

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
}
