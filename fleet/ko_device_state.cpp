#include "ko_device_state.h"

#include "client/ko_http_client/ko_tcp_client.h"

KoDeviceState::KoDeviceState(QObject* parent) : QObject(parent) {}

void KoDeviceState::Watch(KoTcpClient* link)
{
    connect(link, &KoTcpClient::eTargetChanged, this, &KoDeviceState::Clear);
    connect(link, &KoTcpClient::eConnectedAns, this, &KoDeviceState::sPassCount);
    connect(link, &KoTcpClient::eUserParamsRecieved, this, &KoDeviceState::sUserParams);
    connect(link, &KoTcpClient::eMountDataRecieved, this, &KoDeviceState::sMountData);
    connect(link, &KoTcpClient::eCameraOptionsRecieved, this, &KoDeviceState::sCameraNums);
    connect(link, &KoTcpClient::eModemSettingsAck, this, &KoDeviceState::sModemAck);
    connect(link, &KoTcpClient::eIpServerAck, this, &KoDeviceState::sServerAck);
}

void KoDeviceState::Clear()
{
    passCount = -1;
    doors.fill(Door());
    hasModem = hasServer = false;
    modem.clear();
    server.clear();
    emit eChanged();
}

KoDeviceState::Door* KoDeviceState::door(int pass_id)
{
    return pass_id >= 0 && pass_id < int(doors.size()) ? &doors[size_t(pass_id)] : nullptr;
}

void KoDeviceState::sPassCount(int pass_cnt)
{
    passCount = qBound(0, pass_cnt, 4);
    emit eChanged();
}

void KoDeviceState::sUserParams(int pass_id, const KoUserParams& params)
{
    if (Door* d = door(pass_id)) {
        d->line = params;
        d->hasLine = true;
        emit eChanged();
    }
}

void KoDeviceState::sMountData(int pass_id, const ClientOptions& options)
{
    if (Door* d = door(pass_id)) {
        d->mount = options;
        d->hasMount = true;
        emit eChanged();
    }
}

void KoDeviceState::sCameraNums(int pass_id, int, const KoCameraNums& nums)
{
    if (Door* d = door(pass_id)) {
        d->cameras = nums;
        d->hasCameras = true;
        emit eChanged();
    }
}

void KoDeviceState::sModemAck(const QStringList& settings, int ack)
{
    // The list is what the device holds now (as "modem.txt" takes it).
    if (ack < 0 || settings.size() < 4)
        return;
    modem = settings.mid(0, 4);
    hasModem = true;
    emit eChanged();
}

void KoDeviceState::sServerAck(const QStringList& settings, int ack)
{
    if (ack < 0 || settings.isEmpty())
        return;
    server = settings.first();
    hasServer = true;
    emit eChanged();
}
