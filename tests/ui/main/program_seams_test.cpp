// The real program, started in private folders and driven through its seams: what the operator
// sees at start, the single-instance rule, the exit, set-data files, the command line, help and
// the version box.
#include "program_driver.h"

#include "model/qmx_data.h"
#include "model/string_table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>

#include <sys/stat.h>

using qmx::Language;
using qmx::LoadResString;

namespace {

struct Caption {
    const char* path;
    int id;
};

// Every caption the load step sets, by control.
std::vector<Caption> captionTable()
{
    std::vector<Caption> t = {
        {"MainDisp", 1},
        {"MainDisp/mnuFile", 3},
        {"MainDisp/mnuUpload", 4},
        {"MainDisp/mnuDownload", 5},
        {"MainDisp/mnuSave", 6},
        {"MainDisp/mnuLoad", 7},
        {"MainDisp/mnudata", 787},
        {"MainDisp/mnuexport", 788},
        {"MainDisp/mnuFilePrint", 33},
        {"MainDisp/mnuExit", 8},
        {"MainDisp/mnuOnline", 9},
        {"MainDisp/mnuTrace", 11},
        {"MainDisp/mnuSet", 12},
        {"MainDisp/mnuComset", 13},
        {"MainDisp/mnuOpset", 21},
        {"MainDisp/mnuHelp", 15},
        {"MainDisp/mnuHelp2", 16},
        {"MainDisp/mnuVer", 17},
        {"MainDisp/Frame1", 306},
        {"MainDisp/Frame2", 263},
        {"MainDisp/Frame8", 29},
        {"MainDisp/Text_readmsg1", 261},
        {"MainDisp/Command1", 30},
        {"MainDisp/Text_readmsg4", 261},
        {"MainDisp/Command2", 30},
        {"MainDisp/Text_readmsg2", 451},
        {"MainDisp/Text_readmsg3", 452},
        {"MainDisp/Text_readmsg5", 452},
        {"MainDisp/Cmd_ONOFF", 74},
        {"MainDisp/Label2", 75},
        {"MainDisp/Label3(0)", 101},
        {"MainDisp/Label_Min", 401},
        {"MainDisp/lbl_OUT", 338},
        {"MainDisp/Frame_Alarm1", 323},
        {"MainDisp/Frame_Alarm2", 324},
        {"MainDisp/Frame_HB", 325},
        {"MainDisp/Frame_Heat", 49},
        {"MainDisp/Frame_Cool", 50},
        {"MainDisp/Frame_Other", 45},
        {"MainDisp/Frame_Other2", 801},
    };
    static std::vector<std::string> names; // keeps the generated paths alive
    auto add = [&t](const QString& path, int id) {
        names.push_back(path.toStdString());
        t.push_back({names.back().c_str(), id});
    };
    names.reserve(400);
    auto arr = [&add](const char* name, std::initializer_list<int> ids) {
        int i = 0;
        for (int id : ids)
            add(QStringLiteral("MainDisp/%1(%2)").arg(QLatin1String(name)).arg(i++), id);
    };
    arr("Lbl_com", {264, 265, 266, 267, 268, 269});
    arr("Cmd_True", {323, 324, 325, 49, 50, 45, 801});
    arr("Label_Alm1", {109, 128, 130, 137, 126});
    arr("Label_Alm2", {110, 129, 131, 138, 127});
    arr("Label_Alm_HB", {111, 143});
    arr("Label_pid", {151, 103, 105, 106, 142, 107, 119, 120, 121, 141, 149});
    arr("Label_cool", {122, 104, 108, 123, 124, 114, 125});
    arr("Label_oth", {112, 113, 139, 115, 116, 117, 118, 132, 133, 140, 134, 144,
                      145, 146, 147, 135, 148, 170, 171, 172, 173, 174, 175, 802});
    for (int i = 0; i <= 17; ++i)
        add(QStringLiteral("MainDisp/Label_CF(%1)").arg(i), 215);
    for (int i = 0; i <= 1; ++i)
        add(QStringLiteral("MainDisp/Label_UD(%1)").arg(i), 335);
    for (int i = 0; i <= 6; ++i)
        add(QStringLiteral("MainDisp/Label1(%1)").arg(i), 374);
    return t;
}

void expectFreshWindow(ProgramRun& p, Language lang)
{
    const QJsonObject w = p.dump();
    for (const Caption& c : captionTable())
        EXPECT_EQ(
            w.value(QLatin1String(c.path)).toObject().value(QStringLiteral("text")).toString(),
            LoadResString(c.id, lang))
            << c.path;

    const QJsonObject tab1 = w.value(QStringLiteral("MainDisp/SSTab1")).toObject();
    const QJsonObject tab2 = w.value(QStringLiteral("MainDisp/SSTab2")).toObject();
    EXPECT_EQ(tab1.value(QStringLiteral("tabs")).toArray(),
              QJsonArray({LoadResString(41, lang), LoadResString(42, lang)}));
    EXPECT_EQ(tab2.value(QStringLiteral("tabs")).toArray(),
              QJsonArray({LoadResString(43, lang), LoadResString(44, lang), LoadResString(45, lang),
                          LoadResString(801, lang)}));
    EXPECT_EQ(tab1.value(QStringLiteral("current")).toInt(), 0);
    EXPECT_EQ(tab2.value(QStringLiteral("current")).toInt(), 0);

    // Only the main set value and the infrared emissivity can be edited.
    for (int i = 1; i <= 56; ++i) {
        const QJsonValue b = w.value(QStringLiteral("MainDisp/Cmd_set(%1)").arg(i));
        if (i == 37) {
            EXPECT_TRUE(b.isUndefined());
            continue;
        }
        ASSERT_TRUE(b.isObject()) << i;
        EXPECT_EQ(b.toObject().value(QStringLiteral("enabled")).toBool(), i == 1 || i == 56) << i;
    }
    const QJsonArray panels = w.value(QStringLiteral("MainDisp/StatusBar1"))
                                  .toObject()
                                  .value(QStringLiteral("panels"))
                                  .toArray();
    ASSERT_EQ(panels.size(), 4);
    EXPECT_EQ(panels.at(2).toString(), LoadResString(91, lang));
    EXPECT_EQ(w.value(QStringLiteral("MainDisp/Label2"))
                  .toObject()
                  .value(QStringLiteral("bg"))
                  .toString(),
              QStringLiteral("#FFFFFF"));
    EXPECT_EQ(w.value(QStringLiteral("MainDisp/Label4"))
                  .toObject()
                  .value(QStringLiteral("bg"))
                  .toString(),
              QStringLiteral("#FFFFFF"));
    EXPECT_EQ(w.value(QStringLiteral("MainDisp/Label4"))
                  .toObject()
                  .value(QStringLiteral("text"))
                  .toString(),
              QString());
    // The splash paces the start: the main window is loaded hidden and shown at its third tick.
    EXPECT_FALSE(
        w.value(QStringLiteral("MainDisp")).toObject().value(QStringLiteral("visible")).toBool());
    EXPECT_TRUE(w.value(QStringLiteral("OpeningDisp"))
                    .toObject()
                    .value(QStringLiteral("visible"))
                    .toBool());
    EXPECT_TRUE(w.value(QStringLiteral("MainDisp/Velder_ChartCtl1"))
                    .toObject()
                    .contains(QStringLiteral("Pv0Caption")));
}

QStringList fileLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = f.readAll();
    if (!all.endsWith("\r\n"))
        return {QStringLiteral("<no CR LF at the end>")};
    QStringList lines = QString::fromLatin1(all).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

// The 63 lines a save of the built-in defaults writes before any link.
QStringList defaultFileLines()
{
    QStringList l{QStringLiteral("\"\""), QStringLiteral("0")};
    for (int i = 0; i < 6; ++i)
        l << QStringLiteral("0");
    for (int item = 11; item <= 65; ++item)
        l << QString::number(qmx::defaultValue(item));
    return l;
}

void writeLines(const QString& path, const QStringList& lines)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const QString& l : lines)
        f.write(l.toLatin1() + "\r\n");
}

bool triggerAndWaitGone(ProgramRun& p, const char* action)
{
    EXPECT_TRUE(p.command(QStringLiteral("trigger MainDisp/") + QLatin1String(action))
                    .value(QStringLiteral("ok"))
                    .toBool());
    return p.waitFinished();
}

} // namespace

TEST(ProgramStart, FreshStartShowsEveryCaptionInEnglish)
{
    ProgramRun p(QStringLiteral("en_US.UTF-8"));
    p.start();
    ASSERT_TRUE(p.waitReady());
    expectFreshWindow(p, Language::English);
    EXPECT_TRUE(p.msgLog().isEmpty());
    // Three seconds on, the splash hands over to the main window.
    EXPECT_TRUE(p.waitDump([](const QJsonObject& w) {
        return w.value(QStringLiteral("MainDisp"))
            .toObject()
            .value(QStringLiteral("visible"))
            .toBool();
    }));
    // The working folders are made at start.
    for (const char* sub : {"Logging", "Setdata", "csvdata"})
        EXPECT_TRUE(QDir(p.programFolder() + QLatin1Char('/') + QLatin1String(sub)).exists())
            << sub;
}

TEST(ProgramStart, FreshStartShowsEveryCaptionInJapanese)
{
    ProgramRun p(QStringLiteral("ja_JP.UTF-8"));
    p.start();
    ASSERT_TRUE(p.waitReady());
    expectFreshWindow(p, Language::Japanese);
}

TEST(ProgramStart, SecondInstanceIsRefusedAndTheFirstRunsOn)
{
    ProgramRun first;
    first.start();
    ASSERT_TRUE(first.waitReady());

    ProgramRun second(first, QStringLiteral("en_US.UTF-8"));
    second.setAnswers({QStringLiteral("OK")});
    second.start({}, QString(), false);
    ASSERT_TRUE(second.waitFinished());
    const QList<QJsonObject> log = second.msgLog();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0].value(QStringLiteral("text")).toString(),
              LoadResString(56, Language::English));
    EXPECT_EQ(log[0].value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
    EXPECT_EQ(log[0].value(QStringLiteral("title")).toString(), QStringLiteral("DFX-QMX07K"));
    EXPECT_EQ(log[0].value(QStringLiteral("buttons")).toArray(),
              QJsonArray({QStringLiteral("OK")}));
    EXPECT_EQ(log[1], QJsonObject({{QStringLiteral("beep"), 1}}));

    EXPECT_TRUE(first.running());
    EXPECT_TRUE(first.dump().contains(QStringLiteral("MainDisp/SSTab1")));
}

TEST(ProgramExit, NoKeepsItRunningWithThePagesSaved)
{
    ProgramRun p;
    p.setAnswers({QStringLiteral("No")});
    p.start();
    ASSERT_TRUE(p.waitReady());
    p.command(QStringLiteral("settab MainDisp/SSTab1 1"));
    p.command(QStringLiteral("settab MainDisp/SSTab2 3"));
    p.command(QStringLiteral("trigger MainDisp/mnuExit"));
    ASSERT_TRUE(p.waitLog(2));
    const QList<QJsonObject> log = p.msgLog();
    EXPECT_EQ(log[0].value(QStringLiteral("text")).toString(),
              LoadResString(95, Language::English));
    EXPECT_EQ(log[0].value(QStringLiteral("icon")).toString(), QStringLiteral("question"));
    EXPECT_EQ(log[0].value(QStringLiteral("title")).toString(),
              LoadResString(1, Language::English));
    EXPECT_EQ(log[0].value(QStringLiteral("buttons")).toArray(),
              QJsonArray({QStringLiteral("Yes"), QStringLiteral("No")}));
    EXPECT_EQ(log[1], QJsonObject({{QStringLiteral("beep"), 1}}));
    EXPECT_TRUE(p.running());
    const auto s = p.settings();
    EXPECT_EQ(s->value(QStringLiteral("SSTab1")).toString(), QStringLiteral("1"));
    EXPECT_EQ(s->value(QStringLiteral("SSTab2")).toString(), QStringLiteral("3"));
    EXPECT_FALSE(s->contains(QStringLiteral("Port")));
    EXPECT_FALSE(s->contains(QStringLiteral("strAdr"))); // no link confirmed an instrument number

    // The saved pages come back at the next start.
    p.command(QStringLiteral("quit"));
    ASSERT_TRUE(p.waitFinished());
    ProgramRun again(p, QStringLiteral("en_US.UTF-8"));
    again.start();
    ASSERT_TRUE(again.waitReady());
    EXPECT_EQ(
        again.widget(QStringLiteral("MainDisp/SSTab1")).value(QStringLiteral("current")).toInt(),
        1);
    EXPECT_EQ(
        again.widget(QStringLiteral("MainDisp/SSTab2")).value(QStringLiteral("current")).toInt(),
        3);
}

TEST(ProgramExit, YesWritesBackTheSavedSettingsWithoutANoticeInTheMakersProtocol)
{
    ProgramRun p;
    {
        QDir().mkpath(QFileInfo(p.iniPath()).path());
        QSettings s(p.iniPath(), QSettings::IniFormat);
        s.setValue(QStringLiteral("Port"), QStringLiteral("COM3"));
        s.setValue(QStringLiteral("Speed"), QStringLiteral("19200"));
        s.setValue(QStringLiteral("Databit"), QStringLiteral("8"));
        s.setValue(QStringLiteral("Stopbit"), QStringLiteral("2"));
        s.setValue(QStringLiteral("Parity"), QStringLiteral("NONE"));
        s.setValue(QStringLiteral("strAdr"), QStringLiteral("07"));
        s.setValue(QStringLiteral("Protocol"), QStringLiteral("0"));
    }
    p.setAnswers({QStringLiteral("Yes")});
    p.start();
    ASSERT_TRUE(p.waitReady());
    ASSERT_TRUE(triggerAndWaitGone(p, "mnuExit"));
    EXPECT_EQ(p.exitCode(), 0);
    const QList<QJsonObject> log = p.msgLog();
    ASSERT_EQ(log.size(), 1); // the question only
    EXPECT_EQ(log[0].value(QStringLiteral("answer")).toString(), QStringLiteral("Yes"));
    const auto s = p.settings();
    EXPECT_EQ(s->value(QStringLiteral("Port")).toString(), QStringLiteral("COM3"));
    EXPECT_EQ(s->value(QStringLiteral("Speed")).toString(), QStringLiteral("19200"));
    EXPECT_EQ(s->value(QStringLiteral("Databit")).toString(), QStringLiteral("8"));
    EXPECT_EQ(s->value(QStringLiteral("Stopbit")).toString(), QStringLiteral("2"));
    EXPECT_EQ(s->value(QStringLiteral("Parity")).toString(), QStringLiteral("NONE"));
    EXPECT_EQ(s->value(QStringLiteral("strAdr")).toString(), QStringLiteral("07"));
    EXPECT_EQ(s->value(QStringLiteral("Protocol")).toString(), QStringLiteral("0"));
    EXPECT_EQ(s->value(QStringLiteral("SSTab1")).toString(), QStringLiteral("0"));
}

TEST(ProgramExit, YesWithAModbusProtocolShowsThePowerCycleNotice)
{
    for (const char* protocol : {"1", "2"}) {
        ProgramRun p;
        {
            QDir().mkpath(QFileInfo(p.iniPath()).path());
            QSettings s(p.iniPath(), QSettings::IniFormat);
            s.setValue(QStringLiteral("Protocol"), QLatin1String(protocol));
        }
        p.setAnswers({QStringLiteral("Yes"), QStringLiteral("OK")});
        p.start();
        ASSERT_TRUE(p.waitReady());
        ASSERT_TRUE(triggerAndWaitGone(p, "mnuExit"));
        const QList<QJsonObject> log = p.msgLog();
        ASSERT_EQ(log.size(), 2) << protocol;
        const QString notice = LoadResString(354, Language::English) + QLatin1Char('\n') +
                               LoadResString(355, Language::English) + QLatin1Char('\n') +
                               LoadResString(356, Language::English);
        EXPECT_EQ(log[1].value(QStringLiteral("text")).toString(), notice);
        EXPECT_EQ(log[1].value(QStringLiteral("buttons")).toArray(),
                  QJsonArray({QStringLiteral("OK")}));
        EXPECT_EQ(log[1].value(QStringLiteral("title")).toString(), QStringLiteral("DFX-QMX07K"));
        EXPECT_EQ(p.settings()->value(QStringLiteral("Protocol")).toString(),
                  QLatin1String(protocol));
        // Nothing was saved for the line, so the library's start settings are the defaults.
        EXPECT_EQ(p.settings()->value(QStringLiteral("Port")).toString(), QStringLiteral("COM1"));
        EXPECT_EQ(p.settings()->value(QStringLiteral("Parity")).toString(), QStringLiteral("EVEN"));
    }
}

TEST(ProgramExit, SettingsThatAreNotNumbersOrOutOfRangeFallBackToTheirDefaults)
{
    ProgramRun p;
    {
        QDir().mkpath(QFileInfo(p.iniPath()).path());
        QSettings s(p.iniPath(), QSettings::IniFormat);
        s.setValue(QStringLiteral("Protocol"), QStringLiteral("7"));
        s.setValue(QStringLiteral("SSTab1"), QStringLiteral("abc"));
        s.setValue(QStringLiteral("SSTab2"), QStringLiteral("9"));
    }
    p.setAnswers({QStringLiteral("Yes")});
    p.start();
    ASSERT_TRUE(p.waitReady());
    EXPECT_EQ(p.widget(QStringLiteral("MainDisp/SSTab1")).value(QStringLiteral("current")).toInt(),
              0);
    EXPECT_EQ(p.widget(QStringLiteral("MainDisp/SSTab2")).value(QStringLiteral("current")).toInt(),
              0);
    ASSERT_TRUE(triggerAndWaitGone(p, "mnuExit"));
    EXPECT_EQ(p.msgLog().size(), 1); // protocol 0 after the fallback: no notice
    EXPECT_EQ(p.settings()->value(QStringLiteral("Protocol")).toString(), QStringLiteral("0"));
}

TEST(ProgramFiles, SaveOfAFreshStartWritesTheExact63Lines)
{
    ProgramRun p;
    p.start();
    ASSERT_TRUE(p.waitReady());
    const QString path = p.programFolder() + QStringLiteral("/Setdata/fresh.dat");
    p.setAnswers({path});
    p.command(QStringLiteral("trigger MainDisp/mnuSave"));
    ASSERT_TRUE(p.waitLog(2));
    const QList<QJsonObject> log = p.msgLog();
    EXPECT_EQ(log[0], QJsonObject({{QStringLiteral("beep"), 1}}));
    EXPECT_EQ(log[1].value(QStringLiteral("box")).toString(), QStringLiteral("file"));
    EXPECT_EQ(log[1].value(QStringLiteral("mode")).toString(), QStringLiteral("save"));
    EXPECT_EQ(log[1].value(QStringLiteral("dir")).toString(),
              p.programFolder() + QStringLiteral("/Setdata"));
    EXPECT_EQ(log[1].value(QStringLiteral("filter")).toString(),
              QStringLiteral("*.dat(data file)|*.dat"));
    EXPECT_EQ(log[1].value(QStringLiteral("answer")).toString(), path);
    ASSERT_TRUE(p.waitDump([&](const QJsonObject&) { return QFile::exists(path); }));
    const QStringList lines = fileLines(path);
    EXPECT_EQ(lines.size(), 63);
    EXPECT_EQ(lines, defaultFileLines());
    // The progress bars are put away again.
    EXPECT_FALSE(p.widget(QStringLiteral("MainDisp/ProgressBar1"))
                     .value(QStringLiteral("visible"))
                     .toBool());
}

TEST(ProgramFiles, SavingOverAFileAsksFirst)
{
    ProgramRun p;
    p.start();
    ASSERT_TRUE(p.waitReady());
    const QString path = p.programFolder() + QStringLiteral("/Setdata/old.dat");
    writeLines(path, {QStringLiteral("keep me")});

    // No: string 508, and the old file stays.
    p.setAnswers({path, QStringLiteral("No"), QStringLiteral("OK")});
    p.command(QStringLiteral("trigger MainDisp/mnuSave"));
    ASSERT_TRUE(p.waitLog(4));
    QList<QJsonObject> log = p.msgLog();
    EXPECT_EQ(log[2].value(QStringLiteral("text")).toString(),
              LoadResString(507, Language::English));
    EXPECT_EQ(log[2].value(QStringLiteral("icon")).toString(), QStringLiteral("question"));
    EXPECT_EQ(log[2].value(QStringLiteral("title")).toString(), QStringLiteral("DFX-QMX07K"));
    EXPECT_EQ(log[3].value(QStringLiteral("text")).toString(),
              LoadResString(508, Language::English));
    EXPECT_EQ(fileLines(path), QStringList{QStringLiteral("keep me")});

    // Yes: replaced. A name without its extension gets ".dat".
    p.addAnswers({path.chopped(4), QStringLiteral("Yes")});
    p.command(QStringLiteral("trigger MainDisp/mnuSave"));
    ASSERT_TRUE(p.waitLog(7));
    ASSERT_TRUE(p.waitDump([&](const QJsonObject&) { return fileLines(path).size() == 63; }));
    EXPECT_EQ(fileLines(path), defaultFileLines());
    EXPECT_EQ(p.msgLog()[5].value(QStringLiteral("answer")).toString(), path);
}

TEST(ProgramFiles, ACommandLineFileIsLoadedAtStart)
{
    ProgramRun p;
    QStringList lines{QStringLiteral("\"QMX-400\""), QStringLiteral("0"), QStringLiteral("1"),
                      QStringLiteral("0"),           QStringLiteral("3"), QStringLiteral("1"),
                      QStringLiteral("2"),           QStringLiteral("0")};
    for (int item = 11; item <= 65; ++item)
        lines << QString::number(item * 7 - 300);
    QDir().mkpath(p.root() + QStringLiteral("/sets"));
    writeLines(p.root() + QStringLiteral("/sets/start.dat"), lines);

    // Relative to the folder the program was started from.
    p.start({QStringLiteral("sets/start.dat")}, p.root());
    ASSERT_TRUE(p.waitReady());
    EXPECT_TRUE(p.msgLog().isEmpty());
    const QString saved = p.root() + QStringLiteral("/saved.dat");
    p.setAnswers({saved});
    p.command(QStringLiteral("trigger MainDisp/mnuSave"));
    ASSERT_TRUE(p.waitDump([&](const QJsonObject&) { return fileLines(saved).size() == 63; }));
    const QStringList back = fileLines(saved);
    // The marker follows the model met online; everything else is the loaded file.
    EXPECT_EQ(back.mid(1), lines.mid(1));
}

TEST(ProgramFiles, CommandLineFilesThatAreMissingBadOrNotTaken)
{
    struct Case {
        const char* name;
        const char* arg;
        QStringList content; // empty: no file is written
        int message;         // 0: none
    };
    QStringList bad{QStringLiteral("\"QMX-400\""), QStringLiteral("0"),
                    QStringLiteral("1")}; // ends early
    QStringList good{QStringLiteral("\"QMX-400\"")};
    for (int i = 0; i < 62; ++i)
        good << QStringLiteral("1");
    const Case cases[] = {
        {"missing", "gone.dat", {}, 39},
        {"malformed", "bad.dat", bad, 27},
        {"upper-case extension", "UP.DAT", good, 0},
        {"other extension", "set.txt", good, 0},
    };
    for (const Case& c : cases) {
        ProgramRun p;
        if (!c.content.isEmpty())
            writeLines(p.root() + QLatin1Char('/') + QLatin1String(c.arg), c.content);
        p.setAnswers(c.message ? QStringList{QStringLiteral("OK")} : QStringList{});
        p.start({QLatin1String(c.arg)}, p.root());
        ASSERT_TRUE(p.waitReady()) << c.name;
        const QList<QJsonObject> log = p.msgLog();
        if (c.message) {
            ASSERT_EQ(log.size(), 1) << c.name;
            EXPECT_EQ(log[0].value(QStringLiteral("text")).toString(),
                      LoadResString(c.message, Language::English))
                << c.name;
            EXPECT_EQ(log[0].value(QStringLiteral("title")).toString(),
                      QStringLiteral("DFX-QMX07K"))
                << c.name;
            EXPECT_EQ(log[0].value(QStringLiteral("buttons")).toArray(),
                      QJsonArray({QStringLiteral("OK")}))
                << c.name;
            // A refused file says in the box's detail which file and where it ends.
            const QString detail = log[0].value(QStringLiteral("detail")).toString();
            EXPECT_TRUE(c.message != 27 ||
                        (detail.contains(p.root() + QLatin1Char('/') + QLatin1String(c.arg)) &&
                         detail.contains(QStringLiteral("line %1").arg(c.content.size()))))
                << detail.toStdString();
        } else {
            EXPECT_TRUE(log.isEmpty()) << c.name;
        }
        // The defaults, and nothing of a bad file.
        const QString saved = p.root() + QStringLiteral("/saved.dat");
        p.addAnswers({saved});
        p.command(QStringLiteral("trigger MainDisp/mnuSave"));
        ASSERT_TRUE(p.waitDump([&](const QJsonObject&) { return fileLines(saved).size() == 63; }))
            << c.name;
        EXPECT_EQ(fileLines(saved), defaultFileLines()) << c.name;
    }
}

TEST(ProgramHelp, HelpOpensTheFileOfTheLanguage)
{
    for (const auto& [lang, suffix] : {std::pair{"en_US.UTF-8", "DFX-QMX07K_E.html"},
                                       std::pair{"ja_JP.UTF-8", "DFX-QMX07K_J.html"}}) {
        ProgramRun p{QString::fromLatin1(lang)};
        p.start();
        ASSERT_TRUE(p.waitReady());
        p.command(QStringLiteral("trigger MainDisp/mnuHelp2"));
        ASSERT_TRUE(p.waitDump(
            [](const QJsonObject& w) { return w.contains(QStringLiteral("HelpWindow/Browser")); }));
        const QJsonObject w = p.dump();
        const QString shown = w.value(QStringLiteral("HelpWindow/Browser"))
                                  .toObject()
                                  .value(QStringLiteral("text"))
                                  .toString();
        EXPECT_TRUE(shown.endsWith(QLatin1Char('/') + QLatin1String(suffix)))
            << shown.toStdString();
        EXPECT_TRUE(QFile::exists(shown));
        EXPECT_TRUE(w.value(QStringLiteral("HelpWindow"))
                        .toObject()
                        .value(QStringLiteral("visible"))
                        .toBool());
    }
}

TEST(ProgramHelp, TheVersionBoxShowsTheVersion)
{
    ProgramRun p;
    p.start();
    ASSERT_TRUE(p.waitReady());
    p.command(QStringLiteral("trigger MainDisp/mnuVer"));
    ASSERT_TRUE(p.waitDump(
        [](const QJsonObject& w) { return w.contains(QStringLiteral("SubDisp_About/Label4")); }));
    QJsonObject w = p.dump();
    EXPECT_EQ(w.value(QStringLiteral("SubDisp_About/Label4"))
                  .toObject()
                  .value(QStringLiteral("text"))
                  .toString(),
              QStringLiteral("3.0.0"));
    EXPECT_EQ(w.value(QStringLiteral("SubDisp_About/Label1"))
                  .toObject()
                  .value(QStringLiteral("text"))
                  .toString(),
              QStringLiteral("DFX-QMX07K"));
    EXPECT_EQ(w.value(QStringLiteral("SubDisp_About"))
                  .toObject()
                  .value(QStringLiteral("text"))
                  .toString(),
              LoadResString(256, Language::English));
    EXPECT_EQ(w.value(QStringLiteral("SubDisp_About/Command1"))
                  .toObject()
                  .value(QStringLiteral("text"))
                  .toString(),
              QStringLiteral("OK"));
    p.command(QStringLiteral("click SubDisp_About/Command1"));
    ASSERT_TRUE(p.waitDump(
        [](const QJsonObject& w) { return !w.contains(QStringLiteral("SubDisp_About")); }));
    const QList<QJsonObject> log = p.msgLog();
    EXPECT_EQ(log.size(), 2); // a beep to open, a beep to close
}

TEST(ProgramSeams, AutomationAnswersABoxThatWaitsForAPersonAndRefusesUnknownPaths)
{
    ProgramRun p;
    p.start();
    ASSERT_TRUE(p.waitReady());
    EXPECT_FALSE(p.command(QStringLiteral("click MainDisp/NoSuchButton"))
                     .value(QStringLiteral("ok"))
                     .toBool());
    EXPECT_FALSE(p.command(QStringLiteral("trigger MainDisp/mnuNothing"))
                     .value(QStringLiteral("ok"))
                     .toBool());
    EXPECT_FALSE(p.command(QStringLiteral("answer Yes")).value(QStringLiteral("ok")).toBool());

    // No scripted answers: the exit question waits, and is answered from outside.
    p.command(QStringLiteral("trigger MainDisp/mnuExit"));
    ASSERT_TRUE(p.waitDump([&](const QJsonObject&) {
        return !p.command(QStringLiteral("dump")).value(QStringLiteral("open_box")).isUndefined();
    }));
    EXPECT_EQ(p.command(QStringLiteral("dump"))
                  .value(QStringLiteral("open_box"))
                  .toObject()
                  .value(QStringLiteral("text"))
                  .toString(),
              LoadResString(95, Language::English));
    EXPECT_TRUE(p.command(QStringLiteral("answer No")).value(QStringLiteral("ok")).toBool());
    ASSERT_TRUE(p.waitLog(2));
    EXPECT_EQ(p.msgLog()[0].value(QStringLiteral("answer")).toString(), QStringLiteral("No"));
    EXPECT_TRUE(p.running());

    // The group buttons through the automation: the frame and its set buttons follow.
    p.command(QStringLiteral("click MainDisp/Cmd_True(6)"));
    ASSERT_TRUE(p.waitDump([](const QJsonObject& w) {
        return !w.value(QStringLiteral("MainDisp/Frame_Other2"))
                    .toObject()
                    .value(QStringLiteral("enabled"))
                    .toBool();
    }));
    EXPECT_FALSE(
        p.widget(QStringLiteral("MainDisp/Cmd_set(56)")).value(QStringLiteral("enabled")).toBool());

    EXPECT_TRUE(p.command(QStringLiteral("quit")).value(QStringLiteral("ok")).toBool());
    ASSERT_TRUE(p.waitFinished());
}

TEST(ProgramFiles, ANamedPipeOnTheCommandLineIsRefusedAndTheProgramStarts)
{
    ProgramRun p;
    ASSERT_EQ(::mkfifo(QFile::encodeName(p.root() + QStringLiteral("/pipe.dat")).constData(), 0600),
              0);
    p.setAnswers({QStringLiteral("OK")});
    // Opened, the pipe would hold the program before its window for ever.
    p.start({QStringLiteral("pipe.dat")}, p.root());
    ASSERT_TRUE(p.waitReady());
    const QList<QJsonObject> log = p.msgLog();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0].value(QStringLiteral("text")).toString(),
              LoadResString(27, Language::English));
    p.command(QStringLiteral("quit"));
    EXPECT_TRUE(p.waitFinished());
}

TEST(ProgramFiles, NamedPipesAsThePenFilesAreRefusedAtStartAndAtAPenWrite)
{
    ProgramRun p;
    ASSERT_TRUE(QDir().mkpath(p.programFolder()));
    for (int n = 1; n <= 4; ++n) {
        const QString pipe = p.programFolder() + QStringLiteral("/QMX%1.txt").arg(n);
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    }
    // Opened, a pipe would hold the program before its window, or later at the next pen write, for
    // ever. The pen-file box comes once each time.
    p.setAnswers({QStringLiteral("OK"), QStringLiteral("OK")});
    p.start();
    ASSERT_TRUE(p.waitReady());
    EXPECT_EQ(p.msgLog().size(), 1);
    p.command(QStringLiteral("click MainDisp/Velder_ChartCtl1/optShort")); // writes every pen file
    ASSERT_TRUE(p.waitLog(2));
    for (const QJsonObject& box : p.msgLog())
        EXPECT_TRUE(
            box.value(QStringLiteral("text")).toString().contains(QStringLiteral("QMX1.txt")));
    p.command(QStringLiteral("quit"));
    EXPECT_TRUE(p.waitFinished());
    EXPECT_EQ(p.msgLog().size(), 2);
}
