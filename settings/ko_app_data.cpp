#include "ko_app_data.h"

#include "ko_settings_log.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

const char* const KoAppData::FolderName = "Velmora";

QString KoAppData::Folder()
{
    static const QString folder =
        Build(qEnvironmentVariable("PROGRAMDATA"),
              QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return folder;
}

QString KoAppData::Build(const QString& program_data, const QString& generic_data)
{
    // PROGRAMDATA names an existing shared folder (Windows, the tests): only
    // our own folder is made in it. The user's data location may not exist
    // yet on a fresh account, so it is made with its parents.
    const bool shared = !program_data.isEmpty();
    const QString base = shared ? program_data : generic_data;
    if (base.isEmpty()) {
        qCWarning(lcSettings) << "no data location; settings stay in the working directory";
        return QString();
    }

    // Absolute, so the folder still names the same place once it has become
    // the working directory.
    const QString path =
        QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(base)).absoluteFilePath() +
                        QLatin1Char('/') + QLatin1String(FolderName));
    const QFileInfo info(path);
    if (!info.isDir()) {
        const bool made = !info.exists() && (shared ? QDir().mkdir(path) : QDir().mkpath(path));
        if (!made) {
            qCWarning(lcSettings) << "cannot create the data folder" << path;
            return QString();
        }
    }
    qCDebug(lcSettings) << "data folder" << path;
    return path + QLatin1Char('/');
}

namespace {

QString folderKey(const QString& key)
{
    return QStringLiteral("folders/") + key;
}

} // namespace

QString KoAppData::IniPath()
{
    return Folder() + QStringLiteral("configurator.ini");
}

QString KoAppData::LastFolder(const QString& key, const QString& fallback)
{
    const QSettings settings(IniPath(), QSettings::IniFormat);
    const QString folder = settings.value(folderKey(key)).toString();
    // A folder that has gone since (a removed stick) is no place to start in.
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

void KoAppData::SetLastFolder(const QString& key, const QString& folder)
{
    QSettings settings(IniPath(), QSettings::IniFormat);
    settings.setValue(folderKey(key), folder);
}
