#include "ko_client_mult_ui.h"

#include "ko_app_data.h"
#include "ko_settings_file.h"
#include "ko_tcp_client.h"

#include <QFileInfo>
#include <QLoggingCategory>

#include <cstdlib>

Q_LOGGING_CATEGORY(lcClientUi, "velmora.clientui", QtWarningMsg)

namespace {

const char* const HostKey = "HOST_NAME";
const char* const PortKey = "PORT";
const char* const DefaultHost = "localhost";

} // namespace

KoClientMultUi::KoClientMultUi(QWidget* parent) : QWidget(parent)
{
    QString host_name = QString::fromLatin1(DefaultHost);
    ushort port = KoTcpClient::DefaultPort;
    ReadNetworkFile(KoAppData::Folder() + QStringLiteral("network.txt"), host_name, port);

    link = new KoTcpClient(this, host_name, port);
    connect(link, &KoTcpClient::eConnected, this, &KoClientMultUi::sConnected);
    connect(link, &KoTcpClient::eDisconnected, this, &KoClientMultUi::eDisconnected);
}

void KoClientMultUi::ReadNetworkFile(const QString& path, QString& host_name, ushort& port)
{
    if (!QFileInfo::exists(path))
        return;
    KoSettingsFile file;
    file.AddKey(HostKey);
    file.AddKey(PortKey);
    if (!file.Load(path.toStdString()))
        return;
    const std::string& host = file.Values[HostKey];
    if (host != KoSettingsFile::DefaultValue && !host.empty())
        host_name = QString::fromStdString(host);
    const std::string& port_text = file.Values[PortKey];
    if (port_text != KoSettingsFile::DefaultValue) {
        // Only a whole number that is a port: an empty or mistyped value would
        // otherwise become port 0 (or some other port's low 16 bits), which
        // no device listens on.
        char* end = nullptr;
        const long value = std::strtol(port_text.c_str(), &end, 10);
        if (!port_text.empty() && end && *end == '\0' && value > 0 && value <= 65535)
            port = static_cast<ushort>(value);
        else
            qCDebug(lcClientUi) << "network.txt: no port in" << port_text.c_str() << ", keeping"
                                << port;
    }
}

KoTcpClient* KoClientMultUi::Link() const
{
    return link;
}

void KoClientMultUi::sSendStatReq(int, const KoStatisticsData&, const KoStatisticsData&,
                                  const STATISTICS_TYPE, const STATISTICS_ID)
{
}

void KoClientMultUi::sConnected()
{
    // The device answers with its pass count (message 14).
    link->SendConnectedReq();
    emit eConnected();
}

void KoClientMultUi::sConnectedAns(int) {}

void KoClientMultUi::sSendOptions(int, ClientOptions) {}

void KoClientMultUi::sSwUpdate(QByteArray) {}

void KoClientMultUi::sSendModemSettings(QStringList) {}

void KoClientMultUi::sSendServerIpSettings(QStringList) {}

void KoClientMultUi::sReboot() {}
