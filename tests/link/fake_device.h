#pragma once

// A counting device on loopback for the link tests: accepts connections,
// records what the tool sends and writes whatever the test gives it.

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class FakeDevice : public QObject
{
    Q_OBJECT

public:
    explicit FakeDevice(QObject* parent = nullptr) : QObject(parent)
    {
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server.nextPendingConnection()) {
                ++connections;
                peer = s;
                connect(s, &QTcpSocket::readyRead, this, [this, s] { received += s->readAll(); });
                connect(s, &QTcpSocket::disconnected, this, [this] { ++disconnections; });
            }
        });
    }

    bool Listen(quint16 port = 0) { return server.listen(QHostAddress::LocalHost, port); }
    quint16 Port() const { return server.serverPort(); }
    bool Connected() const { return peer && peer->state() == QAbstractSocket::ConnectedState; }

    void Send(const QByteArray& bytes)
    {
        if (peer) {
            peer->write(bytes);
            peer->flush();
        }
    }

    QTcpServer server;
    QPointer<QTcpSocket> peer;
    QByteArray received;
    int connections = 0;
    int disconnections = 0;
};
