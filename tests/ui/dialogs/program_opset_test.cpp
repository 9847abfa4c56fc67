// The model change in the real program, in English and in Japanese, driven through the automation
// seam: the modal dialog is reached, pictured, worked, and left by Change and by its close box.
#include "program_driver.h"

#include "model/string_table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

namespace {

class ProgramModelChange : public ::testing::TestWithParam<const char*> {};

QJsonValue field(const QJsonObject& w, const char* path, const char* name = "visible")
{
    return w.value(QLatin1String(path)).toObject().value(QLatin1String(name));
}

} // namespace

TEST_P(ProgramModelChange, TheDialogIsReachedWorkedAndClosedThroughTheAutomation)
{
    const QString lang = QString::fromLatin1(GetParam());
    const auto language =
        lang.startsWith(QLatin1String("ja")) ? qmx::Language::Japanese : qmx::Language::English;
    auto S = [&](int id) { return qmx::LoadResString(id, language); };
    ProgramRun p(lang);
    // A set-data file with alarm 2 and a 3-phase 20 A heater-burnout alarm.
    QByteArray text = "\"QMX-400\"\r\n0\r\n1\r\n0\r\n3\r\n0\r\n0\r\n0\r\n";
    for (int item = 11; item <= 65; ++item)
        text += QByteArray::number(item == 13   ? 10
                                   : item == 15 ? 200
                                   : item == 16 ? 50
                                                : item == 36) +
                "\r\n";
    QFile f(p.root() + QStringLiteral("/options.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
    f.close();
    // No controller answers at start: the port scan is declined and reports nothing found.
    p.setAnswers({QStringLiteral("No"), QStringLiteral("OK")});
    p.start({f.fileName()});
    ASSERT_TRUE(p.waitReady());
    ASSERT_TRUE(p.waitLog(2, 20000));
    auto run = [&p](const char* line) { return p.command(QLatin1String(line))["ok"].toBool(); };
    auto open = [&p](bool shown) {
        return p.waitDump(
            [shown](const QJsonObject& w) { return field(w, "SubDisp_Opset").toBool() == shown; });
    };

    ASSERT_TRUE(run("trigger MainDisp/mnuOpset") && open(true));
    QJsonObject w = p.dump();
    EXPECT_EQ(field(w, "SubDisp_Opset", "text").toString(), S(271));
    EXPECT_EQ(field(w, "SubDisp_Opset/Lbl_OP3", "text").toString(), S(188));
    EXPECT_TRUE(field(w, "SubDisp_Opset/Option_set1(1)", "checked").toBool());
    const QString shots = QStringLiteral(QMX_BINARY_DIR "/shots");
    QDir().mkpath(shots);
    const QString shot = shots + QStringLiteral("/subdisp_opset_") + lang.left(2) + ".png";
    ASSERT_TRUE(p.command(QStringLiteral("grab SubDisp_Opset ") + shot)["ok"].toBool());
    EXPECT_FALSE(QImage(shot).isNull());

    // Heating/cooling instead of alarm 2 and heater burnout, then Change, answered Yes.
    ASSERT_TRUE(run("select SubDisp_Opset/Option_set1 0") &&
                run("select SubDisp_Opset/Option_set3 0") &&
                run("select SubDisp_Opset/Option_set2 1"));
    ASSERT_TRUE(p.waitDump([](const QJsonObject& w) {
        return !field(w, "SubDisp_Opset/Frame2_OP1(0)", "enabled").toBool();
    }));
    p.addAnswers({QStringLiteral("Yes")});
    ASSERT_TRUE(run("click SubDisp_Opset/Command1(0)") && open(false));
    const QList<QJsonObject> log = p.msgLog();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](auto& o) { return o["text"] == S(198); }));
    w = p.dump();
    EXPECT_TRUE(field(w, "MainDisp/Frame_Cool").toBool());
    EXPECT_FALSE(field(w, "MainDisp/Frame_Alarm2").toBool());

    // The next opening shows the changed set; its close box is Cancel.
    ASSERT_TRUE(run("trigger MainDisp/mnuOpset") && open(true));
    EXPECT_EQ(p.widget(QStringLiteral("SubDisp_Opset/Lbl_OP2"))["text"].toString(), S(185));
    ASSERT_TRUE(run("select SubDisp_Opset/Option_set2 0") && run("close SubDisp_Opset") &&
                open(false));
    EXPECT_TRUE(field(p.dump(), "MainDisp/Frame_Cool").toBool());
    run("quit");
}

INSTANTIATE_TEST_SUITE_P(Languages, ProgramModelChange,
                         ::testing::Values("en_US.UTF-8", "ja_JP.UTF-8"));
