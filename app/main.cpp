#include "main_window.h"

#include "ko_app_log.h"

#include <QApplication>
#include <QDir>
#include <QTranslator>

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);

    // Plug-ins may lie beside the program or in "platforms" below the folder
    // it was started in. The paths are fixed now: the window moves the working
    // directory to the data folder, which is no place to load code from.
    QStringList paths = QCoreApplication::libraryPaths();
    paths << QDir::current().absolutePath() << QDir::current().absoluteFilePath("platforms");
    QCoreApplication::setLibraryPaths(paths);

    QTranslator translator;
    app.installTranslator(&translator);
    if (translator.load(QStringLiteral("tb_client_ru")))
        qCDebug(lcApp) << "translation loaded from" << QDir::currentPath();
    else
        qCDebug(lcApp) << "no translation in" << QDir::currentPath() << "- English texts";

    MainWindow window;
    window.show();
    return app.exec();
}
