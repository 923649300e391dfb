#include "replay_server.h"

#include "ko_capture_summary.h"
#include "ko_wire.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpSocket>
#include <QtEndian>

#include <algorithm>

namespace {

// While a socket holds this much unsent, the next chunk waits: the tool gets
// every byte of the capture, later rather than never.
constexpr qint64 Backlog = 2 * 1024 * 1024;

QString Seconds(qint64 time_us)
{
    return QString::number(double(time_us) / 1e6, 'f', 2);
}

QString CodeName(int code)
{
    switch (code) {
    case ko_wire::Image:
        return QStringLiteral("Image");
    case ko_wire::TrackedObjects:
        return QStringLiteral("TrackedObjects");
    case ko_wire::MountData:
        return QStringLiteral("MountData");
    case ko_wire::UserParams:
        return QStringLiteral("UserParams");
    case ko_wire::DispOptions:
        return QStringLiteral("DispOptions");
    case ko_wire::Statistic:
        return QStringLiteral("Statistic");
    case ko_wire::StatisticAll:
        return QStringLiteral("StatisticAll");
    case ko_wire::RecordAnswer:
        return QStringLiteral("RecordAnswer");
    case ko_wire::CameraNumsAnswer:
        return QStringLiteral("CameraNumsAnswer");
    case ko_wire::ConnectedAnswer:
        return QStringLiteral("ConnectedAnswer");
    case ko_wire::UpdateFinished:
        return QStringLiteral("UpdateFinished");
    case ko_wire::ModemSettingsAck:
        return QStringLiteral("ModemSettingsAck");
    case ko_wire::IpServerAck:
        return QStringLiteral("IpServerAck");
    case ko_wire::RebootAck:
        return QStringLiteral("RebootAck");
    case ko_wire::FilesCountInfo:
        return QStringLiteral("FilesCountInfo");
    default:
        return code >= 43 && code <= 54 ? QStringLiteral("system unit") : QString();
    }
}

QString ReasonText(ko_capture::EndReason reason)
{
    switch (reason) {
    case ko_capture::EndReason::Stopped:
        return QStringLiteral("stopped by the operator");
    case ko_capture::EndReason::SizeLimit:
        return QStringLiteral("size limit reached");
    case ko_capture::EndReason::TargetChanged:
        return QStringLiteral("the link was pointed at another device");
    case ko_capture::EndReason::Closed:
        return QStringLiteral("the configurator was closed");
    case ko_capture::EndReason::Replay:
        return QStringLiteral("a capture was opened for replay");
    }
    return QStringLiteral("reason %1").arg(quint32(reason));
}

QString StatusText(const KoCaptureReader& reader)
{
    switch (reader.CurrentStatus()) {
    case KoCaptureReader::Status::Truncated:
        return QStringLiteral("truncated at byte %1, after %2 s: %3")
            .arg(reader.StopOffset())
            .arg(Seconds(std::max<qint64>(reader.LastTimeUs(), 0)), reader.ErrorText());
    case KoCaptureReader::Status::Damaged:
        return QStringLiteral("damaged at byte %1, after %2 s: %3")
            .arg(reader.StopOffset())
            .arg(Seconds(std::max<qint64>(reader.LastTimeUs(), 0)), reader.ErrorText());
    default:
        return QStringLiteral("complete");
    }
}

QString PerDoor(const std::array<qint64, 4>& counts)
{
    QStringList parts;
    for (size_t door = 0; door < counts.size(); ++door)
        parts << QStringLiteral("%1: %2").arg(door).arg(counts[door]);
    return parts.join(QStringLiteral(", "));
}

} // namespace

ReplayServer::ReplayServer(const SimOptions& options, LogFunction log, QObject* parent)
    : QObject(parent), options(options), log(std::move(log))
{
    connect(&server, &QTcpServer::newConnection, this, &ReplayServer::Accept);
}

ReplayServer::~ReplayServer()
{
    for (auto& c : connections) {
        c->socket->disconnect(this);
        c->socket->abort();
        delete c->socket;
    }
}

bool ReplayServer::Start(QString& error)
{
    KoCaptureReader reader;
    if (!reader.Open(options.replayPath)) {
        error = QStringLiteral("cannot replay %1: %2").arg(options.replayPath, reader.ErrorText());
        return false;
    }
    if (!server.listen(QHostAddress::LocalHost, options.port)) {
        error = QStringLiteral("cannot listen on 127.0.0.1:%1: %2")
                    .arg(options.port)
                    .arg(server.errorString());
        return false;
    }
    log(QStringLiteral("listening on 127.0.0.1:%1").arg(server.serverPort()));
    const KoCaptureHeader& h = reader.Header();
    log(QStringLiteral("replaying %1: device %2:%3, %4 s, at %5 times its speed%6")
            .arg(QFileInfo(options.replayPath).fileName(), h.host)
            .arg(h.port)
            .arg(Seconds(reader.DurationUs()))
            .arg(options.speed)
            .arg(options.loop ? QStringLiteral(", looping") : QString()));
    return true;
}

void ReplayServer::Accept()
{
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        auto owned = std::make_unique<Connection>();
        Connection& c = *owned;
        c.id = nextId++;
        c.socket = socket;
        c.player = std::make_unique<KoCapturePlayer>();
        connections.push_back(std::move(owned));
        Log(c, QStringLiteral("connection from %1:%2")
                   .arg(socket->peerAddress().toString())
                   .arg(socket->peerPort()));
        connect(socket, &QTcpSocket::readyRead, this, [this, &c] { Read(c); });
        connect(socket, &QTcpSocket::disconnected, this, [this, &c] {
            Log(c, QStringLiteral("closed"));
            Drop(c);
        });
        c.player->SetReceiver([socket](const QByteArray& bytes) { socket->write(bytes); },
                              [socket] { return socket->bytesToWrite() > Backlog; });
        connect(c.player.get(), &KoCapturePlayer::eEnded, this,
                [this, &c](KoCaptureReader::Status status) { Ended(c, status); });
        QString error;
        if (!c.player->Open(options.replayPath, &error)) {
            Log(c, QStringLiteral("cannot read the capture: %1").arg(error));
            socket->disconnectFromHost();
            continue;
        }
        c.player->SetSpeed(options.speed);
        c.player->Play();
    }
}

void ReplayServer::Read(Connection& c)
{
    const QByteArray data = c.socket->readAll();
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const qsizetype used = c.parser.Feed(p, left);
        p += used;
        left -= used;
        if (!c.parser.HasFrame())
            continue;
        // The tool repeats its view modes every second: each code is told once.
        if (c.parser.BodySize() >= 4) {
            const int code = qFromBigEndian<qint32>(c.parser.BodyData());
            if (!c.loggedCodes.contains(code)) {
                c.loggedCodes.insert(code);
                Log(c, QStringLiteral("request %1 not answered (replay)").arg(code));
            }
        }
        c.parser.ReleaseFrame();
    }
}

void ReplayServer::Ended(Connection& c, KoCaptureReader::Status status)
{
    const KoCaptureReader& reader = c.player->Reader();
    Log(c, QStringLiteral("the capture played to its end (%1)").arg(StatusText(reader)));
    if (options.loop) {
        c.player->Seek(0);
        c.player->Play();
        return;
    }
    Q_UNUSED(status);
    // What is written goes out before the connection closes.
    c.socket->disconnectFromHost();
}

void ReplayServer::Drop(Connection& c)
{
    c.player->Close();
    c.socket->disconnect(this);
    c.socket->deleteLater();
    // Later, so that no caller is left holding a connection that is gone.
    const Connection* gone = &c;
    QMetaObject::invokeMethod(
        this,
        [this, gone] {
            connections.erase(std::remove_if(connections.begin(), connections.end(),
                                             [gone](const auto& x) { return x.get() == gone; }),
                              connections.end());
        },
        Qt::QueuedConnection);
}

void ReplayServer::Log(const Connection& c, const QString& text)
{
    log(QStringLiteral("#%1 %2").arg(c.id).arg(text));
}

int ReplayServer::PrintInfo(const QString& path, const LogFunction& out)
{
    KoCaptureReader reader;
    if (!reader.Open(path)) {
        out(QStringLiteral("cannot read %1: %2").arg(path, reader.ErrorText()));
        return 1;
    }
    const KoCaptureHeader& h = reader.Header();
    out(QStringLiteral("capture: %1").arg(path));
    out(QStringLiteral("format: %1").arg(h.version));
    out(QStringLiteral("device: %1:%2").arg(h.host).arg(h.port));
    out(QStringLiteral("recorded: %1")
            .arg(QDateTime::fromMSecsSinceEpoch(h.startMs, Qt::UTC)
                     .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz 'UTC'"))));
    out(QStringLiteral("duration: %1 s").arg(Seconds(reader.DurationUs())));
    out(QStringLiteral("ended: %1")
            .arg(reader.HasEndRecord() ? ReasonText(reader.Reason())
                                       : QStringLiteral("no end record")));
    const KoCaptureSummary s = KoCaptureSummary::Of(reader);
    out(QStringLiteral("received: %1 bytes in %2 chunks (file: %3 bytes)")
            .arg(s.bytes)
            .arg(s.chunks)
            .arg(reader.FileSize()));
    out(QStringLiteral("messages by code:"));
    for (const auto& [code, count] : s.messagesByCode) {
        const QString name = CodeName(code);
        out(QStringLiteral("  %1%2: %3")
                .arg(code)
                .arg(name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(name))
                .arg(count));
    }
    out(QStringLiteral("messages dropped as malformed: %1").arg(s.dropped));
    out(QStringLiteral("frames dropped as broken: %1").arg(s.badFrames));
    out(QStringLiteral("pictures per door: %1").arg(PerDoor(s.pictures)));
    out(QStringLiteral("tracked-object messages per door: %1").arg(PerDoor(s.tracked)));
    out(QStringLiteral("status: %1").arg(StatusText(reader)));
    return reader.CurrentStatus() == KoCaptureReader::Status::End ? 0 : 3;
}
