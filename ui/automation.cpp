#include "ui/automation.h"

#include "comm/port_wait.h"
#include "ui/chart/velder_chartctl.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>

#include <cstdlib>

namespace qmx {

namespace {

// Windows the dump and the paths know: named top-level widgets, menus and popups aside.
QList<QWidget*> namedWindows()
{
    QList<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->objectName().isEmpty() && !qobject_cast<QMenu*>(w) &&
            !w->objectName().startsWith(QLatin1String("qt_")))
            out << w;
    return out;
}

QWidget* windowNamed(const QString& name)
{
    for (QWidget* w : namedWindows())
        if (w->objectName() == name)
            return w;
    return nullptr;
}

// "Visible" and "Enabled" as the program set them on the control itself, not as inherited from a
// hidden page or a disabled frame around it.
bool ownVisible(const QWidget* w)
{
    if (w->isWindow())
        return w->isVisible();
    return !(w->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
             w->testAttribute(Qt::WA_WState_Hidden));
}

bool ownEnabled(const QWidget* w)
{
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

QJsonValue textOf(QWidget* w)
{
    if (w->isWindow())
        return w->windowTitle();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* f = qobject_cast<GroupFrame*>(w))
        return f->caption();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* t = qobject_cast<QTextBrowser*>(w))
        return t->source().toLocalFile();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        return p->toPlainText();
    if (auto* t = qobject_cast<QTabWidget*>(w))
        return t->tabText(t->currentIndex());
    return QJsonValue::Null;
}

QJsonObject describe(QWidget* w)
{
    QJsonObject o;
    o.insert(QStringLiteral("class"), QLatin1String(w->metaObject()->className()));
    o.insert(QStringLiteral("text"), textOf(w));
    o.insert(QStringLiteral("visible"), ownVisible(w));
    o.insert(QStringLiteral("enabled"), ownEnabled(w));
    o.insert(QStringLiteral("bg"),
             w->autoFillBackground()
                 ? QJsonValue(w->palette().color(w->backgroundRole()).name().toUpper())
                 : QJsonValue(QJsonValue::Null));
    auto* b = qobject_cast<QAbstractButton*>(w);
    o.insert(QStringLiteral("checked"),
             b && b->isCheckable() ? QJsonValue(b->isChecked()) : QJsonValue(QJsonValue::Null));
    QJsonValue value = QJsonValue::Null;
    if (auto* p = qobject_cast<QProgressBar*>(w)) {
        value = p->value();
        o.insert(QStringLiteral("max"), p->maximum());
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        value = c->currentIndex();
    } else if (auto* t = qobject_cast<QTabWidget*>(w)) {
        o.insert(QStringLiteral("current"), t->currentIndex());
        QJsonArray tabs;
        for (int i = 0; i < t->count(); ++i)
            tabs.append(t->tabText(i));
        o.insert(QStringLiteral("tabs"), tabs);
    } else if (auto* s = qobject_cast<PanelStatusBar*>(w)) {
        QJsonArray panels;
        for (int i = 1; i <= 4; ++i)
            panels.append(s->panel(i));
        o.insert(QStringLiteral("panels"), panels);
    } else if (auto* c = qobject_cast<Velder_ChartCtl*>(w)) {
        for (const char* p :
             {"Pv0Caption", "ChartMaxCh", "Charttime", "XScaleLong", "YScaleLow", "YScaleHigh",
              "YScaleDivision", "XScaleShort", "XScaleMidole", "XScaleTime", "Sv0Caption",
              "Mv1Caption", "Mv2Caption", "Stat0Caption"})
            o.insert(QLatin1String(p), QJsonValue::fromVariant(c->property(p)));
        QJsonArray trace;
        for (int16_t t : c->TraceOn)
            trace.append(t);
        o.insert(QStringLiteral("TraceOn"), trace);
        o.insert(QStringLiteral("RunState"), c->RunState);
        o.insert(QStringLiteral("samples"), c->samples());
        o.insert(QStringLiteral("running"), c->isRunning());
    }
    o.insert(QStringLiteral("value"), value);
    return o;
}

QJsonObject describe(QAction* a)
{
    return {{QStringLiteral("class"), QStringLiteral("QAction")},
            {QStringLiteral("text"), a->text()},
            {QStringLiteral("visible"), a->isVisible()},
            {QStringLiteral("enabled"), a->isEnabled()},
            {QStringLiteral("checked"),
             a->isCheckable() ? QJsonValue(a->isChecked()) : QJsonValue(QJsonValue::Null)}};
}

bool isDumped(QWidget* w)
{
    const QString n = w->objectName();
    if (n.isEmpty() || n.startsWith(QLatin1String("qt_")) || qobject_cast<QMenu*>(w))
        return false;
    // The inner parts of a file dialog are Qt's, not the program's.
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<QFileDialog*>(p))
            return false;
    return true;
}

QJsonObject fail(const QString& why)
{
    return {{QStringLiteral("ok"), false}, {QStringLiteral("error"), why}};
}

QJsonObject okReply()
{
    return {{QStringLiteral("ok"), true}};
}

} // namespace

QList<AutomationKey> parseKeys(const QString& text, bool* ok)
{
    QList<AutomationKey> keys;
    if (ok)
        *ok = true;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\')) {
            // Qt's key codes for the printable Latin-1 characters are their upper-case codes.
            keys.append({int(c.toUpper().unicode()), QString(c)});
            continue;
        }
        const QChar e = i + 1 < text.size() ? text[++i] : QChar();
        if (e == QLatin1Char('r'))
            keys.append({Qt::Key_Return, QStringLiteral("\r")});
        else if (e == QLatin1Char('b'))
            keys.append({Qt::Key_Backspace, QStringLiteral("\b")});
        else if (e == QLatin1Char('e'))
            keys.append({Qt::Key_Escape, QString(QChar(0x1b))});
        else if (e == QLatin1Char('\\'))
            keys.append({Qt::Key_Backslash, QStringLiteral("\\")});
        else {
            if (ok)
                *ok = false;
            break;
        }
    }
    return keys;
}

// The names of the scopes between a control and its window: a control of the chart is
// "MainDisp/Velder_ChartCtl1/cmdRUN", so its names never meet the window's own.
QString scopeOf(QWidget* c, QWidget* win)
{
    QString scope;
    for (QWidget* p = c->parentWidget(); p && p != win; p = p->parentWidget())
        if (p->property("automationScope").toBool())
            scope = p->objectName() + QLatin1Char('/') + scope;
    return scope;
}

QJsonObject dumpWidgets()
{
    QJsonObject widgets;
    for (QWidget* win : namedWindows()) {
        const QString wn = win->objectName();
        widgets.insert(wn, describe(win));
        // A dialog owned by this window is a window of its own, listed under its own name.
        for (QWidget* c : win->findChildren<QWidget*>())
            if (c->window() == win && isDumped(c))
                widgets.insert(wn + QLatin1Char('/') + scopeOf(c, win) + c->objectName(),
                               describe(c));
        for (QAction* a : win->findChildren<QAction*>())
            if (!a->objectName().isEmpty() && !a->objectName().startsWith(QLatin1String("qt_")))
                widgets.insert(wn + QLatin1Char('/') + a->objectName(), describe(a));
    }
    QJsonObject out{{QStringLiteral("widgets"), widgets}};
    const QJsonObject box = ui::openBoxInfo();
    if (!box.isEmpty())
        out.insert(QStringLiteral("open_box"), box);
    return out;
}

QWidget* findControl(const QString& path)
{
    const int slash = path.indexOf(QLatin1Char('/'));
    QWidget* win = windowNamed(slash < 0 ? path : path.left(slash));
    if (!win || slash < 0)
        return win;
    const QString rest = path.mid(slash + 1);
    const int last = rest.lastIndexOf(QLatin1Char('/'));
    const QString scope = last < 0 ? QString() : rest.left(last + 1);
    for (QWidget* c : win->findChildren<QWidget*>(rest.mid(last + 1)))
        if (c->window() == win && scopeOf(c, win) == scope)
            return c;
    return nullptr;
}

QAction* findAction(const QString& path)
{
    const int slash = path.indexOf(QLatin1Char('/'));
    QWidget* win = slash < 0 ? nullptr : windowNamed(path.left(slash));
    return win ? win->findChild<QAction*>(path.mid(slash + 1)) : nullptr;
}

Automation::Automation(const QString& path, std::function<void()> beforeQuit)
    : beforeQuit_(std::move(beforeQuit))
{
    QLocalServer::removeServer(path);
    server_.listen(path);
    connect(&server_, &QLocalServer::newConnection, this, &Automation::onConnection);
}

Automation::~Automation() = default;

// An action runs as the operator's would: operator input waits while the program waits for the
// controller, so actions wait then too, in one queue, and run in the order they came. One action
// a pass of the event loop: an action that closes a box lets the program go on (and raise its next
// box) before the next action runs.
void Automation::later(std::function<void()> action)
{
    pending_.push_back(std::move(action));
    armNext(0);
}

void Automation::armNext(int ms)
{
    if (armed_)
        return;
    armed_ = true;
    QTimer::singleShot(ms, this, &Automation::runNext);
}

void Automation::runNext()
{
    armed_ = false;
    if (pending_.empty())
        return;
    if (waitingForThePort()) {
        armNext(5);
        return;
    }
    const std::function<void()> action = std::move(pending_.front());
    pending_.pop_front();
    // Armed before the action runs: an action that opens a modal window runs its own event loop,
    // and the next action is meant for that window.
    if (!pending_.empty())
        armNext(0);
    action();
}

void Automation::onConnection()
{
    while (QLocalSocket* s = server_.nextPendingConnection()) {
        connect(s, &QLocalSocket::readyRead, this, [this, s] { onReadyRead(s); });
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    }
}

void Automation::onReadyRead(QLocalSocket* s)
{
    while (s->canReadLine()) {
        const QString line = QString::fromUtf8(s->readLine()).trimmed();
        bool quit = false;
        const QJsonObject reply = handle(line, &quit);
        s->write(QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n');
        s->flush();
        if (quit) {
            s->waitForBytesWritten(1000);
            if (beforeQuit_)
                beforeQuit_();
            std::_Exit(0);
        }
    }
}

QJsonObject Automation::handle(const QString& line, bool* quit)
{
    const int sp = line.indexOf(QLatin1Char(' '));
    const QString cmd = sp < 0 ? line : line.left(sp);
    const QString rest = sp < 0 ? QString() : line.mid(sp + 1);

    if (cmd == QLatin1String("dump"))
        return dumpWidgets();
    if (cmd == QLatin1String("quit")) {
        if (quit)
            *quit = true;
        return okReply();
    }
    if (cmd == QLatin1String("answer")) {
        if (ui::openBoxInfo().isEmpty())
            return fail(QStringLiteral("no box is open"));
        later([rest] { ui::answerOpen(rest); });
        return okReply();
    }
    if (cmd == QLatin1String("trigger")) {
        QPointer<QAction> a = findAction(rest);
        if (!a)
            return fail(QStringLiteral("unknown path ") + rest);
        later([a] {
            if (a)
                a->trigger();
        });
        return okReply();
    }
    if (cmd == QLatin1String("click")) {
        QPointer<QAbstractButton> b = qobject_cast<QAbstractButton*>(findControl(rest));
        if (!b)
            return fail(QStringLiteral("unknown path ") + rest);
        later([b] {
            if (b)
                b->click();
        });
        return okReply();
    }

    // The commands with an argument after the path: the path runs to the last blank for settab and
    // select, to the first blank for settext (whose text may hold blanks).
    if (cmd == QLatin1String("settab") || cmd == QLatin1String("select")) {
        const int last = rest.lastIndexOf(QLatin1Char(' '));
        const QString path = last < 0 ? rest : rest.left(last);
        bool isNum = false;
        const int n = last < 0 ? -1 : rest.mid(last + 1).toInt(&isNum);
        if (!isNum)
            return fail(QStringLiteral("missing index"));
        if (cmd == QLatin1String("settab")) {
            QPointer<QTabWidget> t = qobject_cast<QTabWidget*>(findControl(path));
            if (!t)
                return fail(QStringLiteral("unknown path ") + path);
            later([t, n] {
                if (t)
                    t->setCurrentIndex(n);
            });
            return okReply();
        }
        if (QPointer<QComboBox> c = qobject_cast<QComboBox*>(findControl(path))) {
            later([c, n] {
                if (c)
                    c->setCurrentIndex(n);
            });
            return okReply();
        }
        const QString element = path + QLatin1Char('(') + QString::number(n) + QLatin1Char(')');
        QPointer<QAbstractButton> b = qobject_cast<QAbstractButton*>(findControl(element));
        if (!b)
            return fail(QStringLiteral("unknown path ") + element);
        later([b] {
            if (b && !(b->isCheckable() && b->isChecked()))
                b->click();
        });
        return okReply();
    }
    if (cmd == QLatin1String("close")) {
        QPointer<QWidget> w = windowNamed(rest);
        if (!w)
            return fail(QStringLiteral("unknown window ") + rest);
        later([w] {
            if (w)
                w->close();
        });
        return okReply();
    }
    if (cmd == QLatin1String("grab")) {
        const int first = rest.indexOf(QLatin1Char(' '));
        const QString name = first < 0 ? rest : rest.left(first);
        const QString file = first < 0 ? QString() : rest.mid(first + 1);
        QWidget* w = windowNamed(name);
        if (!w)
            return fail(QStringLiteral("unknown window ") + name);
        if (file.isEmpty() || !w->grab().save(file, "PNG"))
            return fail(QStringLiteral("cannot write ") + file);
        return okReply();
    }
    if (cmd == QLatin1String("keys")) {
        const int first = rest.indexOf(QLatin1Char(' '));
        const QString path = first < 0 ? rest : rest.left(first);
        bool ok = false;
        const QList<AutomationKey> keys =
            parseKeys(first < 0 ? QString() : rest.mid(first + 1), &ok);
        QPointer<QWidget> w = findControl(path);
        if (!w)
            return fail(QStringLiteral("unknown path ") + path);
        if (!ok)
            return fail(QStringLiteral("unknown escape in keys"));
        later([w, keys] {
            for (const AutomationKey& k : keys) {
                if (!w)
                    return;
                QKeyEvent press(QEvent::KeyPress, k.key, Qt::NoModifier, k.text);
                QApplication::sendEvent(w, &press);
                if (!w)
                    return;
                QKeyEvent release(QEvent::KeyRelease, k.key, Qt::NoModifier, k.text);
                QApplication::sendEvent(w, &release);
            }
        });
        return okReply();
    }
    if (cmd == QLatin1String("settext")) {
        const int first = rest.indexOf(QLatin1Char(' '));
        const QString path = first < 0 ? rest : rest.left(first);
        const QString text = first < 0 ? QString() : rest.mid(first + 1);
        QWidget* w = findControl(path);
        if (QPointer<QLineEdit> e = qobject_cast<QLineEdit*>(w)) {
            later([e, text] {
                if (e)
                    e->setText(text);
            });
            return okReply();
        }
        if (QPointer<QComboBox> c = qobject_cast<QComboBox*>(w); c && c->isEditable()) {
            later([c, text] {
                if (c)
                    c->setEditText(text);
            });
            return okReply();
        }
        return fail(QStringLiteral("unknown path ") + path);
    }
    return fail(QStringLiteral("unknown command ") + cmd);
}

} // namespace qmx
