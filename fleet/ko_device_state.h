#pragma once

#include "client/ko_http_client/ko_device_records.h"

#include <QObject>
#include <QStringList>

#include <array>

class KoTcpClient;

// What the tool knows of the device the link is aimed at, from what the
// device itself reported since: its pass count and, per pass, the counting
// line and zone, the mount options and the camera numbers it sent; the
// modem and server settings it acknowledged (it never reports them unasked,
// and the settings files hold what any device last confirmed). Another
// address forgets everything; a lost connection does not (the device sends
// it all again when the link comes back).
class KoDeviceState : public QObject
{
    Q_OBJECT

public:
    struct Door
    {
        bool hasLine = false;
        KoUserParams line;
        bool hasMount = false;
        ClientOptions mount;
        bool hasCameras = false;
        KoCameraNums cameras;
    };

    explicit KoDeviceState(QObject* parent = nullptr);

    void Watch(KoTcpClient* link);

    int PassCount() const { return passCount; } // -1 before the device said
    bool HasModem() const { return hasModem; }
    QStringList Modem() const { return modem; }
    bool HasServer() const { return hasServer; }
    QString Server() const { return server; }
    const Door& DoorOf(int pass) const { return doors[size_t(qBound(0, pass, 3))]; }
    void Clear();

signals:
    void eChanged();

public slots:
    void sPassCount(int pass_cnt);
    void sUserParams(int pass_id, const KoUserParams& params);
    void sMountData(int pass_id, const ClientOptions& options);
    void sCameraNums(int pass_id, int res, const KoCameraNums& nums);
    void sModemAck(const QStringList& settings, int ack);
    void sServerAck(const QStringList& settings, int ack);

private:
    Door* door(int pass_id);

    int passCount = -1;
    std::array<Door, 4> doors{};
    bool hasModem = false;
    QStringList modem;
    bool hasServer = false;
    QString server;
};
