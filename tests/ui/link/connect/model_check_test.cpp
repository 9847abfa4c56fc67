// The model check of the first connection: which model codes are served, the user register map of
// the user-map variant, and the retry the splash runs after a failed check.
#include "connect_fixture.h"

#include <QDir>
#include <QFile>

namespace {

// A user-map controller's special codes 1 to 17.
const QStringList kUserCodes{"001C", "FF12", "1103", "1104", "1105", "1106", "1107", "FD30", "FD32",
                             "FD34", "FD36", "FD92", "FD94", "FD96", "FE13", "FE1A", "FE1B"};

// The map file as it comes with the controller: name, decimal address, number.
QByteArray mapText(int records = 17)
{
    QByteArray t;
    for (int k = 1; k <= records; ++k)
        t += "\"SPC" + QByteArray::number(k) + "\"," +
             QByteArray::number(kUserCodes[k - 1].toInt(nullptr, 16)) + "," +
             QByteArray::number(k) + "\r\n";
    return t;
}

void writeMapFile(const QString& name, const QByteArray& text)
{
    QFile f(QDir(qmx::programFolder()).filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QStringList specialCodes(const qmx::QmxData& d)
{
    QStringList out;
    for (int k = 1; k <= 17; ++k)
        out << d.CommNoTbl2(k);
    return out;
}

struct ModelCase {
    const char* name;
    int model;
    const char* answer; // to the wrong-model box
    bool linked;
    bool infrared;
};

// Parameterised tests are listed by their case names.
void PrintTo(const ModelCase& c, std::ostream* os)
{
    *os << c.name;
}

const ModelCase kModels[] = {
    {"Standard", 1364, "", true, false},
    {"Infrared", 1605, "", true, true},
    {"WrongCancelled", 4660, "Cancel", false, false},
    {"WrongRetried", 4660, "Retry", false, false},
};

class ModelCode : public ConnectFixture, public ::testing::WithParamInterface<ModelCase> {};

} // namespace

TEST_P(ModelCode, DecidesWhetherTheLinkComesUp)
{
    const ModelCase& c = GetParam();
    startSim(QStringLiteral("--port COM1:9600:maker:0:%1").arg(c.model));
    answers({QLatin1String(c.answer)});
    d.ModelErr = true; // left by an earlier check
    const QStringList codes = specialCodes(d);

    w->checkcommunicate1();

    EXPECT_EQ(d.CommSetOK, c.linked);
    EXPECT_EQ(d.RDModel, c.infrared);
    EXPECT_EQ(specialCodes(d), codes);
    QStringList wire{"20 0000", "50 0000 8217", "61 002A"};
    if (c.linked) {
        EXPECT_TRUE(boxes().isEmpty());
        EXPECT_FALSE(d.ModelErr || d.ModelRetry);
        wire << QStringLiteral("20 0001");
    } else {
        EXPECT_EQ(texts(), QStringList({S(796)})); // no beeps before this box
        EXPECT_EQ(msgs()[0].value("buttons").toArray(), QJsonArray({"Retry", "Cancel"}));
        EXPECT_TRUE(d.ModelErr);
        EXPECT_EQ(d.OpenCount, 3);
        EXPECT_EQ(d.ModelRetry, QLatin1String(c.answer) == u"Retry");
    }
    EXPECT_EQ(sim->requests(), wire);
}

INSTANTIATE_TEST_SUITE_P(Connect, ModelCode, ::testing::ValuesIn(kModels),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct MapFileCase {
    const char* name;
    int rom;
    const char* file; // found whatever the case of its letters
};

// Parameterised tests are listed by their case names.
void PrintTo(const MapFileCase& c, std::ostream* os)
{
    *os << c.name;
}

const MapFileCase kMapFiles[] = {
    {"Rom2", 2, "DadrQMX2.DAT"},
    {"Rom1UpperCase", 1, "DADRQMX1.DAT"},
    {"Rom5LowerCase", 5, "dadrqmx2.dat"},
};

class UserMap : public ConnectFixture, public ::testing::WithParamInterface<MapFileCase> {};

} // namespace

TEST_P(UserMap, ReplacesTheSpecialCodesAndALaterSetValueWriteUsesThem)
{
    const MapFileCase& c = GetParam();
    startSim(QStringLiteral("--port COM1:9600:maker:0:1706"));
    simSet({{"rom", c.rom}, {"codes", QJsonArray::fromStringList(kUserCodes)}});
    writeMapFile(QLatin1String(c.file), mapText());

    w->checkcommunicate1();

    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_TRUE(d.CommSetOK && d.UserMapFlag);
    EXPECT_EQ(specialCodes(d), kUserCodes); // address 65298 is FF12
    EXPECT_EQ(sim->requests(),
              QStringList({"20 0000", "20 00A0", "50 0000 8217", "20 0000", "20 0001"}));

    sim->mark();
    d.ParaNo = 11;
    w->link->SV_change(QStringLiteral("0064"));
    const QStringList writes = sim->requests();
    EXPECT_TRUE(writes.contains(QStringLiteral("71 FD30 0064")));
    EXPECT_TRUE(writes.contains(QStringLiteral("72 001C 0064")));
}

INSTANTIATE_TEST_SUITE_P(Connect, UserMap, ::testing::ValuesIn(kMapFiles),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct BadMapCase {
    const char* name;
    QByteArray text; // empty: no file at all
};

// Parameterised tests are listed by their case names.
void PrintTo(const BadMapCase& c, std::ostream* os)
{
    *os << c.name;
}

const BadMapCase kBadMaps[] = {
    {"Missing", QByteArray()},
    {"Short", mapText(16)},
    {"AddressNotANumber", mapText().replace("\"SPC3\",4355", "\"SPC3\",11O3")},
};

class BadMap : public ConnectFixture, public ::testing::WithParamInterface<BadMapCase> {};

} // namespace

TEST_P(BadMap, IsToldAndTheProgramMayGoOnWithoutAMap)
{
    startSim(QStringLiteral("--port COM1:9600:maker:0:1706"));
    simSet({{"rom", 2}});
    if (!GetParam().text.isEmpty())
        writeMapFile(QStringLiteral("DadrQMX2.DAT"), GetParam().text);
    answers({QStringLiteral("OK"), QStringLiteral("No")});
    const QStringList codes = specialCodes(d);

    w->checkcommunicate1();

    EXPECT_EQ(texts(), QStringList({"<beep>", "<beep>", joined({27, 28}), S(95), "<beep>"}));
    EXPECT_EQ(msgs()[0].value("title").toString(), S(24));
    EXPECT_EQ(specialCodes(d), codes);
    EXPECT_FALSE(d.CommSetOK || w->QuitRequested());
}

INSTANTIATE_TEST_SUITE_P(Connect, BadMap, ::testing::ValuesIn(kBadMaps),
                         [](const auto& info) { return std::string(info.param.name); });

using ModelCheck = ConnectFixture;

TEST_F(ModelCheck, RomMismatchAsksRetryOrCancelAndReadsNoMap)
{
    startSim(QStringLiteral("--port COM1:9600:maker:0:1706"));
    simSet({{"rom", 0}});
    answers({QStringLiteral("Cancel")});
    w->checkcommunicate1();

    EXPECT_EQ(texts(), QStringList({"<beep>", "<beep>", S(25)}));
    EXPECT_EQ(msgs()[0].value("title").toString(), S(24));
    EXPECT_TRUE(d.ModelErr && !d.ModelRetry && !d.CommSetOK);
    EXPECT_EQ(d.OpenCount, 3);
    EXPECT_EQ(sim->requests(), QStringList({"20 0000", "20 00A0"}));
}

TEST_F(ModelCheck, RetryAfterARomMismatchConnectsOnceTheCheckPasses)
{
    startSim(QStringLiteral("--port COM1:9600:maker:0:1706"));
    simSet({{"rom", 0}});
    answers({QStringLiteral("Retry")});
    handOver();
    ASSERT_TRUE(d.ModelErr && splash->Timer1.isActive());
    EXPECT_TRUE(w->Lbl_comm[0]->text().isEmpty());

    // The operator puts things right; the next tick's check passes and the link is set up.
    simSet({{"rom", 1}, {"codes", QJsonArray::fromStringList(kUserCodes)}});
    writeMapFile(QStringLiteral("DadrQMX1.DAT"), mapText());
    splash->Timer1_Timer();

    EXPECT_TRUE(!d.ModelErr && d.CommSetOK && !splash->Timer1.isActive());
    EXPECT_EQ(commLabels().value(0), QStringLiteral("COM1"));
    EXPECT_EQ(saved("Port"), QStringLiteral("COM1"));
    EXPECT_EQ(boxes(), QStringList({S(25)}));
}

TEST_F(ModelCheck, CancelAfterARomMismatchScansWithoutProbing)
{
    startSim(QStringLiteral("--port COM1:9600:maker:0:1706"));
    simSet({{"rom", 0}});
    answers({QStringLiteral("Cancel"), QStringLiteral("OK")});
    handOver();
    sim->mark();
    splash->Timer1_Timer();

    EXPECT_FALSE(splash->Timer1.isActive());
    EXPECT_TRUE(sim->requests().isEmpty());
    EXPECT_EQ(boxes(), QStringList({S(25), joined({297, 299})}));
}

TEST_F(ModelCheck, RetryTickLeavesALinkTheOnlineButtonBroughtUp)
{
    startSim(QStringLiteral("--port COM1:9600:maker:0:4660"));
    answers({QStringLiteral("Retry")});
    handOver();
    ASSERT_TRUE(d.ModelErr && d.ModelRetry && splash->Timer1.isActive());

    // The right controller is plugged in and the Online button's first connection takes it.
    simSet({{"model", 1364}});
    w->checkcommunicate1();
    ASSERT_TRUE(d.CommSetOK && w->QMXCom->isOpen());
    sim->mark();
    splash->Timer1_Timer();

    EXPECT_FALSE(splash->Timer1.isActive());
    EXPECT_TRUE(w->QMXCom->isOpen() && d.CommSetOK && d.ComOK);
    EXPECT_TRUE(sim->requests().isEmpty());
    EXPECT_EQ(boxes(), QStringList({S(796)}));
}

TEST_F(ModelCheck, RetryTickLeavesALinkTheSettingsDialogBroughtUp)
{
    startSim(QStringLiteral("--port COM1:9600:maker:0:4660"));
    answers({QStringLiteral("Retry")});
    handOver();
    ASSERT_TRUE(d.ModelErr && d.ModelRetry && splash->Timer1.isActive());

    // OK in the dialog with a start-up file on screen: the link comes up without a model check,
    // so the retry state is still set when the next tick comes.
    d.StartDataRead = true;
    d.ManualComset = true;
    w->checkcommunicate();
    ASSERT_TRUE(d.CommSetOK && d.ModelErr && d.ModelRetry);
    sim->mark();
    splash->Timer1_Timer();

    EXPECT_FALSE(splash->Timer1.isActive());
    EXPECT_TRUE(w->QMXCom->isOpen() && d.CommSetOK);
    EXPECT_TRUE(sim->requests().isEmpty());
}

TEST_F(ModelCheck, MissingMapFileAtTheHandOverAsksNothingAboutTheSerialOption)
{
    startSim(QStringLiteral("--port COM1:9600:maker:0:1706"));
    simSet({{"rom", 2}});
    answers({QStringLiteral("OK"), QStringLiteral("No")});
    handOver();

    EXPECT_EQ(texts(), QStringList({"<beep>", "<beep>", joined({27, 28}), S(95), "<beep>"}));
    EXPECT_FALSE(d.CommSetOK || d.ComOK || splash->Timer1.isActive());
    EXPECT_TRUE(w->mnuFile->isEnabled() && w->mnuSet->isEnabled());
    EXPECT_EQ(sim->requests(), QStringList({"20 0000", "20 00A0"}));
}

TEST_F(ModelCheck, MissingMapFileOnARetryEndsTheRetryWithoutTheQuestion)
{
    startSim(QStringLiteral("--port COM1:9600:maker:0:1706"));
    simSet({{"rom", 0}});
    answers({QStringLiteral("Retry"), QStringLiteral("OK"), QStringLiteral("No")});
    handOver();
    ASSERT_TRUE(d.ModelErr && splash->Timer1.isActive());

    // The ROM number is put right, but the map file for it is not there.
    simSet({{"rom", 2}});
    splash->Timer1_Timer();

    EXPECT_EQ(boxes(), QStringList({S(25), joined({27, 28}), S(95)}));
    EXPECT_FALSE(d.ModelErr || d.CommSetOK || splash->Timer1.isActive());
}
