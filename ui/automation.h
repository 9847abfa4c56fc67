// The remote control a test run uses (QMX_AUTOMATION=PATH): a local socket server at PATH that
// takes one command a line and answers one JSON line.
//   dump                  every named control of every window, with its own Visible and Enabled
//   click PATH            a button ("MainDisp/Cmd_set(26)")
//   trigger PATH          a menu action ("MainDisp/mnuSave")
//   settab PATH N         a tab widget's page
//   settext PATH TEXT     a text box
//   select PATH N         a combo box's index, or option button N of the array PATH
//   answer WORD-or-PATH   the message box or file dialog waiting for a person
//   keys PATH TEXT        each character of TEXT pressed as a key on that control; "\r", "\b",
//                         "\e" stand for Enter, Backspace and Escape, "\\" for a backslash
//   grab WINDOW FILE      the window drawn into a PNG file; the reply comes once it is written
//   close WINDOW          the window's close box
//   quit                  ends the program at once, asking nothing
// An action runs a moment later in the event loop, after the actions sent before it (held back,
// like the operator's input, while the program waits for the controller); the reply {"ok":true}
// comes at once, or {"ok":false,"error":"…"} for a path that names nothing.
#pragma once

#include <QJsonObject>
#include <QList>
#include <QLocalServer>
#include <QObject>

#include <deque>
#include <functional>

class QAction;
class QLocalSocket;
class QWidget;

namespace qmx {

class Automation : public QObject {
    Q_OBJECT
public:
    // `beforeQuit` runs just before the quit command ends the process.
    Automation(const QString& path, std::function<void()> beforeQuit);
    ~Automation() override;

    // One command line in, one reply out; `quit` is set for the quit command.
    QJsonObject handle(const QString& line, bool* quit = nullptr);

private:
    void onConnection();
    void onReadyRead(QLocalSocket* s);
    // Queues an action; actions run one at a time in the order they came.
    void later(std::function<void()> action);
    void armNext(int ms);
    void runNext();

    QLocalServer server_;
    std::function<void()> beforeQuit_;
    std::deque<std::function<void()>> pending_;
    bool armed_ = false; // runNext is due
};

// One key of the keys command: the key code and the text it types.
struct AutomationKey {
    int key = 0;
    QString text;
};
// The keys a keys command's TEXT stands for; an unknown escape or a lone backslash ends the list
// early and sets `ok` false.
QList<AutomationKey> parseKeys(const QString& text, bool* ok = nullptr);

// The dump of every named control of every window: {"widgets":{…}}.
QJsonObject dumpWidgets();
// A control or a menu action by "Window/Name"; nullptr when there is none.
QWidget* findControl(const QString& path);
QAction* findAction(const QString& path);

} // namespace qmx
