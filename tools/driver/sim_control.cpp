#include "sim_control.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QThread>

SimControl::SimControl(const QStringList& args)
{
    log_ = dir_.filePath(QStringLiteral("wire.log"));
    socket_ = dir_.filePath(QStringLiteral("control.sock"));
    QStringList all{QStringLiteral("--dir"),     dir_.path(), QStringLiteral("--log"), log_,
                    QStringLiteral("--control"), socket_};
    all += args;
    proc_.setProgram(QStringLiteral(QMX_SIM_BINARY));
    proc_.setArguments(all);
    proc_.setProcessChannelMode(QProcess::SeparateChannels);
    proc_.start();
    QElapsedTimer t;
    t.start();
    QByteArray out;
    while (t.elapsed() < 10000 && proc_.state() != QProcess::NotRunning) {
        proc_.waitForReadyRead(100);
        out += proc_.readAllStandardOutput();
        if (out.contains("READY")) {
            ready_ = true;
            break;
        }
    }
}

SimControl::~SimControl()
{
    if (proc_.state() != QProcess::NotRunning) {
        proc_.terminate();
        if (!proc_.waitForFinished(3000))
            proc_.kill();
    }
}

QJsonObject SimControl::control(const QJsonObject& command)
{
    QLocalSocket s;
    s.connectToServer(socket_);
    if (!s.waitForConnected(2000))
        return {{"ok", false}, {"error", "no control socket"}};
    s.write(QJsonDocument(command).toJson(QJsonDocument::Compact) + '\n');
    s.waitForBytesWritten(1000);
    QByteArray line;
    QElapsedTimer t;
    t.start();
    while (!line.contains('\n') && t.elapsed() < 3000) {
        s.waitForReadyRead(100);
        line += s.readAll();
    }
    return QJsonDocument::fromJson(line.trimmed()).object();
}

QList<QJsonObject> SimControl::wire() const
{
    QList<QJsonObject> out;
    QFile f(log_);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (!l.trimmed().isEmpty())
            out << QJsonDocument::fromJson(l).object();
    return out;
}

QStringList SimControl::requests(const QString& port) const
{
    QStringList out;
    const QList<QJsonObject> all = wire();
    for (qsizetype i = markLine_; i < all.size(); ++i) {
        const QJsonObject& e = all[i];
        if (e.value("dir").toString() != QLatin1String("rx") || e.value("port").toString() != port)
            continue;
        if (!e.contains("cmd"))
            continue; // noise, or bytes at the wrong speed
        QString r = e.value("cmd").toString() + ' ' + e.value("reg").toString();
        if (e.contains("data") && !e.value("data").toString().isEmpty())
            r += ' ' + e.value("data").toString();
        out << r;
    }
    return out;
}

void SimControl::mark()
{
    markLine_ = int(wire().size());
}
