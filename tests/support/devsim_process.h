#pragma once

// Runs the device simulator (velmora-devsim) for a test and tells it the port
// the simulator chose.
//
//     DevsimProcess sim;
//     QVERIFY(sim.start({"--passes", "2"}));
//     socket.connectToHost(QHostAddress::LocalHost, sim.port());
//
// The simulator is a separate program: a test using this needs it built
// first. In the test's CMakeLists.txt, after velmora_test(<test> ...):
//
//     add_dependencies(<test> velmora-devsim)
//
// Requires VELMORA_BIN_DIR (velmora_test defines it). The simulator's log
// lines (one per connection and request) are kept in output(); its errors go
// to the test's own standard error.

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

class DevsimProcess
{
public:
    explicit DevsimProcess(int start_timeout_ms = 10000) : startTimeoutMs(start_timeout_ms) {}
    ~DevsimProcess() { stop(); }
    DevsimProcess(const DevsimProcess&) = delete;
    DevsimProcess& operator=(const DevsimProcess&) = delete;

    // Starts the simulator on a free port of 127.0.0.1 with the given extra
    // options and waits for its first line, "listening on 127.0.0.1:PORT".
    bool start(const QStringList& extraArgs = {})
    {
        stop();
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(VELMORA_BIN_DIR "/velmora-devsim"),
                      QStringList{QStringLiteral("--port"), QStringLiteral("0")} + extraArgs);
        if (!process.waitForStarted(startTimeoutMs))
            return false;
        QElapsedTimer waited;
        waited.start();
        const QRegularExpression first(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$"));
        while (!process.canReadLine()) {
            const int left = startTimeoutMs - int(waited.elapsed());
            if (left <= 0 || process.state() != QProcess::Running ||
                !process.waitForReadyRead(left)) {
                if (!process.canReadLine())
                    return false;
            }
        }
        const QString line = QString::fromLocal8Bit(process.readLine()).trimmed();
        const QRegularExpressionMatch m = first.match(line);
        if (!m.hasMatch())
            return false;
        simPort = static_cast<quint16>(m.captured(1).toUInt());
        return simPort != 0;
    }

    quint16 port() const { return simPort; }

    // Everything the simulator printed after its first line, so far. Reads
    // what is waiting; call processEvents or a wait first when it matters.
    QStringList output()
    {
        log += QString::fromLocal8Bit(process.readAllStandardOutput());
        return log.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Waits up to timeout_ms for a log line containing text.
    bool waitForOutput(const QString& text, int timeout_ms = 5000)
    {
        QElapsedTimer waited;
        waited.start();
        while (!output().join(QLatin1Char('\n')).contains(text)) {
            const int left = timeout_ms - int(waited.elapsed());
            if (left <= 0 || !process.waitForReadyRead(left))
                return output().join(QLatin1Char('\n')).contains(text);
        }
        return true;
    }

    QProcess& qprocess() { return process; }

    void stop()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
        simPort = 0;
        log.clear();
    }

private:
    QProcess process;
    int startTimeoutMs;
    quint16 simPort = 0;
    QString log;
};
