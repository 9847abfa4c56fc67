// The shared data of the start-up module: every controller value by item number, the register-code
// tables, and the flags and settings words that all windows and routines read and write.
//
// Item numbers: 0..8 monitor values, 10 the key/model register, 11..66 setting parameters (66 only
// on the infrared variant), 67 the set-value memory number in use, 68 the transfer-mode register.
// Values are signed 16-bit raw controller units with the item's implied decimal point.
#pragma once

#include "model/items.h"

#include <QString>

#include <array>
#include <cassert>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

namespace qmx {

// A fixed array with the index bounds the controller data uses (ParaVal(11..68), CommNoTbl(0..68)).
// An index outside the bounds is a programming error: it asserts in debug builds; in release builds
// a read gives a zero value and a write goes nowhere, so no memory outside the array is touched.
template <typename T, int Lo, int Hi> class BoundedArray {
public:
    static constexpr int lower = Lo;
    static constexpr int upper = Hi;

    T& operator()(int i)
    {
        if (!inBounds(i)) {
            assert(false && "index out of bounds");
            scratch_ = T{};
            return scratch_;
        }
        return data_[static_cast<size_t>(i - Lo)];
    }
    const T& operator()(int i) const
    {
        if (!inBounds(i)) {
            assert(false && "index out of bounds");
            static const T zero{};
            return zero;
        }
        return data_[static_cast<size_t>(i - Lo)];
    }
    static constexpr bool inBounds(int i) { return i >= Lo && i <= Hi; }
    void fill(const T& v) { data_.fill(v); }

private:
    std::array<T, Hi - Lo + 1> data_{};
    T scratch_{};
};

// MonVal holds items 0..8 and 67: ten independent words, not an array with bounds.
class MonitorValues {
public:
    int16_t& operator()(int item)
    {
        const int slot = slotOf(item);
        if (slot < 0) {
            assert(false && "not a monitor item");
            scratch_ = 0;
            return scratch_;
        }
        return v_[static_cast<size_t>(slot)];
    }
    int16_t operator()(int item) const
    {
        const int slot = slotOf(item);
        assert(slot >= 0 && "not a monitor item");
        return slot < 0 ? int16_t(0) : v_[static_cast<size_t>(slot)];
    }
    static constexpr bool isMonitorItem(int item) { return slotOf(item) >= 0; }

private:
    static constexpr int slotOf(int item)
    {
        if (item >= 0 && item <= 8)
            return item;
        return item == 67 ? 9 : -1;
    }
    std::array<int16_t, 10> v_{};
    int16_t scratch_ = 0;
};

constexpr int kFirstPara = 11;
constexpr int kLastPara = 68;
constexpr int kLastStandardItem = 65; // the last item a standard set-data file holds
constexpr int kInfraredItem = item::kEmissivity;

// Built-in default of a setting item (raw units); 0 for items without one.
int16_t defaultValue(int item);
// Register code of an item ("0080" for PV ...), empty for items without an ordinary register.
QString registerCode(int item);
// String-table number of an item's row caption; 0 when it has none.
int rowCaption(int item);

// Model codes the controller reports in its key register.
constexpr int kModelStandard = 1364;
constexpr int kModelInfrared = 1605;
constexpr int kModelUserMap = 1706; // the variant with a user register map
// Whether this program serves a controller of `code`: the user-map variant only while its map is in
// force, the standard and infrared models otherwise.
constexpr bool isServedModel(int code, bool userMap)
{
    return userMap ? code == kModelUserMap : code == kModelStandard || code == kModelInfrared;
}

// The access key that unlocks the controller's settings.
inline constexpr const char* kAccessKey = "8217";

struct QmxData {
    // --- controller values -------------------------------------------------------------------
    BoundedArray<int16_t, 11, 68> ParaVal;
    BoundedArray<int16_t, 11, 68> ParaBak;
    MonitorValues MonVal;

    int16_t StatusBits() const { return MonVal(4); }
    int16_t OptionBits() const { return MonVal(7); }
    int16_t OptionBits2() const { return MonVal(8); }

    // --- register codes ----------------------------------------------------------------------
    BoundedArray<QString, 0, 68> CommNoTbl;
    BoundedArray<QString, 0, 20> CommNoTbl2;
    BoundedArray<int32_t, 0, 30> UserAdrTbl;
    bool UserMapFlag = false;

    // --- scheduler and transfers ---------------------------------------------------------------
    int ParaNo = 0;
    // The entry limits of the numeric edit prepared last (raw units, both included) and whether
    // it is shown with one decimal.
    int16_t ParaMin = 0;
    int16_t ParaMax = 0;
    bool DecFlag = false;
    int ComMode = 0;
    bool ReUpload = false;
    bool ComErr = false;
    bool Uploading = false;
    bool Downloading = false;
    bool ATrun = false;
    int MonStep = 0;

    // --- link ---------------------------------------------------------------------------------
    bool OnLine = false;
    bool ComOK = false;
    bool CommSetOK = false;
    int Protocol = 0;    // 0 maker's protocol, 1 Modbus ASCII, 2 Modbus RTU
    int ProtocolSel = 0; // the protocol confirmed for the controller
    QString strAdr = QStringLiteral("00");
    QString Port = QStringLiteral("COM1");
    QString Speed = QStringLiteral("9600");
    QString Databit = QStringLiteral("7");
    QString Stopbit = QStringLiteral("1");
    QString Parity = QStringLiteral("EVEN");

    // --- model ---------------------------------------------------------------------------------
    QString ModelName;
    bool RDModel = false;
    bool RDModelFile = false;
    QString FileModel;
    int16_t FileHead = 0;
    int ModelCode = 0;
    int RomNo = 0;
    bool ModelErr = false;
    bool ModelRetry = false;
    int OpenCount = 0;

    // --- option set of the screen data --------------------------------------------------------
    int16_t OptSet_Alarm2 = 0;
    int16_t OptSet_HeatCool = 0;
    int16_t OptSet_HB = 0;
    int16_t OptSet_SVsel = 0;
    int16_t OptSet_OutType = 0;
    int16_t OptSet_Comm = 0;
    std::array<int16_t, 6> CtrlSpec{};
    // The heater-burnout option in force at the last opening of the model-option dialog that had
    // one was a 50 A type; the dialog's Change clears the alarm values when the range changes.
    bool HB_CT50A = false;

    // --- screen data state --------------------------------------------------------------------
    bool DataValid = false;
    bool DataChanged = false;
    bool SpecCheck = false;
    bool StartDataRead = false;
    bool StartDataFile = false;

    // --- link set-up ---------------------------------------------------------------------------
    bool CancelFlag = false;
    bool ManualComset = false;
    bool ComsetCancel = false;
    bool AskRefresh = false;
    bool ScreenSet = false;

    // --- routines ------------------------------------------------------------------------------
    // ParaVal(11..66) take the built-in defaults; 67, 68, the option words and MonVal are
    // untouched.
    void Set_Defaults();
    // CommNoTbl takes the register code of every item (items 0..8, 10..58, 65, 68, 66).
    void Fill_CommNoTbl();
    // CommNoTbl2(1..17): the fixed special codes, or the user register map while UserMapFlag is
    // set.
    void Make_CommNoTbl2();

    // Writes requested by the entry dialogs and the manual-output buttons, in request order. Each
    // entry holds the item captured when the request was made, so a later edit cannot redirect it.
    std::deque<int> WriteQueue;
    // The base of each item whose write waits in the queue or is being written: the value the
    // edit was accepted against, ParaBak at its first request. Requests of the same item that
    // follow while it waits keep it, whatever a set button opened again meanwhile stored in
    // ParaBak. An AT or OUT/OFF choice equal to its base changed nothing; while the controller has
    // confirmed nothing for the item, the base is what it holds.
    BoundedArray<std::optional<int16_t>, 11, 68> EditBase;
    // Queues the write of item ParaNo for the scheduler and wakes it (ComMode 2).
    void Req_Write();
    // Whether a write of `item` waits in the queue: the screen holds the operator's value for it,
    // which the controller does not hold yet.
    bool writeQueued(int item) const;
    // The write step of `item` is over: its base goes unless another request of it waits.
    void writeEnded(int item);
    // Set by the main window: starts Timer1 so the queued write runs on its next tick.
    std::function<void()> onWriteRequested;
};

} // namespace qmx
