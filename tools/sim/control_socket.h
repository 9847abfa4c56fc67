// The control channel's transport: a Unix socket taking one JSON command per line and answering
// each with one JSON line.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace qmxsim {

class Simulator;

class ControlServer : public QObject {
    Q_OBJECT
public:
    ControlServer(Simulator& sim, QObject* parent = nullptr);
    ~ControlServer() override;
    bool listen(const QString& path, QString& error);

private:
    void onConnection();
    void onReadyRead(QLocalSocket* socket);

    Simulator& sim_;
    QLocalServer* server_;
    QString path_;
};

} // namespace qmxsim
