#include "model/qmx_data.h"

#include <algorithm>

namespace qmx {

namespace {

struct ItemRow {
    int item;
    const char* code; // nullptr: no ordinary register
    int caption;      // string-table number of the row caption, 0 for none
    int16_t def;      // built-in default
};

// Every item with a register code or a row caption.
constexpr ItemRow kItems[] = {
    {0, "0080", 0, 0},       {1, "0081", 0, 0},       {2, "0082", 0, 0},      {3, "0083", 0, 0},
    {4, "0085", 0, 0},       {5, "0086", 0, 0},       {6, "0087", 0, 0},      {7, "00A1", 0, 0},
    {8, "00A2", 0, 0},       {10, "0000", 0, 0},      {11, "0001", 101, 0},   {12, "0003", 151, 0},
    {13, "0004", 103, 10},   {14, "0005", 104, 10},   {15, "0006", 105, 200}, {16, "0007", 106, 50},
    {17, "0008", 107, 30},   {18, "0009", 108, 30},   {19, "000B", 109, 0},   {20, "000C", 110, 0},
    {21, "000F", 111, 0},    {22, "0012", 112, 0},    {23, "0015", 113, 0},   {24, "0016", 114, 0},
    {25, "0018", 115, 1370}, {26, "0019", 116, -200}, {27, "001A", 117, 0},   {28, "001B", 118, 0},
    {29, "001C", 119, 100},  {30, "001D", 120, 0},    {31, "001E", 121, 10},  {32, "001F", 122, 0},
    {33, "0020", 123, 100},  {34, "0021", 124, 0},    {35, "0022", 125, 10},  {36, "0023", 126, 0},
    {37, "0024", 127, 0},    {38, "0025", 128, 10},   {39, "0026", 129, 10},  {40, "0029", 130, 0},
    {41, "002A", 131, 0},    {42, "0032", 148, 0},    {43, "0033", 132, 0},   {44, "0034", 133, 0},
    {45, "0037", 134, 0},    {46, "0038", 135, 0},    {47, "0039", 136, 0},   {48, "0040", 137, 0},
    {49, "0041", 138, 0},    {50, "0044", 139, 0},    {51, "0045", 140, 0},   {52, "0047", 141, 20},
    {53, "0048", 142, 50},   {54, "0049", 143, 0},    {55, "0050", 144, 0},   {56, "0051", 145, 0},
    {57, "0052", 146, 50},   {58, "0053", 147, 0},    {59, nullptr, 170, 0},  {60, nullptr, 171, 0},
    {61, nullptr, 172, 0},   {62, nullptr, 175, 0},   {63, nullptr, 173, 0},  {64, nullptr, 174, 0},
    {65, "004A", 149, 0},    {66, "0054", 802, 950},  {67, nullptr, 0, 0},    {68, "0070", 0, 0},
};

const ItemRow* findItem(int item)
{
    for (const auto& r : kItems)
        if (r.item == item)
            return &r;
    return nullptr;
}

// The special codes of the maker's protocol, CommNoTbl2(1..17).
constexpr const char* kSpecialCodes[17] = {"001C", "001D", "001E", "001F", "004D", "004E",
                                           "004F", "FC30", "FC32", "FC34", "FC36", "FC92",
                                           "FC94", "FC96", "FF13", "FF1A", "FF1B"};

} // namespace

int16_t defaultValue(int item)
{
    const ItemRow* r = findItem(item);
    return r && item >= kFirstPara && item <= kInfraredItem ? r->def : int16_t(0);
}

QString registerCode(int item)
{
    const ItemRow* r = findItem(item);
    return r && r->code ? QString::fromLatin1(r->code) : QString();
}

int rowCaption(int item)
{
    const ItemRow* r = findItem(item);
    return r ? r->caption : 0;
}

void QmxData::Set_Defaults()
{
    for (int item = kFirstPara; item <= kInfraredItem; ++item)
        ParaVal(item) = defaultValue(item);
}

void QmxData::Fill_CommNoTbl()
{
    for (int item = CommNoTbl.lower; item <= CommNoTbl.upper; ++item)
        CommNoTbl(item) = registerCode(item);
}

void QmxData::Make_CommNoTbl2()
{
    for (int k = 1; k <= 17; ++k) {
        if (!UserMapFlag) {
            CommNoTbl2(k) = QString::fromLatin1(kSpecialCodes[k - 1]);
        } else {
            // Low four hex digits of the address: a negative address gives its low 16 bits.
            const auto bits = static_cast<uint32_t>(UserAdrTbl(k - 1));
            const QString hex = QStringLiteral("0000") + QString::number(bits, 16).toUpper();
            CommNoTbl2(k) = hex.right(4);
        }
    }
}

bool QmxData::writeQueued(int item) const
{
    return std::find(WriteQueue.begin(), WriteQueue.end(), item) != WriteQueue.end();
}

void QmxData::writeEnded(int item)
{
    if (EditBase.inBounds(item) && !writeQueued(item))
        EditBase(item).reset();
}

void QmxData::Req_Write()
{
    if (EditBase.inBounds(ParaNo) && !EditBase(ParaNo))
        EditBase(ParaNo) = ParaBak(ParaNo);
    WriteQueue.push_back(ParaNo);
    ComMode = 2;
    if (onWriteRequested)
        onWriteRequested();
}

} // namespace qmx
