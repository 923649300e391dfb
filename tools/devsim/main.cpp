// velmora-devsim: plays the counting device and its system unit on
// 127.0.0.1, for learning the tool, demonstrating it and end-to-end tests;
// or replays a capture recorded with the configurator (--replay).
// The first line on standard output is "listening on 127.0.0.1:PORT".

#include "replay_server.h"
#include "sim_options.h"
#include "sim_server.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    SimOptions options;
    QString error;
    if (!SimOptions::Parse(QCoreApplication::arguments(), options, error)) {
        std::fprintf(stderr, "velmora-devsim: %s\n%s", qPrintable(error),
                     "Try velmora-devsim --help.\n");
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(SimOptions::Usage()), stdout);
        return 0;
    }
    const bool quiet = options.quiet;
    const auto print = [quiet](const QString& line) {
        // The listening line is printed even when quiet: callers wait for it.
        if (quiet && !line.startsWith(QLatin1String("listening on ")))
            return;
        std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stdout);
    };
    if (!options.replayPath.isEmpty()) {
        if (options.info) {
            return ReplayServer::PrintInfo(options.replayPath, [](const QString& line) {
                std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
            });
        }
        ReplayServer replay(options, print);
        if (!replay.Start(error)) {
            std::fprintf(stderr, "velmora-devsim: %s\n", qPrintable(error));
            return 1;
        }
        return app.exec();
    }
    SimServer server(options, print);
    if (!server.Start(error)) {
        std::fprintf(stderr, "velmora-devsim: %s\n", qPrintable(error));
        return 1;
    }
    return app.exec();
}
