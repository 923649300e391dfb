#pragma once

// Runs a widget suite on a real X server (Qt's xcb platform), as the operator's
// desktop does: use VELMORA_REAL_DISPLAY_MAIN(TstName) instead of QTEST_MAIN.
// Without DISPLAY it starts a private Xvfb, which dies with the suite.

#include <QApplication>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

class RealDisplay
{
public:
    RealDisplay()
    {
        qputenv("QT_QPA_PLATFORM", "xcb");
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            ready = true;
            return;
        }
        int fds[2];
        if (pipe(fds) != 0)
            return;
        server = fork();
        if (server == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL); // the server goes when the suite goes
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                   "1600x1000x24", "-noreset", static_cast<char*>(nullptr));
            std::perror("Xvfb");
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes its display number and a line break once it accepts clients.
        std::string number;
        char c = 0;
        while (server > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty()) {
            std::fprintf(stderr, "real display: Xvfb did not start\n");
            return;
        }
        qputenv("DISPLAY", QByteArray(":") + QByteArray::fromStdString(number));
        ready = true;
    }

    ~RealDisplay()
    {
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }

    bool ok() const { return ready; }

private:
    pid_t server = -1;
    bool ready = false;
};

#define VELMORA_REAL_DISPLAY_MAIN(TestObject)                                                      \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        RealDisplay display;                                                                       \
        if (!display.ok())                                                                         \
            return 2;                                                                              \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
