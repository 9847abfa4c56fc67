// What the numeric entry and the list choice share: each is one edit of one item, and it ends
// once, by its OK, by Cancel, or dropped when the data under it no longer allow the edit.
#pragma once

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
    // The edit was stored or dropped: nothing more is committed.
    bool committed_ = false;
};

} // namespace qmx
