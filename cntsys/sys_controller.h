#pragma once

#include "counter_profile.h"
#include "time_params.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStatusBar>
#include <QString>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

class KoTcpClient;

namespace cntsys {

class CntObj;

// Runs the exchange with the counter's system unit on pool threads and
// reports its progress in the status bar.
//
// The tasks never call into the GUI thread through a blocking connection of
// their own: sends, the connection test, the reboot command and the yes/no
// question are posted to this object's thread and waited for in a way that
// the destructor can end. So a window closed while a task runs neither hangs
// nor leaves a task behind.
//
// The tasks run on Qt's global thread pool. The locks and wake-ups are the
// standard library's, and every task counts itself out under the task lock,
// which the destructor waits for: ThreadSanitizer sees these (the system's Qt
// is not instrumented, so its QMutex and QFuture would look like no
// synchronisation at all).
class SysController : public QObject
{
    Q_OBJECT

public:
    // How long the exchange waits, and for what. The defaults are the
    // device's; tests shorten them.
    struct Timing
    {
        int readMs = 3000;       // each answer of a read from the form
        int applyMs = 3000;      // each answer of an apply step
        int pictureMs = 35000;   // each picture awaited after an apply
        int pictures = 15;       // pictures in a row that show the device runs
        int rebootAckMs = 20000; // the reboot acknowledgement
        int syncPeriodMs = 1000; // the clock refresh while the form is open
    };

    explicit SysController(QObject* parent = nullptr);
    SysController(QObject* parent, const Timing& timing);
    // Stops the clock refresh, wakes every waiter and waits for the tasks.
    ~SysController() override;

    void SetLink(KoTcpClient* link);
    void SetStatusBar(QStatusBar* bar);
    // The main window, whose sShowQuestion answers the apply question.
    void SetParentWidget(QWidget* widget);
    // Opens the system settings form modally over parent and reads the unit's
    // settings into it.
    void ShowSettingsDialog(QWidget* parent);

    // The read and apply tasks; both block, so they run on pool threads.
    bool ReadParams(CounterProfile& profile, int timeout_ms, bool report);
    bool ApplyParams(CounterProfile profile);
    // One request and its answer: code, then the payload's bytes, is sent and
    // the reply_code awaited; a given reply record is read from its payload.
    bool SendAndWait(uint code, const CntObj* payload, uint reply_code, CntObj* reply,
                     int timeout_ms, bool report);
    // Waits for the next message with this code (a negative timeout waits
    // without limit). A second wait on the same code takes it over.
    bool WaitReply(uint code, QByteArray& data, int timeout_ms);

    CounterProfile LastRead() const;
    CounterProfile Applied() const;
    bool SyncOn() const { return syncOn; }
    // Whether a read, apply or sync task is still running.
    bool Busy();

signals:
    bool Reboot();
    void eShowParams(CounterProfile p, bool disable_sync);
    void eShowParams(CounterProfile p);
    void eReconnect(QString host_name, ushort port);
    void eReconnect(QString host_name);
    void eReconnect();
    void eShowTimePars(cntsys::TimeParams p, bool disable_sync);
    void eShowText(QString message, int timeout);
    // Emitted on the GUI thread; the receiver answers before it returns.
    void eShowWindow(std::wstring title, std::wstring text, bool* ok);

public slots:
    // The clock refresh loop of the sync task.
    void syncfunc();
    void sSysSettingsDialogOK(CounterProfile profile);
    void sMessageReceived(uint code, QByteArray data);
    void EnableSync();
    void DisableSync();

private:
    struct Waiter
    {
        QByteArray payload;
        bool received = false;
        quint64 ticket = 0;
    };
    // Shared with the calls posted to the GUI thread, which may outlive us.
    struct Stop
    {
        std::mutex mutex;
        std::condition_variable wake;
        bool stopping = false;
    };

    quint64 Register(uint code);
    void Forget(uint code, quint64 ticket);
    bool Wait(uint code, quint64 ticket, QByteArray& data, int timeout_ms);
    // Runs fn on this object's thread and waits for it; false, with fn's
    // result unknown, when the controller is going away.
    bool OnGui(std::function<bool()> fn, bool& result);
    bool Send(const QByteArray& bytes);
    bool LinkConnected();
    bool Ask(const std::wstring& title, const std::wstring& text);
    bool SyncRunning(int generation) const;
    void SyncLoop(int generation);
    bool Stopping();
    void Show(const QString& text);
    void StartTask(std::function<void()> task);
    void AppendLog(const LANParams& from, const LANParams& to);

    const Timing timing;
    // Touched on the GUI thread only; the tasks ask hasLink.
    QPointer<KoTcpClient> link;
    std::atomic<bool> hasLink{false};
    QPointer<QStatusBar> statusBar;
    QPointer<QWidget> parentWidget;

    std::mutex tableMutex;
    std::condition_variable tableWake;
    std::map<uint, Waiter> table;
    quint64 nextTicket = 0;
    bool closing = false;

    // Held by a read, and by the clock refresh while it asks for the time.
    std::mutex readMutex;
    std::mutex applyMutex;
    mutable std::mutex profileMutex;
    CounterProfile lastRead;
    CounterProfile applied;
    CounterProfile applying;

    std::atomic<bool> syncOn{false};
    std::atomic<int> syncGeneration{0};
    std::shared_ptr<Stop> stop = std::make_shared<Stop>();

    std::mutex taskMutex;
    std::condition_variable taskDone;
    int runningTasks = 0; // started and not yet past their last step
};

} // namespace cntsys
