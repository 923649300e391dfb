#pragma once

// Runs the device simulator (velmora-devsim) on a free port of 127.0.0.1 for
// a test; a test using it depends on velmora-devsim in its CMakeLists.txt.
// The simulator's log lines are kept in output(), its errors go to stderr.

#include "files.h"

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

    // Waits for the first line, "listening on 127.0.0.1:PORT".
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

    // Aims the configurator at the simulator: "network.txt" in its data folder.
    bool writeNetworkFile(const QString& folder) const
    {
        const QByteArray port = QByteArray::number(simPort);
        return writeFile(folder + QStringLiteral("network.txt"),
                         "HOST_NAME = 127.0.0.1;\r\nPORT = " + port + ";\r\n");
    }

    // Everything printed after the first line that has arrived so far.
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
