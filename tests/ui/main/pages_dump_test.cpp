// What an operator sees of a set-data file named on the command line: the real program, its
// settings pages and live panel read back through the automation dump.
#include "program_driver.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

QString setFile(const QString& folder, const QString& marker, std::array<int, 6> opts,
                std::map<int, int> values, bool infrared)
{
    std::map<int, int> v = {{13, 10},   {14, 10},   {15, 200}, {16, 50}, {17, 30},  {18, 30},
                            {25, 1370}, {26, -200}, {29, 100}, {31, 10}, {33, 100}, {35, 10},
                            {38, 10},   {39, 10},   {52, 20},  {53, 50}, {57, 50},  {66, 950}};
    for (auto [k, x] : values)
        v[k] = x;
    QByteArray text = '"' + marker.toLatin1() + "\"\r\n0\r\n";
    for (int o : opts)
        text += QByteArray::number(o) + "\r\n";
    for (int item = 11; item <= (infrared ? 66 : 65); ++item)
        text += QByteArray::number(v.count(item) ? v[item] : 0) + "\r\n";
    const QString path = folder + QStringLiteral("/set.dat");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

struct Shown {
    QJsonObject widgets;
    bool visible(const char* name) const
    {
        return widgets.value(QLatin1String(name)).toObject().value("visible").toBool();
    }
    QString text(const char* name) const
    {
        return widgets.value(QLatin1String(name)).toObject().value("text").toString();
    }
};

Shown startWith(ProgramRun& p, const QString& file)
{
    p.start({file});
    EXPECT_TRUE(p.waitReady());
    return {p.dump()};
}

} // namespace

TEST(PagesOnScreen, DcInputSetFromTheCommandLine)
{
    ProgramRun p;
    const QString file = setFile(p.root(), "QMX-400", {0, 0, 0, 1, 2, 0},
                                 {{50, 31}, {27, 2}, {23, 1234}, {11, 1500}, {62, 1}}, false);
    const Shown s = startWith(p, file);
    EXPECT_EQ(s.text("MainDisp/Label_othval(1)"), "12.34");
    EXPECT_EQ(s.text("MainDisp/Text_SV(1)"), "15.00");
    EXPECT_EQ(s.text("MainDisp/Label_CF(5)"), "%");
    EXPECT_EQ(s.text("MainDisp/Label_CF(0)"), "");
    EXPECT_EQ(s.text("MainDisp/Label_UD(0)"), "/min");
    EXPECT_TRUE(s.visible("MainDisp/Label_oth(5)"));  // decimal point for a DC input
    EXPECT_FALSE(s.visible("MainDisp/Label_pid(9)")); // no AT bias
    EXPECT_FALSE(s.visible("MainDisp/Label_pid(5)")); // no cycle for a current output
    EXPECT_TRUE(s.visible("MainDisp/Label_oth(20)")); // output state on input error
    EXPECT_TRUE(s.visible("MainDisp/Label_oth(17)")); // SV2 by contact input 1
    EXPECT_FALSE(s.visible("MainDisp/Label_oth(18)"));
    p.command("quit");
}

TEST(PagesOnScreen, InfraredSetWithThreePhaseHeaterBurnout)
{
    ProgramRun p;
    const QString file =
        setFile(p.root(), "RDQMX", {0, 0, 3, 0, 0, 1}, {{50, 2}, {11, 3000}, {21, 55}}, true);
    const Shown s = startWith(p, file);
    EXPECT_TRUE(s.visible("MainDisp/Label_oth(23)"));
    EXPECT_EQ(s.text("MainDisp/Label_othval(23)"), "0.950");
    EXPECT_FALSE(s.visible("MainDisp/Label_oth(3)"));
    EXPECT_FALSE(s.visible("MainDisp/Label_oth(5)"));
    EXPECT_EQ(s.text("MainDisp/Label_CF(0)"), "deg.F");
    EXPECT_EQ(s.text("MainDisp/Text_SV(1)"), "300.0");
    EXPECT_TRUE(s.visible("MainDisp/Frame_HB"));
    EXPECT_TRUE(s.visible("MainDisp/Label_HBval(1)"));
    EXPECT_EQ(s.text("MainDisp/Label_HBval(0)"), "5.5");
    EXPECT_EQ(s.text("MainDisp/Label_Alm_HB(1)"), "Heater burnout alarm 2 setting (20.0A)");
    EXPECT_FALSE(s.visible("MainDisp/Frame_Alarm2"));
    EXPECT_FALSE(s.visible("MainDisp/Frame_Cool"));
    p.command("quit");
}

TEST(PagesOnScreen, HeatingCoolingWithAlarmsInJapanese)
{
    ProgramRun p(QStringLiteral("ja_JP.UTF-8"));
    const QString file = setFile(p.root(), "QMX-400", {1, 1, 0, 0, 0, 0},
                                 {{36, 1}, {37, 3}, {19, 50}, {32, 1}}, false);
    const Shown s = startWith(p, file);
    EXPECT_TRUE(s.visible("MainDisp/Frame_Alarm2"));
    EXPECT_TRUE(s.visible("MainDisp/Frame_Cool"));
    EXPECT_TRUE(s.visible("MainDisp/Label58"));
    EXPECT_EQ(s.text("MainDisp/Label_CF(1)"), QString::fromUtf8("℃"));
    EXPECT_EQ(s.text("MainDisp/Label_A1val(0)"), "50");
    EXPECT_TRUE(s.visible("MainDisp/Label_cool(0)"));
    EXPECT_FALSE(s.visible("MainDisp/Label_cool(6)"));
    p.command("quit");
}
