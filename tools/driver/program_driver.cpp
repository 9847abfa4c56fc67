#include "program_driver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QSettings>
#include <QThread>

namespace {
int counter = 0;
}

ProgramRun::ProgramRun(const QString& lang) : shared_(dir_.path()), lang_(lang)
{
    const QString tag = QString::number(++counter);
    answers_ = dir_.filePath(QStringLiteral("answers") + tag + QStringLiteral(".txt"));
    log_ = dir_.filePath(QStringLiteral("msglog") + tag + QStringLiteral(".jsonl"));
    socket_ = dir_.filePath(QStringLiteral("auto") + tag + QStringLiteral(".sock"));
    QDir().mkpath(shared_ + QStringLiteral("/config"));
    QDir().mkpath(shared_ + QStringLiteral("/data"));
}

ProgramRun::ProgramRun(const ProgramRun& other, const QString& lang) : ProgramRun(lang)
{
    shared_ = other.shared_;
}

ProgramRun::~ProgramRun()
{
    if (running()) {
        proc_.kill();
        proc_.waitForFinished(5000);
    }
}

QString ProgramRun::programFolder() const
{
    return shared_ + QStringLiteral("/data/VELDER BRANTIS/DFX-QMX07K");
}

QString ProgramRun::iniPath() const
{
    return shared_ + QStringLiteral("/config/VELDER BRANTIS/DFX-QMX07K.ini");
}

std::unique_ptr<QSettings> ProgramRun::settings() const
{
    return std::make_unique<QSettings>(iniPath(), QSettings::IniFormat);
}

void ProgramRun::setAnswers(const QStringList& lines)
{
    QFile f(answers_);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    for (const QString& l : lines)
        f.write(l.toUtf8() + '\n');
}

void ProgramRun::addAnswers(const QStringList& lines)
{
    QFile f(answers_);
    f.open(QIODevice::WriteOnly | QIODevice::Append);
    for (const QString& l : lines)
        f.write(l.toUtf8() + '\n');
}

QList<QJsonObject> ProgramRun::msgLog() const
{
    QList<QJsonObject> out;
    QFile f(log_);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            out << QJsonDocument::fromJson(line).object();
    return out;
}

bool ProgramRun::waitLog(int n, int ms) const
{
    QElapsedTimer t;
    t.start();
    while (msgLog().size() < n) {
        if (t.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

void ProgramRun::start(const QStringList& args, const QString& workDir, bool automation)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), shared_ + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), shared_ + QStringLiteral("/data"));
    env.insert(QStringLiteral("QMX_ANSWERS"), answers_);
    env.insert(QStringLiteral("QMX_MSGLOG"), log_);
    if (automation)
        env.insert(QStringLiteral("QMX_AUTOMATION"), socket_);
    else
        env.remove(QStringLiteral("QMX_AUTOMATION"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LANG"), lang_);
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("LC_MESSAGES"));
    env.remove(QStringLiteral("LANGUAGE"));
    proc_.setProcessEnvironment(env);
    proc_.setWorkingDirectory(workDir.isEmpty() ? dir_.path() : workDir);
    proc_.start(QStringLiteral(QMX_PROGRAM), args);
    proc_.waitForStarted(10000);
}

bool ProgramRun::waitReady(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (!running())
            return false;
        QLocalSocket s;
        s.connectToServer(socket_);
        if (s.waitForConnected(200))
            return true;
        QThread::msleep(20);
    }
    return false;
}

QJsonObject ProgramRun::command(const QString& line, int ms)
{
    QLocalSocket s;
    s.connectToServer(socket_);
    if (!s.waitForConnected(ms))
        return {{QStringLiteral("ok"), false},
                {QStringLiteral("error"), QStringLiteral("no connection")}};
    s.write(line.toUtf8() + '\n');
    s.flush();
    QByteArray reply;
    QElapsedTimer t;
    t.start();
    while (!reply.endsWith('\n') && t.elapsed() < ms) {
        if (s.waitForReadyRead(100))
            reply += s.readAll();
        else if (s.state() != QLocalSocket::ConnectedState)
            break;
    }
    return QJsonDocument::fromJson(reply).object();
}

bool ProgramRun::waitDump(const std::function<bool(const QJsonObject&)>& pred, int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (!running())
            return false;
        if (pred(dump()))
            return true;
        QThread::msleep(30);
    }
    return false;
}

bool ProgramRun::waitFinished(int ms)
{
    return proc_.state() == QProcess::NotRunning || proc_.waitForFinished(ms);
}
