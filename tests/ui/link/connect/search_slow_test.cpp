// The exhaustive search through its whole order: two silent ports (both speeds, all three
// protocols, every instrument number), the third port at 9600, then at 19200 in the maker's
// protocol and Modbus ASCII, before Modbus RTU finds instrument 7. This takes minutes.
#include "connect_fixture.h"

using SlowSearch = ConnectFixture;

TEST_F(SlowSearch, FindsModbusRtuBehindTwoSilentPorts)
{
    startSim(QStringLiteral("--silent COM1 --silent COM2 --port COM3:19200:rtu:7:1364"));
    answers({QStringLiteral("Yes"), QStringLiteral("OK")});
    handOver();

    EXPECT_EQ(boxes(), QStringList({S(85), joined({350, 351, 352, 353})}));
    EXPECT_EQ(QStringList({saved("Port"), saved("Speed"), saved("Databit"), saved("Protocol"),
                           saved("strAdr")}),
              QStringList({"COM3", "19200", "8", "2", "07"}));
    EXPECT_EQ(commLabels(), QStringList({"COM3", "19200", "8, EVEN", "1", "07", "Modbus RTU"}));
    // What the controller understood: Modbus RTU to instruments 1 to 7, then the set-up's key.
    QStringList heard(7, QStringLiteral("03 0001 0001"));
    heard << QStringLiteral("06 0000 8217");
    EXPECT_EQ(sim->requests(QStringLiteral("COM3")).mid(0, 8), heard);
    // Each silent port heard every protocol at both speeds.
    EXPECT_GE(received(QStringLiteral("COM1")), 2 * 3 * 95);
    EXPECT_GE(received(QStringLiteral("COM2")), 2 * 3 * 95);
}
