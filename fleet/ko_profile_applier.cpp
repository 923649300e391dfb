#include "ko_profile_applier.h"

#include "ko_config_profile.h"
#include "ko_fleet_log.h"

#include "client/ko_http_client/ko_tcp_client.h"
#include "settings/ko_mount_ranges.h"

namespace {

bool sameMilli(double a, double b)
{
    return KoConfigProfile::Milli(a) == KoConfigProfile::Milli(b);
}

bool sameLine(const KoUserParams& a, const KoUserParams& b)
{
    if (a.line.size() != b.line.size())
        return false;
    for (int i = 0; i < a.line.size(); ++i) {
        if (!sameMilli(a.line[i].x(), b.line[i].x()) || !sameMilli(a.line[i].y(), b.line[i].y()))
            return false;
    }
    return sameMilli(a.zone.x(), b.zone.x()) && sameMilli(a.zone.y(), b.zone.y()) &&
           sameMilli(a.zone.width(), b.zone.width()) && sameMilli(a.zone.height(), b.zone.height());
}

} // namespace

KoProfileApplier::KoProfileApplier(KoTcpClient* link_, QObject* parent, int answer_ms)
    : QObject(parent), link(link_)
{
    timeout.setSingleShot(true);
    timeout.setInterval(answer_ms);
    connect(&timeout, &QTimer::timeout, this, [this] { answer(Outcome::NoAnswer); });
    if (!link)
        return;
    connect(link, &KoTcpClient::eUserParamsRecieved, this, &KoProfileApplier::sUserParams);
    connect(link, &KoTcpClient::eMountDataRecieved, this, &KoProfileApplier::sMountData);
    connect(link, &KoTcpClient::eModemSettingsAck, this, &KoProfileApplier::sModemAck);
    connect(link, &KoTcpClient::eIpServerAck, this, &KoProfileApplier::sServerAck);
    connect(link, &KoTcpClient::eDisconnected, this, [this] {
        if (waiting)
            answer(Outcome::LinkLost);
    });
}

void KoProfileApplier::Start(const QVector<Step>& chosen)
{
    steps = chosen;
    next = 0;
    done = false;
    waiting = false;
    sendNext();
}

void KoProfileApplier::Stop()
{
    timeout.stop();
    waiting = false;
    done = true;
}

void KoProfileApplier::sendNext()
{
    if (next >= steps.size()) {
        done = true;
        emit eFinished(steps.size(), steps.size());
        return;
    }
    const Step& step = steps[next++];
    bool sent = false;
    if (link) {
        switch (step.kind) {
        case Kind::Line:
            sent = link->SendUserParams(step.pass, step.line);
            break;
        case Kind::Mount:
            sent = link->SendClientOptions(step.pass, step.mount);
            break;
        case Kind::Modem:
            sent = link->SendModemSettings(step.settings);
            break;
        case Kind::Server:
            sent = link->SendServerIpSettings(step.settings);
            break;
        }
    }
    if (!sent) {
        waiting = true;
        answer(Outcome::NotSent);
        return;
    }
    qCDebug(lcFleet) << "applying step" << next - 1 << "of" << steps.size();
    waiting = true;
    timeout.start();
    emit eSent(next - 1);
}

void KoProfileApplier::answer(Outcome outcome, const QString& detail)
{
    if (!waiting)
        return;
    waiting = false;
    timeout.stop();
    const int index = next - 1;
    emit eAnswered(index, outcome, detail);
    if (outcome == Outcome::Taken) {
        sendNext();
        return;
    }
    done = true;
    emit eFinished(index, steps.size());
}

const KoProfileApplier::Step* KoProfileApplier::awaited(Kind kind) const
{
    if (!waiting || next < 1 || steps[next - 1].kind != kind)
        return nullptr;
    return &steps[next - 1];
}

void KoProfileApplier::sUserParams(int pass_id, const KoUserParams& params)
{
    const Step* step = awaited(Kind::Line);
    if (!step || step->pass != pass_id)
        return;
    if (sameLine(params, step->line))
        answer(Outcome::Taken);
    else
        answer(Outcome::Refused, tr("the device kept another counting line"));
}

void KoProfileApplier::sMountData(int pass_id, const ClientOptions& options)
{
    const Step* step = awaited(Kind::Mount);
    if (!step || step->pass != pass_id)
        return;
    for (int f = 0; f < KoMountRanges::FieldCount; ++f) {
        const auto field = static_cast<KoMountRanges::Field>(f);
        const int32_t kept = KoMountRanges::Get(options, field);
        if (kept != KoMountRanges::Get(step->mount, field)) {
            answer(Outcome::Refused, tr("the device kept %1 %2")
                                         .arg(KoMountRanges::Name(field))
                                         .arg(KoMountRanges::Shown(field, kept)));
            return;
        }
    }
    answer(Outcome::Taken);
}

void KoProfileApplier::sModemAck(const QStringList&, int ack)
{
    if (!awaited(Kind::Modem))
        return;
    if (ack < 0)
        answer(Outcome::Refused, tr("code %1").arg(ack));
    else
        answer(Outcome::Taken);
}

void KoProfileApplier::sServerAck(const QStringList&, int ack)
{
    if (!awaited(Kind::Server))
        return;
    if (ack < 0)
        answer(Outcome::Refused, tr("code %1").arg(ack));
    else
        answer(Outcome::Taken);
}
