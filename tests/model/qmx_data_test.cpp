#include "model/qmx_data.h"

#include <gtest/gtest.h>

using namespace qmx;

TEST(ItemTable, DefaultsCoverEveryParameterAndNothingElse)
{
    QmxData d;
    d.ParaVal(67) = 7;
    d.ParaVal(68) = 8;
    d.MonVal(0) = 123;
    d.Set_Defaults();
    EXPECT_EQ(d.ParaVal(25), 1370);
    EXPECT_EQ(d.ParaVal(26), -200);
    EXPECT_EQ(d.ParaVal(15), 200);
    EXPECT_EQ(d.ParaVal(66), 950);
    EXPECT_EQ(d.ParaVal(50), 0);
    EXPECT_EQ(d.ParaVal(11), 0);
    // Items without a default keep their start value untouched.
    EXPECT_EQ(d.ParaVal(67), 7);
    EXPECT_EQ(d.ParaVal(68), 8);
    EXPECT_EQ(d.MonVal(0), 123);

    const struct {
        int item;
        int16_t def;
    } listed[] = {{13, 10},  {14, 10}, {16, 50}, {17, 30}, {18, 30}, {29, 100}, {31, 10},
                  {33, 100}, {35, 10}, {38, 10}, {39, 10}, {52, 20}, {53, 50},  {57, 50}};
    for (const auto& c : listed)
        EXPECT_EQ(d.ParaVal(c.item), c.def) << "item " << c.item;
    int nonZero = 0;
    for (int i = 11; i <= 66; ++i)
        nonZero += d.ParaVal(i) != 0;
    EXPECT_EQ(nonZero, 18); // the 14 above plus 15, 25, 26, 66
}

TEST(ItemTable, RegisterCodes)
{
    QmxData d;
    d.Fill_CommNoTbl();
    EXPECT_EQ(d.CommNoTbl(0), "0080");
    EXPECT_EQ(d.CommNoTbl(8), "00A2");
    EXPECT_EQ(d.CommNoTbl(10), "0000");
    EXPECT_EQ(d.CommNoTbl(50), "0044");
    EXPECT_EQ(d.CommNoTbl(65), "004A");
    EXPECT_EQ(d.CommNoTbl(66), "0054");
    EXPECT_EQ(d.CommNoTbl(68), "0070");
    for (int item : {9, 59, 60, 61, 62, 63, 64, 67})
        EXPECT_TRUE(d.CommNoTbl(item).isEmpty()) << "item " << item;
    int filled = 0;
    for (int i = 0; i <= 68; ++i)
        filled += !d.CommNoTbl(i).isEmpty();
    EXPECT_EQ(filled, 61);
}

TEST(ItemTable, SpecialCodesFixedAndFromUserMap)
{
    QmxData d;
    d.Make_CommNoTbl2();
    EXPECT_EQ(d.CommNoTbl2(1), "001C");
    EXPECT_EQ(d.CommNoTbl2(8), "FC30");
    EXPECT_EQ(d.CommNoTbl2(15), "FF13");
    EXPECT_EQ(d.CommNoTbl2(17), "FF1B");

    d.UserMapFlag = true;
    d.UserAdrTbl(0) = 28;
    d.UserAdrTbl(1) = 65556;
    d.UserAdrTbl(2) = -1;
    d.UserAdrTbl(16) = 0xFC30;
    d.Make_CommNoTbl2();
    EXPECT_EQ(d.CommNoTbl2(1), "001C");
    EXPECT_EQ(d.CommNoTbl2(2), "0014");
    EXPECT_EQ(d.CommNoTbl2(3), "FFFF");
    EXPECT_EQ(d.CommNoTbl2(4), "0000");
    EXPECT_EQ(d.CommNoTbl2(17), "FC30");

    for (bool map : {false, true}) {
        d.UserMapFlag = map;
        d.Make_CommNoTbl2();
        for (int k : {0, 18, 19, 20})
            EXPECT_TRUE(d.CommNoTbl2(k).isEmpty()) << k;
    }
}

TEST(ItemTable, MonitorWordsAreIndependent)
{
    QmxData d;
    d.MonVal(4) = 0x85;
    d.MonVal(7) = 0x21;
    d.MonVal(8) = -1;
    d.MonVal(67) = 3;
    EXPECT_EQ(d.StatusBits(), 0x85);
    EXPECT_EQ(d.OptionBits(), 0x21);
    EXPECT_EQ(d.OptionBits2(), -1);
    EXPECT_EQ(d.MonVal(67), 3);
    EXPECT_FALSE(MonitorValues::isMonitorItem(9));
    EXPECT_FALSE(MonitorValues::isMonitorItem(11));
}

#ifdef NDEBUG
TEST(ItemTable, OutOfBoundsIndexTouchesNothing)
{
    QmxData d;
    d.Set_Defaults();
    d.ParaVal(10) = 99;
    d.ParaVal(69) = 99;
    EXPECT_EQ(d.ParaVal(10), 0);
    EXPECT_EQ(d.ParaVal(11), 0);
    EXPECT_EQ(d.ParaVal(68), 0);
}
#endif

TEST(ItemTable, WriteRequestsQueueTheItemAtRequestTime)
{
    QmxData d;
    int wakes = 0;
    d.onWriteRequested = [&] { ++wakes; };
    d.ParaNo = 52;
    d.Req_Write();
    d.ParaNo = 11;
    d.Req_Write();
    EXPECT_EQ(d.ComMode, 2);
    EXPECT_EQ(wakes, 2);
    ASSERT_EQ(d.WriteQueue.size(), 2u);
    EXPECT_EQ(d.WriteQueue.front(), 52);
    EXPECT_EQ(d.WriteQueue.back(), 11);
}
