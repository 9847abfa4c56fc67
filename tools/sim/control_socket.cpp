#include "control_socket.h"

#include "control_commands.h"
#include "simulator.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>

namespace qmxsim {

ControlServer::ControlServer(Simulator& sim, QObject* parent)
    : QObject(parent), sim_(sim), server_(new QLocalServer(this))
{
    connect(server_, &QLocalServer::newConnection, this, &ControlServer::onConnection);
}

ControlServer::~ControlServer()
{
    server_->close();
    if (!path_.isEmpty())
        QFile::remove(path_);
}

bool ControlServer::listen(const QString& path, QString& error)
{
    QLocalServer::removeServer(path); // a socket file left by a simulator that was killed
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path)) {
        error = server_->errorString();
        return false;
    }
    path_ = path;
    return true;
}

void ControlServer::onConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void ControlServer::onReadyRead(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine().trimmed();
        if (line.isEmpty())
            continue;
        QJsonParseError err{};
        const QJsonDocument doc = QJsonDocument::fromJson(line, &err);
        QJsonObject reply;
        if (err.error != QJsonParseError::NoError || !doc.isObject())
            reply = {{"ok", false}, {"error", "not a JSON object: " + err.errorString()}};
        else
            reply = runControlCommand(sim_, doc.object());
        socket->write(QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n');
        socket->flush();
    }
}

} // namespace qmxsim
