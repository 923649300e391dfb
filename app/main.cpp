#include "main_window.h"

#include "ko_algo_service_controll_ui.h"
#include "ko_app_log.h"
#include "ko_translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QIcon>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <ctime>

#include <fcntl.h>
#include <unistd.h>

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "0.0.0"
#endif

namespace {

// The window takes no options of its own: only the usual --help and --version.
void AddOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Sets up and watches a Velmora stereo-camera passenger counter.\n"
                       "The device address is kept in network.txt in the data folder\n"
                       "($PROGRAMDATA/Velmora, or ~/.local/share/Velmora)."));
    parser.addHelpOption();
    parser.addVersionOption();
}

// Whether the command line asks for help or the version. These are answered
// before the window's application exists, so they work without a display.
bool AsksForText(int argc, char** argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    AddOptions(parser);
    parser.parse(args);
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version")) ||
           parser.isSet(QStringLiteral("help-all"));
}

QIcon BuiltInIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/velmora/velmora-configurator-%1.png").arg(size));
    return icon;
}

// SIGTERM and SIGINT (a logout, a shutdown, Ctrl+C in a terminal) end the
// program as closing the window does: open dialogs are left, the window's
// place is kept and a capture being recorded is finished, not lost. The
// handler only writes to a pipe that the event loop watches.
int stopPipe[2] = {-1, -1};

extern "C" void AskStop(int)
{
    const char byte = 1;
    const ssize_t written = ::write(stopPipe[1], &byte, 1);
    (void)written; // a full pipe already holds a request
}

void StopOnSignals(QMainWindow& window)
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier]() {
        notifier->setEnabled(false);
        qCDebug(lcApp) << "asked to stop by a signal";
        window.close();
        QCoreApplication::quit(); // leaves modal dialogs' loops too
    });
    struct sigaction action = {};
    action.sa_handler = AskStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer started;
    started.start();
    QCoreApplication::setApplicationName(QStringLiteral("velmora-configurator"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    if (AsksForText(argc, argv)) {
        QCoreApplication core(argc, argv);
        QCommandLineParser parser;
        AddOptions(parser);
        parser.process(core); // prints and exits
        return 0;
    }

    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    {
        // Qt's own options are gone by now; anything else is refused.
        QCommandLineParser parser;
        AddOptions(parser);
        parser.process(app);
    }
    app.setWindowIcon(BuiltInIcon());

    // Plug-ins may lie beside the program or in "platforms" below the folder
    // it was started in. The paths are fixed now: the window moves the working
    // directory to the data folder, which is no place to load code from.
    QStringList paths = QCoreApplication::libraryPaths();
    paths << QDir::current().absolutePath() << QDir::current().absoluteFilePath("platforms");
    QCoreApplication::setLibraryPaths(paths);

    KoTranslations translations;
    const QStringList folders = KoTranslations::Folders();
    if (translations.Load(folders)) {
        qCDebug(lcApp).noquote() << "translation loaded from" << translations.OwnFolder();
        if (translations.QtFolder().isEmpty())
            qCDebug(lcApp) << "no" << KoTranslations::QtName << "- Qt's own dialogs in English";
        else
            qCDebug(lcApp).noquote() << "Qt's translation loaded from" << translations.QtFolder();
    } else {
        qCDebug(lcApp).noquote() << "no translation in" << folders.join(QStringLiteral(", "))
                                 << "- English texts";
    }

    MainWindow window;
    // The form names an icon file relative to the working directory at start;
    // where it is missing the window shows the program's own.
    if (window.windowIcon().availableSizes().isEmpty()) {
        window.setWindowIcon(app.windowIcon());
        qCDebug(lcApp) << "built-in window icon";
    }
    window.show();

    // VELMORA_REPORT_STARTUP=1: when the window has been shown, how long
    // after main() that was, and when (for the time from the process start).
    if (qEnvironmentVariableIntValue("VELMORA_REPORT_STARTUP") == 1) {
        QTimer::singleShot(0, &window, [&started]() {
            std::fprintf(stderr,
                         "velmora-configurator: main window shown %lld ms after main(), "
                         "at %lld ms since the epoch\n",
                         static_cast<long long>(started.elapsed()),
                         static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        });
    }
    StopOnSignals(window);
    // VELMORA_REPORT_FRAMES=1 (scripts/soak.sh): at the end, the pictures
    // shown and the CPU time.
    const bool report_frames = qEnvironmentVariableIntValue("VELMORA_REPORT_FRAMES") == 1;
    const int result = app.exec();
    if (report_frames)
        std::fprintf(stderr, "velmora-configurator: %llu pictures shown, %.3f s CPU\n",
                     static_cast<unsigned long long>(KoAlgoServiceControllUI::PicturesShown()),
                     double(std::clock()) / CLOCKS_PER_SEC);
    return result;
}
