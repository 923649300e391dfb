#include "fleet_commands.h"

#include "fleet/ko_address_book_window.h"
#include "fleet/ko_apply_dialog.h"
#include "fleet/ko_config_profile.h"
#include "fleet/ko_fleet.h"
#include "settings/ko_app_data.h"
#include "settings/ko_command_outcome.h"
#include "settings/ko_settings_writer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>

namespace {

const char* const ProfileFolderKey = "fleet/profileFolder";

template <class Dialog>
void run(Dialog* dialog)
{
    QPointer<Dialog> guard(dialog);
    dialog->exec();
    // The window may have gone while the dialog ran, taking its child along.
    delete guard.data();
}

} // namespace

void FleetCommands::AddressBook(QWidget* window, KoFleet* fleet)
{
    run(new KoAddressBookWindow(window, fleet));
}

void FleetCommands::SaveConfiguration(QWidget* window, KoFleet* fleet)
{
    const KoConfigProfile profile = fleet->Profile();
    if (profile.doors.isEmpty()) {
        QMessageBox::warning(window, tr("Save configuration"),
                             tr("Nothing is known of the device yet: it reports its doors when "
                                "the connection is made."));
        return;
    }
    QString name = profile.sourceName.isEmpty() ? profile.sourceHost : profile.sourceName;
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\s]+")), QStringLiteral(" "));
    const QString folder = KoAppData::LastFolder(QLatin1String(ProfileFolderKey), QDir::homePath());
    QString path = QFileDialog::getSaveFileName(
        window, tr("Save configuration"),
        QDir(folder).filePath(QStringLiteral("%1 %2.json")
                                  .arg(name.trimmed(), QDate::currentDate().toString(Qt::ISODate))),
        tr("Configurations (*.json);;All files (*)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    KoAppData::SetLastFolder(QLatin1String(ProfileFolderKey), QFileInfo(path).absolutePath());
    QString why;
    // The modem's password is in it.
    if (!KoSettingsWriter::SaveBytes(path, profile.ToJson(), &why, profile.hasModem)) {
        QMessageBox::warning(
            window, tr("Save configuration"),
            tr("\"%1\" could not be written: %2.").arg(QDir::toNativeSeparators(path), why));
        return;
    }
    KoCommandOutcome::Confirm(window,
                              tr("Configuration saved in %1").arg(QDir::toNativeSeparators(path)));
}

void FleetCommands::ApplyConfiguration(QWidget* window, KoFleet* fleet)
{
    if (!fleet->SendingAllowed())
        return;
    const QString folder = KoAppData::LastFolder(QLatin1String(ProfileFolderKey), QDir::homePath());
    const QString path = QFileDialog::getOpenFileName(window, tr("Apply configuration"), folder,
                                                      tr("Configurations (*.json);;All files (*)"));
    if (path.isEmpty())
        return;
    KoAppData::SetLastFolder(QLatin1String(ProfileFolderKey), QFileInfo(path).absolutePath());
    QFile file(path);
    QString why;
    KoConfigProfile profile;
    if (file.size() > KoConfigProfile::MaxFileBytes)
        why = tr("the file is larger than %1 KiB").arg(KoConfigProfile::MaxFileBytes / 1024);
    else if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    else
        KoConfigProfile::FromJson(file.read(KoConfigProfile::MaxFileBytes + 1), &profile, &why);
    if (!why.isEmpty()) {
        QMessageBox::warning(window, tr("Apply configuration"),
                             tr("\"%1\" cannot be applied: %2. Nothing was sent.")
                                 .arg(QDir::toNativeSeparators(path), why));
        return;
    }
    run(new KoApplyDialog(window, fleet, profile, path));
}
