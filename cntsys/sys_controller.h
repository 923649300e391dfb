#pragma once

#include "counter_profile.h"
#include "sys_exchange.h"
#include "time_params.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStatusBar>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

class BlockSysSettingsForm;
class KoTcpClient;

namespace cntsys {

// Runs the exchange with the counter's system unit on the GUI thread and
// reports its progress in the status bar.
//
// The read, the apply and each clock refresh are lists of steps (a request,
// the reply code that ends the step, how long to wait for it, what to show)
// run by a SysExchange: the link's messages advance them, single-shot timers
// end them when a reply does not come. Nothing here blocks or has a thread,
// so a window closed at any step just takes the timers with it.
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

    void SetLink(KoTcpClient* link);
    void SetStatusBar(QStatusBar* bar);
    // The form's parent when ShowSettingsDialog is given none.
    void SetParentWidget(QWidget* widget);
    // Opens the system settings form over parent (and returns), reads the
    // unit's settings into it and keeps its clock live while it is open.
    void ShowSettingsDialog(QWidget* parent);

    // Reads the unit's time, LAN and server settings; ends with eParamsRead,
    // after eShowParams when they all came.
    void ReadParams(int timeout_ms, bool report);
    // Asks, then sets LAN, server, date and time, waits for the pictures,
    // reboots the unit and follows it to its new address (the link now,
    // "network.txt" for the next start); ends with eParamsApplied. The time
    // goes as given.
    void ApplyParams(CounterProfile profile);

    CounterProfile LastRead() const { return lastRead; }
    bool SyncOn() const { return syncOn; }

signals:
    bool Reboot();
    void eShowParams(CounterProfile p, bool disable_sync);
    void eShowParams(CounterProfile p);
    void eReconnect(QString host_name, ushort port);
    void eReconnect(QString host_name);
    void eReconnect();
    void eShowTimePars(cntsys::TimeParams p, bool disable_sync);
    void eShowText(QString message, int timeout);
    // The receiver answers before it returns (the main window with a
    // message box of its own).
    void eShowWindow(std::wstring title, std::wstring text, bool* ok);
    void eParamsRead(bool ok);
    void eParamsApplied(bool ok);

public slots:
    // One clock refresh: asks the unit for its time.
    void syncfunc();
    // The form's profile, applied once the form has closed. Unless the
    // operator changed the date or time (which stopped the refresh), the
    // clock goes on from what the form showed until it is sent.
    void sSysSettingsDialogOK(CounterProfile profile);
    void sMessageReceived(uint code, QByteArray data);
    void EnableSync();
    void DisableSync();

private:
    std::function<bool()> Request(uint code, const CntObj* payload = nullptr);
    void Apply(const CounterProfile& profile, bool clock_runs);
    void Follow(const LANParams& lan);
    void Show(const char* text);
    void AppendLog(const LANParams& from, const LANParams& to);

    const Timing timing;
    QPointer<KoTcpClient> link;
    QPointer<QStatusBar> statusBar;
    QPointer<QWidget> parentWidget;
    QPointer<BlockSysSettingsForm> form;

    CounterProfile lastRead;

    SysExchange read;
    SysExchange apply;
    SysExchange clock;
    bool syncOn = false;
    QTimer syncTimer;
};

} // namespace cntsys
