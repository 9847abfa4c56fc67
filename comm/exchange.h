// The exchange with the controller as the main window runs it: one request through Sendcomm, the
// reply stored with ReadDataSet, the status verdict of special commands, the two small waits, the
// access key, and the special commands of the maker's protocol. The routines keep the names the
// rest of the program calls them by.
//
// Implemented in three files: exchange.cpp (Sendcomm, ReadDataSet, ComCheck, waits),
// access_key.cpp (Write_Key, Clear_Key), maker_commands.cpp (Memono ... Send_Para).
#pragma once

#include "comm/controller_record.h"
#include "comm/exchange_host.h"
#include "comm/velder_comm.h"
#include "model/qmx_data.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace qmx {

// Special command characters of the maker's protocol.
inline constexpr char16_t kCmdReadMemoryNo = 0x60;
inline constexpr char16_t kCmdReadFirst = 0x61;
inline constexpr char16_t kCmdReadSecond = 0x62;
inline constexpr char16_t kCmdWriteStandby = 0x70;
inline constexpr char16_t kCmdWriteFirst = 0x71;
inline constexpr char16_t kCmdWriteSecond = 0x72;

inline QString commandChar(char16_t c)
{
    return QString(QChar(c));
}

class Exchange : public QObject {
    Q_OBJECT
public:
    // Write_Key's own repeats (ESC, unexpected replies) and the repeats after the key-operation
    // message are bounded, so a controller that never settles cannot hold the program.
    static constexpr int kKeyMaxOwnSends = 3;
    static constexpr int kKeyMaxBusyRepeats = 5;

    Exchange(QmxData& data, Velder_Comm& comm, ExchangeHost& host, QObject* parent = nullptr);

    // --- one exchange --------------------------------------------------------------------------
    // Maps the request into the form of `Protocol` and hands it to the library; "" when there was
    // no answer or nothing could be sent.
    QString Sendcomm(const QString& stAdr, const QString& Subadr, const QString& Commod,
                     const QString& CommNo, const QString& Commdata, int retn);
    // Stores the value of an accepted reply into item `com` (MonVal 0..8, 67; ParaVal 11..68) and
    // records it as the controller's. A setting whose write is still queued keeps the operator's
    // value on screen: the write comes after and sends it.
    void ReadDataSet(const QString& tt, int com);
    // What the controller last confirmed for each setting since the link opened.
    ControllerRecord& record() { return record_; }
    const ControllerRecord& record() const { return record_; }
    // The status-bar verdict of a special command's reply; clears ComErr.
    void ComCheck(const QString& tt);
    // Returns after one 100 ms tick of Timer4, letting events run meanwhile.
    void Wait_100ms();
    void Timer4_Timer();
    // A token pause between a write and its read-back.
    void Dummy_Wait();

    // --- access key ----------------------------------------------------------------------------
    void Write_Key(const QString& data);
    void Clear_Key();

    // --- special commands (the item is ParaNo) ------------------------------------------------
    void Memono();
    void SV_change(const QString& SetingDATA);
    void DCOSL_change(const QString& SetingDATA);
    void Read_SV();
    void Read_data();
    void Send_Para();

    // The instrument number as a value 0..95, or -1 for any other text.
    static int instrumentNumber(const QString& stAdr);

    bool WaitFlag = false;

    // Special values the controller took (both writes of their own pair acknowledged: the value
    // staged, then committed; the alarms' standby writes beside them do not count) and special
    // reads that stored a value, counted from the start: a caller compares them around a step to
    // learn whether anything took.
    int specialValuesTaken() const { return valuesTaken_; }
    // A special value was taken since the count stood at `takenBefore`.
    bool specialValueTaken(int takenBefore) const { return valuesTaken_ > takenBefore; }
    int specialReadsStored() const { return readsStored_; }
    // Special reads that got no reply or one we cannot read (a refusal is an answer, not counted).
    int specialReadsFailed() const { return readsFailed_; }

private:
    bool svMemoryOption() const;
    void beginCommandFrame();
    void endCommandFrame();
    QString special(char16_t command, int codeIndex, const QString& data);
    // What the controller holds for a setting, as the write step judges it (heldByController).
    int16_t held(int item) const { return heldByController(data_, record_, item); }
    bool specialWrite(char16_t command, int codeIndex, const QString& data);
    void specialRead(char16_t command, int codeIndex, int item);
    void svPair(int firstIndex, int secondIndex, const QString& data);
    void standbyWrites();

    QmxData& data_;
    Velder_Comm& comm_;
    ExchangeHost& host_;
    int valuesTaken_ = 0;
    int readsStored_ = 0;
    int readsFailed_ = 0;
    ControllerRecord record_;
    QTimer Timer4;
};

} // namespace qmx
