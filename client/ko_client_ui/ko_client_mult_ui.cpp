#include "ko_client_mult_ui.h"

#include "ko_algo_service_controll_ui.h"
#include "ko_app_data.h"
#include "ko_network_file.h"
#include "ko_tcp_client.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QPixmap>

Q_LOGGING_CATEGORY(lcClientUi, "velmora.clientui", QtWarningMsg)

namespace {

const char* const DefaultHost = "localhost";

} // namespace

template <typename... From, typename... To>
void KoClientMultUi::ForwardLive(void (KoTcpClient::*from)(From...),
                                 void (KoClientMultUi::*to)(To...))
{
    connect(link, from, this, [this, to](From... args) {
        if (!replaying)
            (this->*to)(args...);
    });
}

KoClientMultUi::KoClientMultUi(QWidget* parent) : QWidget(parent)
{
    QString host_name = QString::fromLatin1(DefaultHost);
    ushort port = KoTcpClient::DefaultPort;
    ReadNetworkFile(KoAppData::Folder() + QStringLiteral("network.txt"), host_name, port);

    for (int i = 0; i < 4; ++i)
        panels[size_t(i)] = new KoAlgoServiceControllUI(i, this);

    link = new KoTcpClient(this, host_name, port);
    connect(link, &KoTcpClient::eConnected, this, &KoClientMultUi::sConnected);
    connect(link, &KoTcpClient::eDisconnected, this, &KoClientMultUi::eDisconnected);
    // A replay's statistics and answers belong to requests of another tool.
    ForwardLive(&KoTcpClient::eStatisticRecieved, &KoClientMultUi::eStatisticRecieved);
    ForwardLive(&KoTcpClient::eStatisticAllRecieved, &KoClientMultUi::eStatisticAllRecieved);
    connect(link, &KoTcpClient::eConnectedAns, this, &KoClientMultUi::sConnectedAns);
    ForwardLive(&KoTcpClient::eUpdateFinished, &KoClientMultUi::eUpdateFinished);
    ForwardLive(&KoTcpClient::eModemSettingsAck, &KoClientMultUi::eModemSettingsAck);
    ForwardLive(&KoTcpClient::eIpServerAck, &KoClientMultUi::eIpServerAck);
    ForwardLive(&KoTcpClient::eRebootAck, &KoClientMultUi::eRebootAck);

    using ImageSignal = void (KoTcpClient::*)(int, int, int, float, int, QImage&);
    const ImageSignal images[4] = {&KoTcpClient::eImageRecieved0, &KoTcpClient::eImageRecieved1,
                                   &KoTcpClient::eImageRecieved2, &KoTcpClient::eImageRecieved3};
    for (int i = 0; i < 4; ++i) {
        KoAlgoServiceControllUI* panel = panels[size_t(i)];
        // Pictures go by pass; every other per-pass signal reaches every
        // panel, which keeps only its own.
        connect(link, images[i], panel, &KoAlgoServiceControllUI::sImageRecieved);
        connect(link, &KoTcpClient::eUserParamsRecieved, panel,
                &KoAlgoServiceControllUI::sUserParamsRecieved);
        connect(link, &KoTcpClient::eMountDataRecieved, panel,
                &KoAlgoServiceControllUI::sMountDataRecieved);
        connect(link, &KoTcpClient::eCameraOptionsRecieved, panel,
                &KoAlgoServiceControllUI::sCameraOptionsRecieved);
        connect(link, &KoTcpClient::eTrackingObjectsRecieved, panel,
                &KoAlgoServiceControllUI::sObjectsTracked);
        connect(link, &KoTcpClient::eDispOptionsRecieved, panel,
                &KoAlgoServiceControllUI::sDispOptionsRecieved);
        connect(link, &KoTcpClient::eStopRecord, panel, &KoAlgoServiceControllUI::sStopRecord);
        connect(link, &KoTcpClient::eRecorded, panel, &KoAlgoServiceControllUI::sRecorded);
        connect(link, &KoTcpClient::eFilesCountInfo, panel,
                &KoAlgoServiceControllUI::sFilesCountInfo);
        connect(panel, &KoAlgoServiceControllUI::eOptionsReq, this, &KoClientMultUi::eOptionsReq);
        connect(link, &KoTcpClient::eConnected, panel, [panel] { panel->sLinkChanged(true); });
        connect(link, &KoTcpClient::eDisconnected, panel, [panel] { panel->sLinkChanged(false); });
        panel->link = link;
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(panels[0], 0, 0);
    grid->addWidget(panels[1], 0, 1);
    grid->addWidget(panels[2], 1, 0);
    grid->addWidget(panels[3], 1, 1);
    auto* help_row = new QHBoxLayout;
    auto* people = new QLabel(this);
    people->setPixmap(QPixmap(QStringLiteral(":/people.png")));
    help_row->addWidget(people);
    help_row->addWidget(new QLabel(
        tr("Use left mouse key button for new line point addition\nUse right mouse key button for "
           "last line point deletion\n\n\n\nIncoming people cross the line from blue to yellow "
           "line\nOutcoming people cross the line from yellow to blue line"),
        this));
    help_row->addItem(new QSpacerItem(10, 15, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding));
    help_row->addStretch(1); // the help keeps to the left in a wide window
    grid->addLayout(help_row, 2, 0);
    // A bigger window makes bigger pictures, not a bigger gap under the help.
    grid->setRowStretch(0, 1);
    grid->setRowStretch(1, 1);
    grid->setVerticalSpacing(4);
    setContentsMargins(0, 0, 0, 0);
}

void KoClientMultUi::SetReplay(bool on)
{
    if (on == replaying) {
        if (on)
            RestartReplay();
        return;
    }
    if (on) {
        // Until the capture tells its pass count, every door may have pictures.
        link->BeginReplay();
        passCount = -1;
    }
    replaying = on;
    for (KoAlgoServiceControllUI* panel : panels) {
        if (on)
            panel->setEnabled(true);
        panel->SetReplay(on);
    }
    if (!on)
        link->EndReplay();
    emit eReplayChanged(on);
}

void KoClientMultUi::RestartReplay()
{
    if (!replaying)
        return;
    link->RestartReplay();
    for (KoAlgoServiceControllUI* panel : panels)
        panel->RestartCounts();
}

void KoClientMultUi::SetReplayFrozen(bool frozen)
{
    for (KoAlgoServiceControllUI* panel : panels)
        panel->SetReplayFrozen(frozen);
}

void KoClientMultUi::TodayStamps(const QDateTime& now, KoStatisticsData& start,
                                 KoStatisticsData& end)
{
    const QDate today = now.toLocalTime().date();
    const auto stamp = [](const QDateTime& local) {
        const QDateTime utc = local.toUTC();
        KoStatisticsData data;
        data.year = static_cast<uint8_t>(utc.date().year() - 2000);
        data.month = static_cast<uint8_t>(utc.date().month());
        data.day = static_cast<uint8_t>(utc.date().day());
        data.hour = static_cast<uint8_t>(utc.time().hour());
        data.count = 0;
        return data;
    };
    start = stamp(QDateTime(today, QTime(0, 0), Qt::LocalTime));
    end = stamp(QDateTime(today.addDays(1), QTime(0, 0), Qt::LocalTime));
}

void KoClientMultUi::ReadNetworkFile(const QString& path, QString& host_name, ushort& port)
{
    if (QFileInfo::exists(path))
        KoNetworkFile::Read(path, host_name, port);
}

KoTcpClient* KoClientMultUi::Link() const
{
    return link;
}

void KoClientMultUi::sSendStatReq(int id, const KoStatisticsData& data_start,
                                  const KoStatisticsData& data_end, const STATISTICS_TYPE stype,
                                  const STATISTICS_ID sid)
{
    link->SendStatReq(id, data_start, data_end, stype, sid);
}

void KoClientMultUi::sConnected()
{
    // The device answers with its pass count (message 14).
    link->SendConnectedReq();
    emit eConnected();
}

void KoClientMultUi::sConnectedAns(int pass_cnt)
{
    passCount = pass_cnt;
    for (int i = 0; i < 4; ++i)
        panels[size_t(i)]->setEnabled(i < pass_cnt);
    // The statistics pages follow the device, not a capture.
    if (replaying)
        return;
    KoStatisticsData start, end;
    TodayStamps(QDateTime::currentDateTime(), start, end);
    emit ePassCnt(passCount);
    // Today's incoming counts by hour; the id carries the pass count.
    link->SendStatReq(pass_cnt, start, end, STAT_INCOMING, STAT_DAY);
}

void KoClientMultUi::sSendOptions(int id, ClientOptions options)
{
    link->SendClientOptions(id, options);
}

void KoClientMultUi::sSwUpdate(QByteArray sw)
{
    link->SendSwUpdate(sw);
}

void KoClientMultUi::sSendModemSettings(QStringList settings)
{
    link->SendModemSettings(settings);
}

void KoClientMultUi::sSendServerIpSettings(QStringList settings)
{
    link->SendServerIpSettings(settings);
}

void KoClientMultUi::sReboot()
{
    link->SendReboot();
}
