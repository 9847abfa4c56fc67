// Every message box, file dialog and beep of the program goes through here, so one place decides
// how the operator is asked, and a test run can answer and record what was asked:
//   QMX_ANSWERS=FILE  answers taken in order, one a line ("Yes", "No", "OK", "Retry", "Cancel" for
//                     a message box; a path, "OK" for the name the dialog proposes, or "Cancel" for
//                     a file dialog). When the list is used up, the box waits for a person as
//                     usual.
//   QMX_MSGLOG=FILE   one JSON object a line, appended and flushed at once:
//                     {"box":"msg","icon":…,"title":…,"text":…,"buttons":[…],"answer":…}
//                     ("detail" too when the box has a detail text)
//                     {"box":"file","mode":"save|open","dir":…,"filter":…,"name":…,"answer":…}
//                     ("name" only when the dialog proposes one)
//                     {"box":"color","initial":"#RRGGBB","answer":"#RRGGBB"|"Cancel"}
//                     {"beep":1}
#pragma once

#include <QColor>
#include <QJsonObject>
#include <QString>

class QWidget;

namespace qmx::ui {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { OK, YesNo, RetryCancel };
enum class Answer { None, OK, Yes, No, Retry, Cancel };
enum class FileMode { Save, Open };

// The title of every box that has none of its own.
QString applicationTitle();

// A modal message box. An empty title gives the application's title. `detail`, when given, is
// the box's detail text (shown on request under the text): the reason behind the program's own
// message.
Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title = QString(),
              const QString& detail = QString());

// A modal file dialog. `filter` is "description|pattern"; `defaultExt` is added to a name given
// without one; `fileName`, when given, is the name the dialog proposes in `dir`, and the answer
// "OK" takes it as it stands. Returns the chosen path, or an empty text when the operator cancels.
// Never asks its own overwrite question: the caller asks the program's.
QString FileDialog(FileMode mode, const QString& dir, const QString& filter,
                   const QString& defaultExt, const QString& fileName = QString());

// A modal colour dialog starting from `initial`. Returns the chosen colour as "#RRGGBB", or an
// empty text when the operator cancels. Scripted and outside answers are "#RRGGBB" or "Cancel".
QString ColorDialog(const QColor& initial);

void Beep();

// The box or dialog now waiting for a person, answered from outside (the automation): a button word
// for a message box, a path or "Cancel" for a file dialog, "#RRGGBB" or "Cancel" for a colour
// dialog. False with a reason when none is open or the word does not fit.
bool answerOpen(const QString& wordOrPath, QString* error = nullptr);
// {"box":"msg"|"file"|"color", "text"/"dir"/"initial": …} of the waiting box, empty when none is
// open.
QJsonObject openBoxInfo();

// Starts the answer list from its first line again (tests that change QMX_ANSWERS in-process).
void resetAnswers();

} // namespace qmx::ui
