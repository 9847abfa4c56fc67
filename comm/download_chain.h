// The download of the screen data as plain rules, without a window: the fixed order in which the
// items go to the controller, which of them apply to the controller's options, and what each reply
// means for the run. The window walks the chain by position and acts on these verdicts.
#pragma once

#include <QString>

#include <vector>

namespace qmx {

struct QmxData;

namespace download {

// How an item reaches the controller.
enum class Route {
    Plain,      // "06" to the item's register
    SvChange,   // the set-value pair of special writes
    DcoslChange // the output-selection pair of special writes
};

struct Step {
    int item;    // item number: the one identity the rules below go by
    int element; // element of CommNoTbl2 for the special items, 0 for the plain ones
    Route route;
};

// The two download routines: mode 3 (the screen data on going online) and mode 5 (the Download
// menu), which has one pass more for the infrared emissivity.
enum class Routine { Screen, Menu };

// The items of a run in the order they are written, one pass each: 54 for Screen, 55 for Menu.
const std::vector<Step>& chain(Routine r);

// The register code the step is written to: CommNoTbl(item), or CommNoTbl2(element) for the
// special items. Taken from the tables at run time, so a user register map is followed.
QString codeOf(const QmxData& d, const Step& s);

// Whether the item applies to the controller's present options and state and is written at all.
bool Check_Para(const QmxData& d, int item);

// Whether the routine lets the pass end unwritten because of the model variant: the Menu run
// leaves the scaling and decimal-point items to the infrared model's own ranges and writes the
// emissivity only there.
bool skippedByVariant(Routine r, bool rdModel, int item);

// What the window does after one reply. Panel 1 shows `panel1` when it is not empty.
struct ReplyEffects {
    QString panel1;
    bool clearPanel4 = false;
    bool dataValid = false;     // the screen data counts as valid from now on
    bool commError = false;     // ComErr set, the communication-error box shown
    bool keepErrorText = false; // the box is shown without setting its text
    bool busyNotice = false;    // the key-operation notice with a beep
    bool abort = false;         // the download ends with string 292
    // The item did not reach the controller: no answer to a plain write, a refusal (but the busy
    // refusal of the AT item), or a reply we cannot read. The run tells the operator at its end.
    // Empty replies after the special writes say nothing: the window judges those by what the
    // controller acknowledged.
    bool writeFailed = false;
};

// The reply to the transfer-mode write that opens every download. Never ends the run.
ReplyEffects judgeTransferModeReply(int protocol, const QString& reply);

// The reply to the write of one item. For the items that went through the special writes the reply
// is empty: their routines report their own replies.
ReplyEffects judgeItemReply(int protocol, const QString& reply, const Step& s);

} // namespace download
} // namespace qmx
