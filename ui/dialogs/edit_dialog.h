// What the numeric entry and the list choice share: each is one edit of one item, and it ends
// once, by its OK, by Cancel, or dropped when the data under it no longer allow the edit.
#pragma once

#include "model/qmx_data.h"
#include "rules/set_refusal.h"

#include <QDialog>

namespace qmx {

class EditDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    // The edit may not go on: its item's set button went from the pages, or now refuses it. The
    // dialog closes as Cancel closes it, silently, storing nothing.
    void dropEdit()
    {
        if (committed_)
            return;        // its own OK is closing it
        committed_ = true; // an Enter already on its way finds nothing to commit
        QDialog::reject();
    }

protected:
    // The last guard of the set button's refusals, at OK: data that came to meet one since
    // (auto-tuning started, "Lock 3") end the edit unstored, whether or not a layout told the
    // dialog. True when the edit was dropped.
    bool droppedAsRefused(const QmxData& d, int item)
    {
        if (!editRefused(d, item))
            return false;
        dropEdit();
        return true;
    }

    // The edit was stored or dropped: nothing more is committed.
    bool committed_ = false;
};

} // namespace qmx
