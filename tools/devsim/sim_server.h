#pragma once

#include "sim_device.h"
#include "sim_options.h"

#include "ko_frame_parser.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

#include <functional>
#include <memory>
#include <random>
#include <vector>

class QTcpSocket;

// The device on the network: listens on 127.0.0.1 only, answers each
// connection's requests through SimDevice, streams the pictures and tracked
// objects its view modes ask for, and plays the fault modes of the options.
class SimServer : public QObject
{
    Q_OBJECT

public:
    using LogFunction = std::function<void(const QString&)>;

    // log receives one line per connection and per request; the line
    // "listening on 127.0.0.1:PORT" comes first, and again after a reboot.
    SimServer(const SimOptions& options, LogFunction log, QObject* parent = nullptr);
    ~SimServer() override;

    bool Start(QString& error);
    quint16 Port() const { return port; }
    bool Rebooting() const { return rebooting; }
    int Connections() const;
    SimDevice& Device() { return device; }

    // Bytes that a garbage-mode stream puts between two real frames: loose
    // bytes, broken frames and frames the tool cannot use. Never a whole
    // sound frame of a known code.
    static QByteArray Garbage(std::mt19937& random);

signals:
    void Listening(quint16 port);

private:
    struct Connection
    {
        int id = 0;
        QTcpSocket* socket = nullptr;
        KoFrameParser parser;
        int viewMode[4] = {0, 0, 0, 0};
        int loggedView[4] = {-1, -1, -1, -1};
        qint64 framesSent = 0;
        qint64 picturesSent = 0;
        QByteArray slowQueue; // slow mode: what still has to trickle out
        bool closing = false; // close once the slow queue is out
        bool dead = false;
    };

    void Listen(quint16 wanted);
    void Accept();
    void Read(Connection& c);
    void HandleFrame(Connection& c, const char* body, qsizetype size);
    void Tick();
    void Stream(Connection& c, bool flood);
    void FloodMessages(Connection& c);
    void Send(Connection& c, const QByteArray& body, bool picture = false);
    void Write(Connection& c, const QByteArray& bytes);
    void Close(Connection& c);
    void Trickle();
    void Reboot();
    void Purge();
    bool Backlogged(const Connection& c) const;
    void Log(const Connection* c, const QString& text);

    SimOptions options;
    LogFunction log;
    SimDevice device;
    QTcpServer server;
    QTimer frameTimer;
    QTimer trickleTimer;
    QElapsedTimer clock;
    qint64 lastTick = 0;
    std::vector<std::unique_ptr<Connection>> connections;
    std::mt19937 random;
    quint16 port = 0;
    int nextId = 1;
    bool rebooting = false;
    bool purgeQueued = false;
};
