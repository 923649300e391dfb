#include "ko_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

const char* const KoTranslations::OwnName = "tb_client_ru";
const char* const KoTranslations::QtName = "qtbase_ru";

QStringList KoTranslations::Folders()
{
    const QDir program(QCoreApplication::applicationDirPath());
    return {
        QDir::currentPath(), program.absolutePath(),
        QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/velmora/translations")))};
}

bool KoTranslations::Load(const QStringList& folders)
{
    // Installed first, loaded after: a translator takes effect when it loads.
    QCoreApplication::installTranslator(&qt);
    QCoreApplication::installTranslator(&own);
    for (const QString& folder : folders) {
        if (own.load(QLatin1String(OwnName), folder)) {
            ownFolder = folder;
            break;
        }
    }
    if (ownFolder.isEmpty())
        return false;
    // One shipped beside ours wins over the system's (Debian's
    // qttranslations5-l10n puts it into Qt's translations folder).
    QStringList qt_folders{ownFolder};
    qt_folders << folders << QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    for (const QString& folder : qAsConst(qt_folders)) {
        if (qt.load(QLatin1String(QtName), folder)) {
            qtFolder = folder;
            break;
        }
    }
    return true;
}
