#pragma once

#include "client/ko_http_client/ko_device_records.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include "client/ko_http_client/ko_tcp_client.h"

// Applies chosen sections of a configuration to the connected device, one
// after the other, through the link's own requests (those of the door
// panel, the Mount options, modem and server dialogs), and waits for each
// answer before the next: the line, zone and mount options come back as the
// device now holds them, the modem and server settings with an
// acknowledgement code. The first section the device does not take (another
// value sent back, a negative code, no answer in time, no link) ends the run.
// Everything waits on the GUI thread's event loop.
class KoProfileApplier : public QObject
{
    Q_OBJECT

public:
    enum class Kind
    {
        Line,  // counting line and zone of a pass (message 4)
        Mount, // mount options of a pass (message 3)
        Modem, // message 19
        Server // message 21
    };
    enum class Outcome
    {
        Taken,
        Refused,  // the device answered with other values or a negative code
        NoAnswer, // nothing within the answer time
        NotSent,  // no link
        LinkLost, // the link went while the answer was awaited
    };
    struct Step
    {
        Kind kind = Kind::Line;
        int pass = 0;
        KoUserParams line;
        ClientOptions mount;
        QStringList settings; // modem: four texts; server: address and key
    };
    static constexpr int DefaultAnswerMs = 10000;

    explicit KoProfileApplier(KoTcpClient* link, QObject* parent = nullptr,
                              int answer_ms = DefaultAnswerMs);

    void Start(const QVector<Step>& steps);
    // Stops waiting; nothing more is sent and nothing reported.
    void Stop();
    bool Busy() const { return next > 0 && !done; }

signals:
    // Step index has gone out.
    void eSent(int index);
    // The device's answer to step index, in words when there is more to say
    // ("code -2", the values it kept).
    void eAnswered(int index, KoProfileApplier::Outcome outcome, const QString& detail);
    // taken: how many steps the device took, in order from the first.
    void eFinished(int taken, int total);

private:
    void sendNext();
    void answer(Outcome outcome, const QString& detail = QString());
    void sUserParams(int pass_id, const KoUserParams& params);
    void sMountData(int pass_id, const ClientOptions& options);
    void sModemAck(const QStringList& settings, int ack);
    void sServerAck(const QStringList& settings, int ack);
    const Step* awaited(Kind kind) const;

    QPointer<KoTcpClient> link;
    QVector<Step> steps;
    int next = 0; // the step after the one awaited
    bool waiting = false;
    bool done = false;
    QTimer timeout;
};

Q_DECLARE_METATYPE(KoProfileApplier::Outcome)
