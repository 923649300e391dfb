#pragma once

#include "sim_options.h"

#include "ko_capture_player.h"
#include "ko_frame_parser.h"

#include <QObject>
#include <QSet>
#include <QTcpServer>

#include <functional>
#include <memory>
#include <vector>

class QTcpSocket;

// The simulator in replay: every tool that connects to 127.0.0.1 gets the
// bytes of a capture from its start, with their original timing (or faster).
// What the tool sends is read and not answered. At the end of the capture
// the connection is closed, or the capture starts again (--loop).
class ReplayServer : public QObject
{
    Q_OBJECT

public:
    using LogFunction = std::function<void(const QString&)>;

    ReplayServer(const SimOptions& options, LogFunction log, QObject* parent = nullptr);
    ~ReplayServer() override;

    // Checks that the capture can be read and listens.
    bool Start(QString& error);
    quint16 Port() const { return server.serverPort(); }

    // What --info prints; returns the program's exit code (0 when the capture
    // ended properly, 3 when it is truncated or damaged, 1 when it cannot be read).
    static int PrintInfo(const QString& path, const LogFunction& out);

private:
    struct Connection
    {
        int id = 0;
        QTcpSocket* socket = nullptr;
        std::unique_ptr<KoCapturePlayer> player;
        KoFrameParser parser;
        QSet<int> loggedCodes;
    };

    void Accept();
    void Read(Connection& c);
    void Ended(Connection& c, KoCaptureReader::Status status);
    void Drop(Connection& c);
    void Log(const Connection& c, const QString& text);

    SimOptions options;
    LogFunction log;
    QTcpServer server;
    std::vector<std::unique_ptr<Connection>> connections;
    int nextId = 1;
};
