// The first connection as the splash hands over: with the saved settings, and what follows when
// they find no controller.
#include "connect_fixture.h"

#include <QAction>

namespace {

struct SavedLinkCase {
    const char* name;
    const char* controller; // the simulator's port
    QStringList settings;   // port, speed, data bits, protocol, instrument number
    const char* firstRead;  // then the key, the model, the probe and the set-up's key follow
    QStringList labels;     // Lbl_comm(0..5) afterwards
    bool infrared;
};

// Parameterised tests are listed by their case names.
void PrintTo(const SavedLinkCase& c, std::ostream* os)
{
    *os << c.name;
}

const SavedLinkCase kSavedLinks[] = {
    {"Maker",
     "COM1:9600:maker:0:1364",
     {"COM1", "9600", "7", "0", "00"},
     "20 0000",
     {"COM1", "9600", "7, EVEN", "1", "00", "Velder"},
     false},
    {"ModbusAscii",
     "COM2:19200:ascii:5:1364",
     {"COM2", "19200", "7", "1", "05"},
     "03 0000 0001",
     {"COM2", "19200", "7, EVEN", "1", "05", "Modbus ASCII"},
     false},
    // A one-digit instrument number is used, and kept as it was typed.
    {"ModbusRtuInfrared",
     "COM3:9600:rtu:5:1605",
     {"COM3", "9600", "8", "2", "5"},
     "03 0000 0001",
     {"COM3", "9600", "8, EVEN", "1", "5", "Modbus RTU"},
     true},
};

class SavedLink : public ConnectFixture, public ::testing::WithParamInterface<SavedLinkCase> {};

} // namespace

TEST_P(SavedLink, AnsweringControllerIsSetUpWithoutAQuestion)
{
    const SavedLinkCase& c = GetParam();
    startSim(QStringLiteral("--port ") + QLatin1String(c.controller));
    saveLink(c.settings);
    handOver();

    // No question, and no Modbus notice: the key write already switched the controller over.
    EXPECT_TRUE(boxes().isEmpty());
    const QString key =
        c.settings[3] == u"0" ? QStringLiteral("50 0000 8217") : QStringLiteral("06 0000 8217");
    EXPECT_EQ(sim->requests(c.settings[0]).mid(0, 5),
              QStringList({QLatin1String(c.firstRead), key, "61 002A", "20 0001", "50 0000 8217"}));
    EXPECT_EQ(commLabels(), c.labels);
    EXPECT_EQ(QStringList({saved("Port"), saved("Speed"), saved("Databit"), saved("Protocol"),
                           saved("strAdr")}),
              QStringList({c.settings[0], c.settings[1], c.settings[2], "0", c.settings[4]}));
    EXPECT_TRUE(d.CommSetOK && d.ComOK && !d.OnLine);
    EXPECT_EQ(d.ProtocolSel, c.settings[3].toInt());
    EXPECT_EQ(d.RDModel, c.infrared);
    EXPECT_EQ(!w->Label_oth[23]->isHidden(), c.infrared);
    EXPECT_TRUE(w->isVisible() && splash->isHidden() && !splash->Timer1.isActive());
    EXPECT_TRUE(w->mnuFile->isEnabled() && w->mnuSet->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Connect, SavedLink, ::testing::ValuesIn(kSavedLinks),
                         [](const auto& info) { return std::string(info.param.name); });

using FirstConnection = ConnectFixture;

TEST_F(FirstConnection, PortThatDoesNotOpenGivesTheMenusBack)
{
    startSim(QStringLiteral("--port COM8:9600:maker:0"));
    w->checkcommunicate1();
    EXPECT_TRUE(w->mnuFile->isEnabled() && w->mnuSet->isEnabled());
    EXPECT_FALSE(d.CommSetOK);
}

TEST_F(FirstConnection, SilentControllerEndsAfterTheFirstRead)
{
    startSim(QStringLiteral("--silent COM1"));
    d.ComOK = true; // a link taken for up before does not survive it
    w->checkcommunicate1();
    EXPECT_EQ(received(QStringLiteral("COM1")), 1); // no key write after no answer
    EXPECT_FALSE(d.ComOK || d.CommSetOK);
    EXPECT_TRUE(w->mnuFile->isEnabled() && w->mnuSet->isEnabled());
}

TEST_F(FirstConnection, NoControllerAsksAndNoRunsThePortScanOverEveryPort)
{
    // A controller on every port, but none at the scan's instrument number 00.
    QString args;
    for (int n = 1; n <= 8; ++n)
        args += QStringLiteral(" --port COM%1:9600:maker:5").arg(n);
    startSim(args.mid(1));
    answers({QStringLiteral("No"), QStringLiteral("OK")});
    handOver();

    const QList<QJsonObject> m = msgs();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0].value("text").toString(), S(85));
    EXPECT_EQ(m[0].value("icon").toString(), QStringLiteral("question"));
    EXPECT_EQ(m[1].value("text").toString(), joined({297, 299}));
    EXPECT_EQ(m[1].value("icon").toString(), QStringLiteral("critical"));
    EXPECT_EQ(m[1].value("title").toString(), S(1));
    // COM1 also got the first connection's read.
    EXPECT_EQ(sim->requests(QStringLiteral("COM1")), QStringList({"20 0000", "20 0001"}));
    for (int n = 2; n <= 8; ++n)
        EXPECT_EQ(sim->requests(QStringLiteral("COM%1").arg(n)), QStringList({"20 0001"})) << n;
    EXPECT_FALSE(d.CommSetOK);
    EXPECT_TRUE(w->mnuFile->isEnabled() && w->mnuOnline->isEnabled() && w->mnuSet->isEnabled());
}

TEST_F(FirstConnection, PortScanFindsTheFactorySettingsBehindASilentPort)
{
    startSim(QStringLiteral("--silent COM2 --port COM3:9600:maker:0:1364"));
    saveLink({"COM5", "19200", "8", "2", "07"});
    answers({QStringLiteral("No")});
    handOver();

    EXPECT_EQ(boxes(), QStringList({S(85)}));
    EXPECT_GE(received(QStringLiteral("COM2")), 1);
    EXPECT_EQ(sim->requests(QStringLiteral("COM3")).value(0), QStringLiteral("20 0001"));
    EXPECT_EQ(commLabels(), QStringList({"COM3", "9600", "7, EVEN", "1", "00", "Velder"}));
    EXPECT_EQ(QStringList({saved("Port"), saved("Databit"), saved("Protocol"), saved("strAdr")}),
              QStringList({"COM3", "7", "0", "00"}));
}

TEST_F(FirstConnection, AfterAFailedScanTheNextFirstConnectionTriesTheSavedLinkAgain)
{
    // The saved controller is switched off while the program starts.
    startSim(QStringLiteral("--port COM3:19200:rtu:7:1364 --silent COM3"));
    saveLink({"COM3", "19200", "8", "2", "07"});
    qmx::openSettings()->setValue(QStringLiteral("Parity"), QStringLiteral("ODD"));
    answers({QStringLiteral("No"), QStringLiteral("OK")});
    handOver();
    ASSERT_EQ(boxes(), QStringList({S(85), joined({297, 299})}));
    EXPECT_EQ(
        QStringList({d.Port, d.Speed, d.Databit, d.Parity, QString::number(d.Protocol), d.strAdr}),
        QStringList({"COM3", "19200", "8", "ODD", "2", "07"}));
    EXPECT_EQ(w->QMXCom->Com_Port(), QStringLiteral("COM3"));

    // Switched on, the Online button's first connection reaches it with the saved settings.
    QJsonObject on{{"cmd", "set"}, {"port", "COM3"}, {"silent", false}};
    sim->control(on);
    sim->mark();
    w->checkcommunicate1();
    EXPECT_TRUE(d.CommSetOK);
    EXPECT_EQ(sim->requests(QStringLiteral("COM3")).value(0), QStringLiteral("03 0000 0001"));
}
