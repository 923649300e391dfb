#pragma once

#include "ko_device_records.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <array>

class KoAlgoServiceControllUI;
class KoTcpClient;

// The "Video" tab: the four live panels and the device link they share. The
// rest of the window reaches the link only through this container.
class KoClientMultUi : public QWidget
{
    Q_OBJECT

public:
    explicit KoClientMultUi(QWidget* parent = nullptr);

    // The connection target of "network.txt" in the application data folder:
    // "localhost" and 4567 unless the file names others.
    // Today's statistics request: local midnight of today and of tomorrow,
    // each as a UTC stamp.
    static void TodayStamps(const QDateTime& now, KoStatisticsData& start, KoStatisticsData& end);

    static void ReadNetworkFile(const QString& path, QString& host_name, ushort& port);

    // The device link owned by the container.
    KoTcpClient* Link() const;
    KoAlgoServiceControllUI* Panel(int pass_id) const { return panels[size_t(pass_id)]; }
    int PassCount() const { return passCount; }

    // A capture plays into the panels instead of the device (the link's
    // reader is fed from it). The panels show its pictures as live while
    // nothing can be sent; the device's answers to commands and its
    // statistics are not passed on, since this tool asked for none of them.
    bool Replaying() const { return replaying; }
    void SetReplay(bool on);
    // A jump in the capture: the reader starts afresh and the panels show the
    // counts of the capture from there.
    void RestartReplay();
    // Paused or played to the end: the pictures stay, not marked as stopped.
    void SetReplayFrozen(bool frozen);

signals:
    // Whether a capture plays instead of the device; every window that sends
    // to the device or shows its statistics follows it.
    void eReplayChanged(bool replaying);
    void eConnected();
    void eDisconnected();
    void eStatisticRecieved(int id, const QVector<KoStatisticsData>& stat,
                            const QVector<KoStatisticsAlarmData>& alarm_stat,
                            const STATISTICS_ID stat_id, const STATISTICS_TYPE stat_type);
    void eStatisticAllRecieved(int id, const QVector<QVector<KoStatisticsData>>& statistics,
                               const STATISTICS_ID stat_id,
                               const QVector<STATISTICS_TYPE>& stat_types);
    void ePassCnt(int pass_cnt);
    void eOptionsReq(int pass_id);
    void eUpdateFinished(int ans);
    void eModemSettingsAck(const QStringList& settings, int ack);
    void eIpServerAck(const QStringList& settings, int ack);
    void eRebootAck();

public slots:
    void sSendStatReq(int id, const KoStatisticsData& data_start, const KoStatisticsData& data_end,
                      const STATISTICS_TYPE stype, const STATISTICS_ID sid);
    void sConnected();
    void sConnectedAns(int pass_cnt);
    void sSendOptions(int id, ClientOptions options);
    void sSwUpdate(QByteArray sw);
    void sSendModemSettings(QStringList settings);
    void sSendServerIpSettings(QStringList settings);
    void sReboot();

private:
    // Passes a link signal on as one of ours, unless a capture plays.
    template <typename... From, typename... To>
    void ForwardLive(void (KoTcpClient::*from)(From...), void (KoClientMultUi::*to)(To...));

    std::array<KoAlgoServiceControllUI*, 4> panels{};
    KoTcpClient* link = nullptr;
    int passCount = -1; // not set before the first answer
    bool replaying = false;
};
