// What the controller exchange needs from the main window. The main window implements it; the tests
// use a recording double. Everything here runs on the user-interface thread.
#pragma once

#include <QString>

namespace qmx {

class ExchangeHost {
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };

    virtual ~ExchangeHost() = default;

    // Status-bar panel `panel` (1: last exchange "OK"/"NG"; 4: activity text) shows `text`.
    virtual void setStatusPanel(int panel, const QString& text) = 0;
    // A modal message box with an OK button; returns once the operator closed it.
    virtual void messageBox(const QString& text, Icon icon, const QString& title) = 0;
    virtual void beep() = 0;
    // The communication-error box (Text_readmsg2) shows string 451 "Communication error".
    virtual void showCommError() = 0;
    // The key-operation notice: Text_readmsg3 (and Text_readmsg5 when `secondCopy`) become visible
    // and Timer3 starts, whose tick hides them again.
    virtual void showBusyNotice(bool secondCopy) = 0;
    // Runs pending window events and timer ticks, waiting for at least one to arrive.
    virtual void processEvents() = 0;
};

} // namespace qmx
