#include "ko_fleet.h"

#include "ko_device_state.h"
#include "ko_fleet_log.h"

#include "client/ko_http_client/ko_tcp_client.h"
#include "settings/ko_apn_settings.h"
#include "settings/ko_app_data.h"
#include "settings/ko_ip_changer.h"
#include "settings/ko_network_file.h"
#include "settings/ko_settings_writer.h"

#include <QFile>
#include <QFileInfo>

const char* const KoFleet::FileName = "addressbook.json";

KoFleet::KoFleet(const QString& book_path, QObject* parent)
    : QObject(parent), path(book_path), state(new KoDeviceState(this))
{
    QFile file(path);
    if (!file.exists())
        return;
    QString why;
    if (file.size() > KoAddressBook::MaxFileBytes)
        why = tr("the file is larger than %1 MiB").arg(KoAddressBook::MaxFileBytes / (1024 * 1024));
    else if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    else
        KoAddressBook::FromJson(file.readAll(), &book, &why);
    if (!why.isEmpty()) {
        loadError = why;
        setAside = true;
        qCWarning(lcFleet) << "address book" << path << "not read:" << why;
    }
}

QString KoFleet::DefaultPath()
{
    return KoAppData::Folder() + QLatin1String(FileName);
}

void KoFleet::Watch(KoTcpClient* watched)
{
    link = watched;
    state->Watch(watched);
    connect(watched, &KoTcpClient::eTargetChanged, this, &KoFleet::findCurrent);
    connect(watched, &KoTcpClient::eConnected, this, &KoFleet::sConnected);
    connect(watched, &KoTcpClient::eConnectedAns, this, &KoFleet::sPassCount);
    findCurrent();
}

QString KoFleet::CurrentName() const
{
    return currentName;
}

void KoFleet::findCurrent()
{
    const int before = current;
    current = link ? book.IndexOf(link->HostName(), link->Port()) : -1;
    const QString name = current >= 0 ? book.devices[current].name : QString();
    if (name != currentName) {
        currentName = name;
        emit eCurrentChanged(name);
    }
    // A device added to the book while the link is on it was connected now.
    if (current >= 0 && current != before && link->State() == QAbstractSocket::ConnectedState)
        sConnected();
}

bool KoFleet::save(QString* error)
{
    if (setAside && QFile::exists(path)) {
        // The damaged file is the operator's, perhaps to be mended by hand.
        const QString aside = path + QStringLiteral(".damaged");
        QFile::remove(aside);
        if (!QFile::rename(path, aside)) {
            if (error)
                *error = tr("the damaged book could not be set aside as %1").arg(aside);
            return false;
        }
    }
    setAside = false;
    return KoSettingsWriter::SaveBytes(path, book.ToJson(), error);
}

bool KoFleet::SetBook(const KoAddressBook& new_book, QString* error)
{
    book = new_book;
    const bool saved = save(error);
    findCurrent();
    emit eBookChanged();
    return saved;
}

bool KoFleet::AddAddress(const QString& host, quint16 port, QString* error)
{
    if (book.IndexOf(host, port) >= 0)
        return true;
    KoAddressBook changed = book;
    KoFleetDevice device;
    // Two devices behind one address differ by their ports.
    device.name =
        port == KoTcpClient::DefaultPort ? host : QStringLiteral("%1:%2").arg(host).arg(port);
    device.host = host;
    device.port = port;
    changed.devices.append(device);
    return SetBook(changed, error);
}

bool KoFleet::ConnectTo(int index, QString* error)
{
    if (index < 0 || index >= book.devices.size() || !sendingAllowed)
        return false;
    const KoFleetDevice& device = book.devices[index];
    const bool written =
        KoNetworkFile::Write(KoNetworkFile::Path(), device.host, device.port, error);
    if (link)
        link->Reconnect(device.host, device.port);
    return written;
}

void KoFleet::sConnected()
{
    if (current < 0 || link->Replaying())
        return;
    book.devices[current].lastConnected = QDateTime::currentDateTimeUtc();
    QString why;
    if (!save(&why))
        emit eSaveFailed(why);
    emit eBookChanged();
}

void KoFleet::sPassCount(int pass_cnt)
{
    // The door count the technician left open is the device's own (a
    // capture's is not).
    if (current < 0 || link->Replaying() || book.devices[current].doors != 0 || pass_cnt < 1 ||
        pass_cnt > 4)
        return;
    book.devices[current].doors = pass_cnt;
    QString why;
    if (!save(&why))
        emit eSaveFailed(why);
    emit eBookChanged();
}

KoConfigProfile KoFleet::Profile() const
{
    KoConfigProfile profile;
    profile.saved = QDateTime::currentDateTimeUtc();
    if (current >= 0) {
        profile.sourceName = book.devices[current].name;
        profile.sourceVehicle = book.devices[current].vehicle;
    }
    if (link) {
        profile.sourceHost = link->HostName();
        profile.sourcePort = link->Port();
    }
    for (int pass = 0; pass < 4; ++pass) {
        const KoDeviceState::Door& known = state->DoorOf(pass);
        KoConfigProfile::Door door;
        door.pass = pass;
        door.hasLine = known.hasLine;
        door.line = known.line;
        door.hasMount = known.hasMount;
        door.mount = known.mount;
        door.mount.camViewAngle = 0;
        door.hasCameras = known.hasCameras;
        door.cameras = known.cameras;
        if (pass < state->PassCount() && (door.hasLine || door.hasMount || door.hasCameras))
            profile.doors.append(door);
    }
    // The modem and server settings this device confirmed, else the last
    // ones any device confirmed, as their dialogs show them. The server's key
    // is never kept.
    if (state->HasModem()) {
        profile.hasModem = true;
        profile.modem = state->Modem();
    } else {
        profile.hasModem = KoApnSettings::ReadFile(&profile.modem);
    }
    if (state->HasServer()) {
        profile.hasServer = true;
        profile.server = state->Server();
    } else {
        profile.hasServer = KoIpChanger::ReadFile(&profile.server) && !profile.server.isEmpty();
    }
    return profile;
}

void KoFleet::SetSendingAllowed(bool allowed)
{
    if (allowed == sendingAllowed)
        return;
    sendingAllowed = allowed;
    emit eSendingAllowedChanged(allowed);
}
