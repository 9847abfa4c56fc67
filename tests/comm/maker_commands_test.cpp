// The special commands against a scripted controller in the maker's protocol: which codes are
// written or read in which order, what lands in the data, and what the status bar shows.
#include "exchange_fixture.h"
#include "model/string_table.h"

#include <QElapsedTimer>

using namespace testline;

namespace {

class SpecialCommands : public ExchangeLine {
protected:
    void SetUp() override
    {
        ExchangeLine::SetUp();
        data.Protocol = 0;
        data.Make_CommNoTbl2();
        data.Fill_CommNoTbl();
    }
};

const QString kKeyWrite = QStringLiteral("P 0000 8217");

TEST_F(SpecialCommands, MainSetValueWithAlarm1StandbyOnly)
{
    data.ParaNo = 11;
    data.MonVal(7) = 0; // no set-value memory option
    data.MonVal(67) = 0;
    data.ParaVal(36) = 8;
    data.ParaVal(37) = 6;
    ex.SV_change("0064");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, "q FC30 0064", "r 001C 0064", "P FF1A 0000"}));
    EXPECT_EQ(host.panel1, "OK");
    EXPECT_EQ(comm.Com_TimeOut(), 300);
}

TEST_F(SpecialCommands, MainSetValueReadsTheMemoryNumberFirstWhenTheOptionIsThere)
{
    data.ParaNo = 11;
    data.MonVal(7) = 0x01;
    data.ParaVal(36) = 8;
    data.ParaVal(37) = 7;
    ex.SV_change("FFFF");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, kKeyWrite, "` FF13", "q FC30 FFFF", "r 001C FFFF",
                                   "P FF1A 0000", "P FF1B 0000"}));
    EXPECT_EQ(data.MonVal(67), 0);
}

TEST_F(SpecialCommands, NoStandbyWritesWhenAnotherMemoryIsInUse)
{
    ctl.setValue("FF13", "0001");
    data.ParaNo = 11;
    data.MonVal(7) = 0x01;
    data.ParaVal(36) = 9;
    data.ParaVal(37) = 9;
    ex.SV_change("0010");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, kKeyWrite, "` FF13", "q FC30 0010", "r 001C 0010"}));
    EXPECT_EQ(data.MonVal(67), 1);
}

TEST_F(SpecialCommands, SetValue2InUseGetsTheStandbyWrites)
{
    ctl.setValue("FF13", "0001");
    data.ParaNo = 59;
    data.MonVal(7) = 0x01;
    data.ParaVal(36) = 7;
    data.ParaVal(37) = 0;
    ex.SV_change("0020");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, kKeyWrite, "` FF13", "q FC32 0020", "r 001D 0020",
                                   "P FF1A 0000"}));
}

TEST_F(SpecialCommands, SetValue3WithContactInputInUseSendsOnlyTheKey)
{
    data.ParaNo = 60;
    data.MonVal(7) = 0x03; // memory bit set, but bit 1 too: no memory read
    data.ParaVal(62) = 1;
    ex.SV_change("0030");
    EXPECT_EQ(wire(), QStringList{kKeyWrite});
    EXPECT_EQ(comm.Com_TimeOut(), 300);

    data.MonVal(7) = 0x00;
    data.ParaVal(62) = 0;
    ex.SV_change("0030");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, kKeyWrite}));
}

TEST_F(SpecialCommands, SetValue4)
{
    data.ParaNo = 61;
    data.MonVal(7) = 0x03;
    data.ParaVal(62) = 0;
    ex.SV_change("0040");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, "q FC36 0040", "r 001F 0040"}));
}

TEST_F(SpecialCommands, ContactInputFunctionIsWrittenWhateverTheOptions)
{
    data.ParaNo = 62;
    data.MonVal(7) = 0;
    data.MonVal(67) = 0;
    data.ParaVal(36) = 8;
    ex.SV_change("0002");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, "q FC92 0002", "r 004D 0002"}));
}

TEST_F(SpecialCommands, BothOptionBitsWriteSetValue2WithoutTheMemoryRead)
{
    data.ParaNo = 59;
    data.MonVal(7) = 0x03;
    ex.SV_change("0005");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, "q FC32 0005", "r 001D 0005"}));
    EXPECT_EQ(ex.specialValuesTaken(), 1) << "the write took, though nothing reads it back";
    ex.Read_SV();
    EXPECT_EQ(wire().size(), 3) << "Read_SV makes no exchange at all";
    EXPECT_EQ(ex.specialReadsStored(), 0);
}

TEST_F(SpecialCommands, OtherItemsMakeNoSpecialExchange)
{
    data.ParaNo = 12;
    ex.SV_change("0001");
    data.ParaNo = 11;
    ex.DCOSL_change("0001");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, kKeyWrite}));
}

TEST_F(SpecialCommands, RefusedWritesShowNgAndTheNextWriteFollows)
{
    ctl.script(0x71, "FC94", {Scripted::nak('4')});
    data.ParaNo = 63;
    ex.DCOSL_change("0001");
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, "q FC94 0001", "r 004E 0001"}));
    EXPECT_TRUE(host.events.contains("panel1=NG"));
    EXPECT_EQ(host.panel1, "OK");
    EXPECT_EQ(ex.specialValuesTaken(), 0) << "only the second of the pair took";
    data.ParaNo = 64;
    ctl.script(0x72, "004F", {Scripted::esc()});
    ex.DCOSL_change("0000");
    EXPECT_EQ(wire().mid(3), (QStringList{kKeyWrite, "q FC96 0000", "r 004F 0000"}));
    EXPECT_EQ(host.panel1, "NG");
}

TEST_F(SpecialCommands, ReadSetValue2SecondValueStands)
{
    data.ParaNo = 59;
    data.MonVal(7) = 0x01;
    data.ParaVal(59) = 7;
    ctl.script(0x61, "FC32", {Scripted::nak('3')});
    ctl.setValue("001D", "0123");
    ex.Read_SV();
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, "a FC32", "b 001D"}));
    EXPECT_EQ(data.ParaVal(59), 0x123);
    EXPECT_EQ(ex.specialReadsStored(), 1);
    EXPECT_EQ(host.panel1, "OK");
    EXPECT_EQ(comm.Com_TimeOut(), 300);
}

TEST_F(SpecialCommands, ReadSetValuesAndContactInput)
{
    data.MonVal(7) = 0x01;
    data.ParaVal(62) = 0;
    ctl.setValue("FC34", "0003");
    ctl.setValue("FC36", "FFFE");
    ctl.setValue("FC92", "0001");
    for (int item : {60, 61, 62}) {
        data.ParaNo = item;
        ex.Read_SV();
    }
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, "a FC34", kKeyWrite, "a FC36", kKeyWrite, "a FC92"}));
    EXPECT_EQ(data.ParaVal(60), 3);
    EXPECT_EQ(data.ParaVal(61), -2);
    EXPECT_EQ(data.ParaVal(62), 1);
    data.ParaNo = 60; // contact input in use now: the frame runs, the read does not
    ex.Read_SV();
    EXPECT_EQ(wire().size(), 7);
}

TEST_F(SpecialCommands, ReadDataPicksItem64UnlessAskedFor63)
{
    data.ParaNo = 63;
    data.ParaVal(50) = 29;
    data.MonVal(8) = 0x10;
    ex.Read_data();
    EXPECT_TRUE(wire().isEmpty());

    ctl.setValue("FC96", "0001");
    data.ParaNo = 11;
    ex.Read_data();
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, "a FC96"}));
    EXPECT_EQ(data.ParaVal(64), 1);

    ctl.setValue("FC94", "0002");
    data.ParaNo = 63;
    data.ParaVal(50) = 30;
    data.MonVal(8) = 0x00;
    ex.Read_data();
    EXPECT_EQ(wire().size(), 2) << "no DC option bit, no exchange";
    data.MonVal(8) = 0x10;
    ex.Read_data();
    EXPECT_EQ(wire().mid(2), (QStringList{kKeyWrite, "a FC94"}));
    EXPECT_EQ(data.ParaVal(63), 2);
}

TEST_F(SpecialCommands, ASilentSpecialReadIsACommunicationErrorAtTimeOut400)
{
    ctl.script(0x61, "FC96", {Scripted::silent()});
    data.ParaNo = 64;
    data.ParaVal(64) = 1;
    QElapsedTimer t;
    t.start();
    ex.Read_data();
    const qint64 ms = t.elapsed();
    EXPECT_GE(ms, 390);
    EXPECT_LT(ms, 780) << "no second try";
    EXPECT_TRUE(data.ComErr);
    EXPECT_EQ(host.commErrors, 1);
    EXPECT_EQ(data.ParaVal(64), 1);
    EXPECT_EQ(comm.Com_TimeOut(), 300);
}

TEST_F(SpecialCommands, MemonoIgnoresNoAnswer)
{
    ctl.script(0x60, "FF13", {Scripted::silent()});
    data.MonVal(67) = 2;
    comm.setCom_TimeOut(100);
    ex.Memono();
    EXPECT_EQ(wire(), (QStringList{kKeyWrite, "` FF13"}));
    EXPECT_EQ(data.MonVal(67), 2);
    EXPECT_EQ(host.commErrors, 0);
    EXPECT_FALSE(data.ComErr);
    EXPECT_EQ(host.panel1, "(unset)");
    EXPECT_EQ(comm.Com_TimeOut(), 300);
}

TEST_F(SpecialCommands, SendParaBusyKeepsTheValueShowsTheNoticeAndStillReadsBack)
{
    data.ParaNo = 46;
    data.ParaVal(46) = 1;
    data.ParaBak(46) = 0;
    ctl.script('P', "0038", {Scripted::nak('5')});
    ctl.setValue("0038", "0001");
    ex.Send_Para();
    EXPECT_EQ(wire(), (QStringList{"P 0038 0001", "_ 0038"}));
    EXPECT_EQ(data.ParaVal(46), 1);
    EXPECT_EQ(host.busyNotices, 1);
    EXPECT_TRUE(host.busySecondCopy);
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(host.events, (QStringList{"panel4=" + qmx::LoadResString(453), "panel1=NG", "panel4=",
                                        "busy", "beep", "panel4=", "panel1=OK", "panel1="}));
}

TEST_F(SpecialCommands, SendParaNoAnswerRestoresTheEditedItem)
{
    comm.setCom_TimeOut(100);
    ctl.script('P', "0038", {Scripted::silent()});
    ctl.script(' ', "0038", {Scripted::silent()});
    data.ParaNo = 47;
    data.ParaVal(47) = 50;
    data.EditBase(47) = 30; // the base of the edit being written
    ex.Send_Para();
    EXPECT_EQ(data.ParaVal(47), 30);
    EXPECT_EQ(host.commErrors, 2);
    EXPECT_TRUE(data.ComErr);
}

TEST_F(SpecialCommands, SendParaEscapeRestoresTheEditedItem)
{
    ctl.script('P', "0038", {Scripted::esc()});
    data.ParaNo = 47;
    data.ParaVal(47) = 50;
    data.EditBase(47) = 30; // the base of the edit being written
    ex.Send_Para();
    EXPECT_EQ(data.ParaVal(47), 30);
    EXPECT_EQ(host.commErrors, 0);
}

TEST_F(SpecialCommands, SendParaInModbusMarksTheDataValid)
{
    data.strAdr = "01";
    data.Protocol = 1;
    data.DataValid = false;
    data.ParaNo = 46;
    data.ParaVal(46) = 1;
    ctl.setValue("0038", "0001");
    ex.Send_Para();
    EXPECT_EQ(wire(), (QStringList{"A06 0038 0001", "A03 0038"}));
    EXPECT_TRUE(data.DataValid);
    EXPECT_EQ(data.ParaVal(46), 1);
    EXPECT_TRUE(host.events.contains("panel1=OK"));
}

TEST_F(SpecialCommands, SpecialCommandsInModbusSendNothingAndCountAsNoAnswer)
{
    data.strAdr = "01";
    data.Protocol = 2;
    data.ParaNo = 64;
    comm.setCom_TimeOut(100);
    ex.Read_data();
    // The key write goes out in Modbus and moves the link to the maker's protocol, so the special
    // read that follows is a maker frame.
    EXPECT_EQ(wire(), (QStringList{"R06 0000 8217", "a FC96"}));
    data.Protocol = 1;
    const QString reply = ex.Sendcomm("01", "", QString(QChar(0x61)), "FC96", "", 3);
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_EQ(wire().size(), 2);
}

} // namespace
