#include "ui/ui_seam.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <optional>

namespace qmx::ui {

namespace {

int answerCursor = 0;
QPointer<QMessageBox> openMsg;
QPointer<QFileDialog> openFile;
QPointer<QColorDialog> openColor;
QString openColorAnswer;  // the colour given from outside for the open colour dialog
QString openFileAnswer;   // the path given from outside for the open file dialog
QString openFileProposal; // the path the open file dialog proposes

const char* iconWord(Icon i)
{
    switch (i) {
    case Icon::Critical:
        return "critical";
    case Icon::Question:
        return "question";
    case Icon::Exclamation:
        return "exclamation";
    case Icon::Information:
        return "information";
    case Icon::None:
        break;
    }
    return "none";
}

QStringList buttonWords(Buttons b)
{
    switch (b) {
    case Buttons::YesNo:
        return {QStringLiteral("Yes"), QStringLiteral("No")};
    case Buttons::RetryCancel:
        return {QStringLiteral("Retry"), QStringLiteral("Cancel")};
    case Buttons::OK:
        break;
    }
    return {QStringLiteral("OK")};
}

QString answerWord(Answer a)
{
    switch (a) {
    case Answer::OK:
        return QStringLiteral("OK");
    case Answer::Yes:
        return QStringLiteral("Yes");
    case Answer::No:
        return QStringLiteral("No");
    case Answer::Retry:
        return QStringLiteral("Retry");
    case Answer::Cancel:
        return QStringLiteral("Cancel");
    case Answer::None:
        break;
    }
    return QString();
}

Answer answerOf(const QString& w)
{
    const QString t = w.trimmed();
    if (t.compare(QLatin1String("OK"), Qt::CaseInsensitive) == 0)
        return Answer::OK;
    if (t.compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0)
        return Answer::Yes;
    if (t.compare(QLatin1String("No"), Qt::CaseInsensitive) == 0)
        return Answer::No;
    if (t.compare(QLatin1String("Retry"), Qt::CaseInsensitive) == 0)
        return Answer::Retry;
    if (t.compare(QLatin1String("Cancel"), Qt::CaseInsensitive) == 0)
        return Answer::Cancel;
    return Answer::None;
}

// The next scripted answer, or nothing when there is no list or it is used up. The file is read
// again each time so a test may append answers while the program runs.
std::optional<QString> nextScriptedAnswer()
{
    const QString path = qEnvironmentVariable("QMX_ANSWERS");
    if (path.isEmpty())
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList lines;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!line.isEmpty())
            lines << line;
    }
    if (answerCursor >= lines.size())
        return std::nullopt;
    return lines.at(answerCursor++);
}

void logLine(const QJsonObject& o)
{
    const QString path = qEnvironmentVariable("QMX_MSGLOG");
    if (path.isEmpty())
        return;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    f.write(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
    f.flush();
}

QWidget* boxParent()
{
    return QApplication::activeWindow();
}

// Shows `dialog` (made on the heap, its parent the window it is raised from) until it is answered,
// and returns `read` of it. Code may close or delete that window while the dialog waits (going
// offline, the program ending): the dialog then goes with it and the answer is `gone`. `open`
// names the dialog while it waits, for an answer from outside.
template <class Dialog, class Result, class Read>
Result execOwned(Dialog* dialog, QPointer<Dialog>& open, Result gone, Read read)
{
    const QPointer<Dialog> owned = dialog;
    open = dialog;
    dialog->exec();
    open = nullptr;
    const Result answer = owned ? read(*owned) : gone;
    delete owned.data();
    return answer;
}

// "*.dat(data file)|*.dat" -> "*.dat(data file) (*.dat)"
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts.at(i) + QStringLiteral(" (") + parts.at(i + 1) + QLatin1Char(')');
    return out.isEmpty() ? filter : out.join(QStringLiteral(";;"));
}

QString withDefaultExt(const QString& path, const QString& ext)
{
    if (path.isEmpty() || ext.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + ext;
}

} // namespace

QString applicationTitle()
{
    return QStringLiteral("DFX-QMX07K");
}

Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title,
              const QString& detail)
{
    const QString shownTitle = title.isEmpty() ? applicationTitle() : title;
    Answer answer = Answer::None;
    if (auto scripted = nextScriptedAnswer()) {
        answer = answerOf(*scripted);
    } else {
        QMessageBox& box = *new QMessageBox(boxParent());
        box.setObjectName(QStringLiteral("MsgBox"));
        box.setWindowTitle(shownTitle);
        box.setText(text);
        box.setDetailedText(detail);
        switch (icon) {
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        switch (buttons) {
        case Buttons::OK:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::RetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
        }
        // Gone with its window, the box has been closed without a button.
        const QMessageBox::StandardButton clicked =
            execOwned(&box, openMsg, QMessageBox::NoButton,
                      [](QMessageBox& b) { return b.standardButton(b.clickedButton()); });
        switch (clicked) {
        case QMessageBox::Ok:
            answer = Answer::OK;
            break;
        case QMessageBox::Yes:
            answer = Answer::Yes;
            break;
        case QMessageBox::No:
            answer = Answer::No;
            break;
        case QMessageBox::Retry:
            answer = Answer::Retry;
            break;
        case QMessageBox::Cancel:
            answer = Answer::Cancel;
            break;
        default:
            // Closed without a button (Esc on a one-button box, or gone with its window): the
            // box's only or escape answer.
            answer = buttons == Buttons::OK      ? Answer::OK
                     : buttons == Buttons::YesNo ? Answer::No
                                                 : Answer::Cancel;
            break;
        }
    }
    QJsonObject line{{QStringLiteral("box"), QStringLiteral("msg")},
                     {QStringLiteral("icon"), QLatin1String(iconWord(icon))},
                     {QStringLiteral("title"), shownTitle},
                     {QStringLiteral("text"), text},
                     {QStringLiteral("buttons"), QJsonArray::fromStringList(buttonWords(buttons))},
                     {QStringLiteral("answer"), answerWord(answer)}};
    if (!detail.isEmpty())
        line.insert(QStringLiteral("detail"), detail);
    logLine(line);
    return answer;
}

QString FileDialog(FileMode mode, const QString& dir, const QString& filter,
                   const QString& defaultExt, const QString& fileName)
{
    QString path;
    const QString proposal = fileName.isEmpty() ? QString() : QDir(dir).filePath(fileName);
    if (auto scripted = nextScriptedAnswer()) {
        if (scripted->compare(QLatin1String("Cancel"), Qt::CaseInsensitive) == 0)
            path.clear();
        else if (!proposal.isEmpty() &&
                 scripted->compare(QLatin1String("OK"), Qt::CaseInsensitive) == 0)
            path = proposal;
        else
            path = *scripted;
    } else {
        QFileDialog& dlg = *new QFileDialog(boxParent(), QString(), dir, qtFilter(filter));
        dlg.setObjectName(QStringLiteral("FileDialog"));
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        // The program asks its own overwrite question after the dialog.
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
        dlg.setAcceptMode(mode == FileMode::Save ? QFileDialog::AcceptSave
                                                 : QFileDialog::AcceptOpen);
        dlg.setFileMode(mode == FileMode::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dlg.setDefaultSuffix(defaultExt);
        if (!fileName.isEmpty())
            dlg.selectFile(fileName);
        openFileAnswer.clear();
        openFileProposal = proposal;
        // Gone with its window, the dialog has been cancelled.
        path = execOwned(&dlg, openFile, QString(), [](QFileDialog& f) {
            if (!openFileAnswer.isEmpty())
                return openFileAnswer;
            return f.result() == QDialog::Accepted ? f.selectedFiles().value(0) : QString();
        });
        openFileProposal.clear();
        openFileAnswer.clear();
    }
    path = withDefaultExt(path, defaultExt);
    QJsonObject line{{QStringLiteral("box"), QStringLiteral("file")},
                     {QStringLiteral("mode"),
                      mode == FileMode::Save ? QStringLiteral("save") : QStringLiteral("open")},
                     {QStringLiteral("dir"), dir},
                     {QStringLiteral("filter"), filter},
                     {QStringLiteral("answer"), path.isEmpty() ? QStringLiteral("Cancel") : path}};
    if (!fileName.isEmpty())
        line.insert(QStringLiteral("name"), fileName);
    logLine(line);
    return path;
}

QString ColorDialog(const QColor& initial)
{
    QString chosen;
    if (auto scripted = nextScriptedAnswer()) {
        const QColor c(scripted->trimmed());
        chosen = scripted->compare(QLatin1String("Cancel"), Qt::CaseInsensitive) != 0 && c.isValid()
                     ? c.name().toUpper()
                     : QString();
    } else {
        QColorDialog& dlg = *new QColorDialog(initial, boxParent());
        dlg.setObjectName(QStringLiteral("ColorDialog"));
        dlg.setOption(QColorDialog::DontUseNativeDialog);
        openColorAnswer.clear();
        // Gone with its window, the dialog has been cancelled.
        chosen = execOwned(&dlg, openColor, QString(), [](QColorDialog& c) {
            if (!openColorAnswer.isEmpty())
                return openColorAnswer;
            return c.result() == QDialog::Accepted && c.selectedColor().isValid()
                       ? c.selectedColor().name().toUpper()
                       : QString();
        });
        openColorAnswer.clear();
    }
    logLine({{QStringLiteral("box"), QStringLiteral("color")},
             {QStringLiteral("initial"), initial.name().toUpper()},
             {QStringLiteral("answer"), chosen.isEmpty() ? QStringLiteral("Cancel") : chosen}});
    return chosen;
}

void Beep()
{
    logLine({{QStringLiteral("beep"), 1}});
    QApplication::beep();
}

bool answerOpen(const QString& wordOrPath, QString* error)
{
    if (openMsg) {
        const Answer a = answerOf(wordOrPath);
        QMessageBox::StandardButton sb = QMessageBox::NoButton;
        switch (a) {
        case Answer::OK:
            sb = QMessageBox::Ok;
            break;
        case Answer::Yes:
            sb = QMessageBox::Yes;
            break;
        case Answer::No:
            sb = QMessageBox::No;
            break;
        case Answer::Retry:
            sb = QMessageBox::Retry;
            break;
        case Answer::Cancel:
            sb = QMessageBox::Cancel;
            break;
        case Answer::None:
            break;
        }
        QAbstractButton* b = sb == QMessageBox::NoButton ? nullptr : openMsg->button(sb);
        if (!b) {
            if (error)
                *error = QStringLiteral("the open box has no button ") + wordOrPath;
            return false;
        }
        b->click();
        return true;
    }
    if (openFile) {
        if (wordOrPath.compare(QLatin1String("Cancel"), Qt::CaseInsensitive) == 0) {
            openFile->reject();
        } else if (!openFileProposal.isEmpty() &&
                   wordOrPath.compare(QLatin1String("OK"), Qt::CaseInsensitive) == 0) {
            openFileAnswer = openFileProposal;
            static_cast<QDialog*>(openFile.data())->done(QDialog::Accepted);
        } else {
            openFileAnswer = wordOrPath;
            static_cast<QDialog*>(openFile.data())->done(QDialog::Accepted);
        }
        return true;
    }
    if (openColor) {
        if (wordOrPath.compare(QLatin1String("Cancel"), Qt::CaseInsensitive) == 0) {
            openColor->reject();
            return true;
        }
        const QColor c(wordOrPath.trimmed());
        if (!wordOrPath.trimmed().startsWith(QLatin1Char('#')) || !c.isValid()) {
            if (error)
                *error = QStringLiteral("a colour is \"#RRGGBB\" or \"Cancel\": ") + wordOrPath;
            return false;
        }
        openColorAnswer = c.name().toUpper();
        static_cast<QDialog*>(openColor.data())->done(QDialog::Accepted);
        return true;
    }
    if (error)
        *error = QStringLiteral("no box is open");
    return false;
}

QJsonObject openBoxInfo()
{
    if (openMsg)
        return {{QStringLiteral("box"), QStringLiteral("msg")},
                {QStringLiteral("text"), openMsg->text()}};
    if (openFile)
        return {{QStringLiteral("box"), QStringLiteral("file")},
                {QStringLiteral("dir"), openFile->directory().absolutePath()}};
    if (openColor)
        return {{QStringLiteral("box"), QStringLiteral("color")},
                {QStringLiteral("initial"), openColor->currentColor().name().toUpper()}};
    return {};
}

void resetAnswers()
{
    answerCursor = 0;
}

} // namespace qmx::ui
