#include "ko_network_file.h"

#include "ko_address_check.h"
#include "ko_app_data.h"
#include "ko_settings_file.h"
#include "ko_settings_log.h"
#include "ko_settings_writer.h"

namespace {

const char* const HostKey = "HOST_NAME";
const char* const PortKey = "PORT";

} // namespace

QString KoNetworkFile::Path()
{
    return KoAppData::Folder() + QStringLiteral("network.txt");
}

bool KoNetworkFile::Read(const QString& path, QString& host, quint16& port)
{
    KoSettingsFile file;
    file.AddKey(HostKey);
    file.AddKey(PortKey);
    if (!file.Load(path.toStdString()))
        return false;

    const std::string& host_value = file.Values[HostKey];
    const QString host_text = QString::fromStdString(host_value).trimmed();
    // An empty name, like "default", means the default host.
    if (host_value != KoSettingsFile::DefaultValue && !host_text.isEmpty()) {
        if (KoAddressCheck::IsDeviceHost(host_text))
            host = host_text;
        else
            qCWarning(lcSettings) << path << "names no host:" << host_text;
    }
    const std::string& port_value = file.Values[PortKey];
    if (port_value != KoSettingsFile::DefaultValue &&
        !KoAddressCheck::ParsePort(QString::fromStdString(port_value), &port))
        qCWarning(lcSettings) << path << "names no port:" << QString::fromStdString(port_value);
    return true;
}

bool KoNetworkFile::Write(const QString& path, const QString& host, quint16 port, QString* error)
{
    KoSettingsWriter writer(KoSettingsWriter::Terminator::SemicolonCrLf);
    writer.AddText(HostKey, host);
    writer.AddNumber(PortKey, port);
    return writer.Save(path, error);
}
