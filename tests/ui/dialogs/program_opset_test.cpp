// The model change in the real program, in English and in Japanese, driven through the automation
// seam: the modal dialog is reached, pictured, worked and closed like any window.
#include "program_driver.h"

#include "model/string_table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

using qmx::Language;

namespace {

struct LangCase {
    const char* lang;
    Language language;
    const char* shot;
};

void PrintTo(const LangCase& c, std::ostream* os)
{
    *os << c.lang;
}

class ProgramModelChange : public ::testing::TestWithParam<LangCase> {};

// A set-data file: alarm 2 and a 3-phase 20 A heater-burnout alarm, alarm types set.
QString setFile(const QString& folder)
{
    QByteArray text = "\"QMX-400\"\r\n0\r\n1\r\n0\r\n3\r\n0\r\n0\r\n0\r\n";
    for (int item = 11; item <= 65; ++item) {
        const int v = item == 13 ? 10 : item == 15 ? 200 : item == 16 ? 50 : item == 36 ? 1 : 0;
        text += QByteArray::number(v) + "\r\n";
    }
    const QString path = folder + QStringLiteral("/options.dat");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

bool visible(const QJsonObject& w, const char* path)
{
    return w.value(QLatin1String(path)).toObject().value(QStringLiteral("visible")).toBool();
}
QJsonObject control(const QJsonObject& w, const char* path)
{
    return w.value(QLatin1String(path)).toObject();
}

QString openBoxText(ProgramRun& p)
{
    return p.command(QStringLiteral("dump"))
        .value(QStringLiteral("open_box"))
        .toObject()
        .value(QStringLiteral("text"))
        .toString();
}

} // namespace

TEST_P(ProgramModelChange, TheDialogIsReachedWorkedAndClosedThroughTheAutomation)
{
    const LangCase& c = GetParam();
    auto S = [&c](int id) { return qmx::LoadResString(id, c.language); };
    ProgramRun p(QString::fromLatin1(c.lang));
    // No controller answers at start: the port scan is asked for and reports nothing found.
    p.setAnswers({QStringLiteral("No"), QStringLiteral("OK")});
    p.start({setFile(p.root())});
    ASSERT_TRUE(p.waitReady());
    ASSERT_TRUE(p.waitLog(2, 20000));

    ASSERT_TRUE(p.command(QStringLiteral("trigger MainDisp/mnuOpset"))["ok"].toBool());
    ASSERT_TRUE(p.waitDump([](const QJsonObject& w) { return visible(w, "SubDisp_Opset"); }));
    QJsonObject w = p.dump();
    EXPECT_EQ(control(w, "SubDisp_Opset")["text"].toString(), S(271));
    EXPECT_EQ(control(w, "SubDisp_Opset/Lbl_OP3")["text"].toString(), S(188));
    EXPECT_TRUE(control(w, "SubDisp_Opset/Option_set1(1)")["checked"].toBool());
    EXPECT_FALSE(control(w, "SubDisp_Opset/Frame2_OP1(1)")["enabled"].toBool());

    // A picture of the dialog as it opened.
    const QString shots = QStringLiteral(QMX_BINARY_DIR) + QStringLiteral("/shots");
    QDir().mkpath(shots);
    const QString shot = shots + QLatin1Char('/') + QLatin1String(c.shot);
    ASSERT_TRUE(p.command(QStringLiteral("grab SubDisp_Opset ") + shot)["ok"].toBool());
    EXPECT_FALSE(QImage(shot).isNull());

    // Heating/cooling instead of alarm 2 and heater burnout.
    for (const char* line :
         {"select SubDisp_Opset/Option_set1 0", "select SubDisp_Opset/Option_set3 0",
          "select SubDisp_Opset/Option_set2 1"})
        ASSERT_TRUE(p.command(QLatin1String(line))["ok"].toBool()) << line;
    ASSERT_TRUE(p.waitDump([](const QJsonObject& w) {
        return control(w, "SubDisp_Opset/Option_set2(1)")["checked"].toBool() &&
               !control(w, "SubDisp_Opset/Frame2_OP1(0)")["enabled"].toBool();
    }));

    ASSERT_TRUE(p.command(QStringLiteral("click SubDisp_Opset/Command1(0)"))["ok"].toBool());
    ASSERT_TRUE(p.waitDump([&](const QJsonObject&) { return openBoxText(p) == S(198); }));
    ASSERT_TRUE(p.command(QStringLiteral("answer Yes"))["ok"].toBool());
    ASSERT_TRUE(p.waitDump([](const QJsonObject& w) { return !w.contains("SubDisp_Opset"); }));
    w = p.dump();
    EXPECT_TRUE(visible(w, "MainDisp/Frame_Cool"));
    EXPECT_TRUE(visible(w, "MainDisp/Label58")); // the MV2 lamp
    EXPECT_FALSE(visible(w, "MainDisp/Frame_Alarm2"));
    EXPECT_FALSE(visible(w, "MainDisp/Frame_HB"));

    // Its close box is Cancel: the set stays as changed.
    ASSERT_TRUE(p.command(QStringLiteral("trigger MainDisp/mnuOpset"))["ok"].toBool());
    ASSERT_TRUE(p.waitDump([](const QJsonObject& w) { return visible(w, "SubDisp_Opset"); }));
    EXPECT_EQ(p.widget(QStringLiteral("SubDisp_Opset/Lbl_OP2"))["text"].toString(), S(185));
    ASSERT_TRUE(p.command(QStringLiteral("select SubDisp_Opset/Option_set2 0"))["ok"].toBool());
    ASSERT_TRUE(p.command(QStringLiteral("close SubDisp_Opset"))["ok"].toBool());
    ASSERT_TRUE(p.waitDump([](const QJsonObject& w) { return !w.contains("SubDisp_Opset"); }));
    EXPECT_TRUE(visible(p.dump(), "MainDisp/Frame_Cool"));
    p.command(QStringLiteral("quit"));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ProgramModelChange,
    ::testing::Values(LangCase{"en_US.UTF-8", Language::English, "subdisp_opset_en.png"},
                      LangCase{"ja_JP.UTF-8", Language::Japanese, "subdisp_opset_ja.png"}));
