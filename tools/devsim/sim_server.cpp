#include "sim_server.h"

#include "ko_frame_escaper.h"
#include "ko_wire.h"

#include <QDataStream>
#include <QDateTime>
#include <QHostAddress>
#include <QTcpSocket>

#include <algorithm>

namespace {

// A connection whose socket holds more than this gets no new pictures until
// the tool has read what is waiting: a slow reader sees frames dropped, as a
// real device drops them, instead of an ever-growing queue.
constexpr qint64 StreamBacklog = 2 * 1024 * 1024;
constexpr qint64 SlowBacklog = 32 * 1024;
// Flood mode tops the socket up to this whenever it has taken some.
constexpr qint64 FloodBacklog = 512 * 1024;
// Slow mode: this many bytes every tick of the trickle timer.
constexpr int TrickleBytes = 256;
constexpr int TrickleMs = 10;

QByteArray bodyOf(int32_t code, const QByteArray& payload)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << code;
    body.append(payload);
    return body;
}

} // namespace

SimServer::SimServer(const SimOptions& options, LogFunction log, QObject* parent)
    : QObject(parent), options(options), log(std::move(log)), device(options),
      random(static_cast<std::mt19937::result_type>(options.seed * 2654435761ULL + 5))
{
    connect(&server, &QTcpServer::newConnection, this, &SimServer::Accept);
    frameTimer.setTimerType(Qt::PreciseTimer);
    frameTimer.setInterval(std::max(1, 1000 / std::max(1, options.fps)));
    connect(&frameTimer, &QTimer::timeout, this, &SimServer::Tick);
    trickleTimer.setInterval(TrickleMs);
    connect(&trickleTimer, &QTimer::timeout, this, &SimServer::Trickle);
}

SimServer::~SimServer()
{
    for (auto& c : connections) {
        c->dead = true;
        c->socket->disconnect(this);
        c->socket->abort();
        delete c->socket;
    }
}

bool SimServer::Start(QString& error)
{
    if (!server.listen(QHostAddress::LocalHost, options.port)) {
        error = QStringLiteral("cannot listen on 127.0.0.1:%1: %2")
                    .arg(options.port)
                    .arg(server.errorString());
        return false;
    }
    port = server.serverPort();
    device.Unit().SetListenPort(port);
    log(QStringLiteral("listening on 127.0.0.1:%1").arg(port));
    clock.start();
    lastTick = 0;
    frameTimer.start();
    if (options.fault == SimOptions::Fault::Slow)
        trickleTimer.start();
    emit Listening(port);
    return true;
}

int SimServer::Connections() const
{
    return static_cast<int>(std::count_if(connections.begin(), connections.end(),
                                          [](const auto& c) { return !c->dead; }));
}

void SimServer::Listen(quint16 wanted)
{
    // Back from a reboot: on the LAN port the unit was given, or where it was.
    if (!server.listen(QHostAddress::LocalHost, wanted)) {
        log(QStringLiteral("cannot listen on 127.0.0.1:%1 (%2), staying on %3")
                .arg(wanted)
                .arg(server.errorString())
                .arg(port));
        if (!server.listen(QHostAddress::LocalHost, port)) {
            log(QStringLiteral("cannot listen on 127.0.0.1:%1 either: %2")
                    .arg(port)
                    .arg(server.errorString()));
            return;
        }
    }
    port = server.serverPort();
    device.Unit().SetListenPort(port);
    rebooting = false;
    log(QStringLiteral("listening on 127.0.0.1:%1").arg(port));
    emit Listening(port);
}

void SimServer::Accept()
{
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        auto owned = std::make_unique<Connection>();
        Connection& c = *owned;
        c.id = nextId++;
        c.socket = socket;
        if (options.fault == SimOptions::Fault::Slow)
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connections.push_back(std::move(owned));
        Log(&c, QStringLiteral("connection from %1:%2")
                    .arg(socket->peerAddress().toString())
                    .arg(socket->peerPort()));
        connect(socket, &QTcpSocket::readyRead, this, [this, &c]() { Read(c); });
        connect(socket, &QTcpSocket::disconnected, this, [this, &c]() {
            if (c.dead)
                return;
            c.dead = true;
            Log(&c, QStringLiteral("closed after %1 pictures").arg(c.picturesSent));
            Purge();
        });
        if (options.fault == SimOptions::Fault::Flood) {
            connect(socket, &QTcpSocket::bytesWritten, this, [this, &c]() { Stream(c, true); });
            Stream(c, true);
        }
        if (options.fault == SimOptions::Fault::FloodMessages) {
            Log(&c, QStringLiteral("flooding messages of unknown codes (fault mode)"));
            connect(socket, &QTcpSocket::bytesWritten, this, [this, &c]() { FloodMessages(c); });
            FloodMessages(c);
        }
        if (options.fault == SimOptions::Fault::DropAfter && options.dropAfter == 0)
            Close(c);
    }
}

void SimServer::Purge()
{
    if (purgeQueued)
        return;
    purgeQueued = true;
    // Later, so no caller is left holding a connection that is gone.
    QTimer::singleShot(0, this, [this]() {
        purgeQueued = false;
        connections.erase(std::remove_if(connections.begin(), connections.end(),
                                         [](const std::unique_ptr<Connection>& c) {
                                             if (!c->dead)
                                                 return false;
                                             c->socket->deleteLater();
                                             return true;
                                         }),
                          connections.end());
    });
}

void SimServer::Read(Connection& c)
{
    const QByteArray data = c.socket->readAll();
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0 && !c.dead && !rebooting) {
        const qsizetype used = c.parser.Feed(p, left);
        p += used;
        left -= used;
        if (c.parser.HasFrame()) {
            HandleFrame(c, c.parser.BodyData(), c.parser.BodySize());
            c.parser.ReleaseFrame();
        }
    }
}

void SimServer::HandleFrame(Connection& c, const char* body, qsizetype size)
{
    const SimDevice::Output out = device.Handle(body, size, QDateTime::currentMSecsSinceEpoch());
    if (out.viewPass >= 0 && out.viewPass < 4) {
        c.viewMode[out.viewPass] = out.viewMode;
        // The tool repeats its view modes every second: only changes are told.
        if (c.loggedView[out.viewPass] != out.viewMode) {
            c.loggedView[out.viewPass] = out.viewMode;
            Log(&c, out.log);
        }
    } else if (!out.log.isEmpty()) {
        Log(&c, out.log);
    }
    for (const QByteArray& body_out : out.toSender)
        Send(c, body_out);
    for (const QByteArray& body_out : out.toAll) {
        for (auto& other : connections) {
            if (!other->dead)
                Send(*other, body_out);
        }
    }
    if (out.reboot)
        Reboot();
}

void SimServer::Reboot()
{
    rebooting = true;
    server.close();
    for (auto& c : connections) {
        if (!c->dead)
            Close(*c);
    }
    device.Rebooted();
    const quint16 next = device.Unit().PortAfterReboot();
    log(QStringLiteral("rebooting: back in %1 ms on 127.0.0.1:%2")
            .arg(options.rebootDelayMs)
            .arg(next));
    QTimer::singleShot(options.rebootDelayMs, this, [this, next]() { Listen(next); });
}

void SimServer::Tick()
{
    const qint64 now = clock.elapsed();
    const double dt = std::min(0.5, (now - lastTick) / 1000.0);
    lastTick = now;
    const QVector<QByteArray> due = device.Step(dt);
    // The truth a hand count is checked against, before the pictures that
    // carry the device's counts of it.
    for (const SimCrossing& c : device.TakeCrossings())
        log(QStringLiteral("crossing pass %1 %2, device counts %3")
                .arg(c.passId)
                .arg(QLatin1String(c.in ? "in" : "out"))
                .arg(c.counted));
    for (auto& c : connections) {
        if (c->dead || c->closing)
            continue;
        for (const QByteArray& body : due)
            Send(*c, body);
        if (options.fault != SimOptions::Fault::Flood)
            Stream(*c, false);
    }
}

bool SimServer::Backlogged(const Connection& c) const
{
    if (options.fault == SimOptions::Fault::Slow)
        return c.slowQueue.size() > SlowBacklog;
    return c.socket->bytesToWrite() > StreamBacklog;
}

void SimServer::Stream(Connection& c, bool flood)
{
    if (options.fault == SimOptions::Fault::NoPictures)
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!flood) {
        if (Backlogged(c))
            return;
        for (int pass = 0; pass < device.Passes() && !c.dead && !c.closing; ++pass) {
            const int mode = c.viewMode[pass];
            if (mode != 1 && mode != 2)
                continue;
            Send(c, device.ImageBody(pass, mode, now), true);
            if (!c.dead && !c.closing)
                Send(c, device.ObjectsBody(pass, now));
        }
        return;
    }
    // Every pass, on the camera its view mode asks for or the left one.
    while (!c.dead && !c.closing && c.socket->bytesToWrite() < FloodBacklog) {
        for (int pass = 0; pass < device.Passes() && !c.dead && !c.closing; ++pass) {
            const int mode = c.viewMode[pass] == 2 ? 2 : 1;
            Send(c, device.ImageBody(pass, mode, now), true);
        }
    }
}

void SimServer::FloodMessages(Connection& c)
{
    // Codes no decoder knows, 4 KiB each: the tool reads and passes them on
    // (the system unit's path), and shows nothing of them. The pictures go
    // on beside them, the backlog staying below the one that holds them back.
    static const QByteArray payload(4096, '\x5A');
    int i = 0;
    while (!c.dead && !c.closing && c.socket->bytesToWrite() < FloodBacklog)
        Send(c, bodyOf(900 + i++ % 100, payload));
}

void SimServer::Send(Connection& c, const QByteArray& body, bool picture)
{
    if (c.dead || c.closing || body.isEmpty())
        return;
    if (options.fault == SimOptions::Fault::Silent)
        return;
    QByteArray frame = KoFrameEscaper::Frame(body);
    if (options.fault == SimOptions::Fault::Garbage &&
        std::uniform_int_distribution<int>(0, 2)(random) == 0)
        Write(c, Garbage(random));
    if (picture && options.fault == SimOptions::Fault::CutPicture &&
        c.picturesSent >= options.cutAfter) {
        Write(c, frame.left(frame.size() / 2));
        Log(&c, QStringLiteral("cut a picture frame after %1 of its %2 bytes (fault mode)")
                    .arg(frame.size() / 2)
                    .arg(frame.size()));
        Close(c);
        return;
    }
    Write(c, frame);
    ++c.framesSent;
    if (picture)
        ++c.picturesSent;
    if (options.fault == SimOptions::Fault::DropAfter && c.framesSent >= options.dropAfter) {
        Log(&c, QStringLiteral("dropping the connection after %1 frames (fault mode)")
                    .arg(c.framesSent));
        Close(c);
    }
}

void SimServer::Write(Connection& c, const QByteArray& bytes)
{
    if (options.fault == SimOptions::Fault::Slow)
        c.slowQueue.append(bytes);
    else
        c.socket->write(bytes);
}

void SimServer::Trickle()
{
    for (auto& c : connections) {
        if (c->dead || c->slowQueue.isEmpty())
            continue;
        const int n = std::min(TrickleBytes, c->slowQueue.size());
        c->socket->write(c->slowQueue.constData(), n);
        c->slowQueue.remove(0, n);
        if (c->slowQueue.isEmpty() && c->closing)
            c->socket->disconnectFromHost();
    }
}

void SimServer::Close(Connection& c)
{
    if (c.closing || c.dead)
        return;
    c.closing = true;
    // What is written goes out first; a slow queue trickles out before.
    if (c.slowQueue.isEmpty())
        c.socket->disconnectFromHost();
}

QByteArray SimServer::Garbage(std::mt19937& random)
{
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    QByteArray out;
    switch (pick(0, 4)) {
    case 0: {
        // Loose bytes outside any frame, perhaps with an end byte among them.
        const int n = pick(1, 48);
        for (int i = 0; i < n; ++i) {
            char b = static_cast<char>(pick(0, 255));
            if (static_cast<uint8_t>(b) == ko_wire::StartByte)
                b = 0x55;
            out.append(b);
        }
        break;
    }
    case 1: {
        // A picture whose data length does not match what follows.
        QByteArray payload(64 + 16, '\0');
        // 16 bytes of data, but the data length field (after nine i32 and
        // two i64) says more.
        payload[52 + 7] = static_cast<char>(pick(17, 100));
        out = KoFrameEscaper::Frame(bodyOf(ko_wire::Image, payload));
        break;
    }
    case 2: {
        // Tracked objects promising more objects than the body holds.
        QByteArray payload(16, '\0');
        payload[7] = static_cast<char>(pick(1, 9));
        out = KoFrameEscaper::Frame(bodyOf(ko_wire::TrackedObjects, payload));
        break;
    }
    case 3: {
        // A frame cut short: the next start byte discards it.
        out.append(static_cast<char>(ko_wire::StartByte));
        const int n = pick(1, 32);
        for (int i = 0; i < n; ++i) {
            const uint8_t b = static_cast<uint8_t>(pick(0, 255));
            out.append(static_cast<char>(
                b == ko_wire::EndByte || b == ko_wire::StartByte || b == ko_wire::EscapeByte ? 0x11
                                                                                             : b));
        }
        break;
    }
    default: {
        // A frame with a code the tool does not know, and a frame of two bytes.
        out = KoFrameEscaper::Frame(bodyOf(900 + pick(0, 99), QByteArray(pick(0, 12), '\x5A')));
        out.append(KoFrameEscaper::Frame(QByteArray("\x01\x02", 2)));
        break;
    }
    }
    return out;
}

void SimServer::Log(const Connection* c, const QString& text)
{
    if (c)
        log(QStringLiteral("#%1 %2").arg(c->id).arg(text));
    else
        log(text);
}
