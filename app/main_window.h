#pragma once

#include "ko_device_records.h"
#include "sys_controller.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <string>

class KoCaptureUi;
class KoClientMultUi;
class KoFleet;
class KoLinkStatusWidget;
class KoValidationWindow;
class QAction;
namespace Ui {
class MainWindowClass;
}

// The one top-level window: menus, the "Video", "Statistics" and "Reports"
// tabs, the status bar, and the wiring between the pages and the device link.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // A capture plays instead of the device (the container's eReplayChanged
    // tells when this changes).
    bool Replaying() const;
    KoCaptureUi* Captures() const { return captureUi; }

public slots:
    void sReconnect(KoNetworkOptions net_settings);
    void sOpenNetworkSettingsDialog();
    void sModemDialog();
    void sServerChangeDialog();
    void sUpdateDialog();
    void sRebootDialog();
    void sOptionsReq(int pass_id);
    void sUpdateFinished(int ans);
    void sModemSettingsAck(const QStringList& settings, int ack);
    void sIpServerAck(const QStringList& settings, int ack);
    void sRebootAck();
    void sSysSettingsDialog();
    void sAddressBook();
    void sSaveConfiguration();
    void sApplyConfiguration();
    // Tools -> door validation: its window, made on first use and kept (with
    // the session in it) while the program runs.
    void sValidationWindow();
    // Whether doors can be validated now (not while a capture plays): off
    // greys the Tools entry, pauses a running session and hides its window.
    void sSetValidationEnabled(bool enabled);
    // The system-unit controller's yes/no question, answered before it
    // returns (the box runs its own event loop). Uses no window state.
    static void sShowQuestion(std::wstring cap, std::wstring text, bool* result);
    // While a capture plays, nothing that sends to the device or asks it for
    // statistics can be used.
    void sReplayChanged(bool replaying);

protected:
    // Keeps the window's geometry and tab for the next start.
    void closeEvent(QCloseEvent* event) override;

private:
    void restoreLook();

    std::unique_ptr<Ui::MainWindowClass> ui;
    KoClientMultUi* clientUi = nullptr;
    KoLinkStatusWidget* linkStatus = nullptr;
    KoFleet* fleet = nullptr;
    QAction* saveConfigurationAction = nullptr;
    QString baseTitle; // the window's title without a device's name
    KoCaptureUi* captureUi = nullptr;
    QAction* validationAction = nullptr;
    KoValidationWindow* validationWindow = nullptr;
    // Destroyed before the pages and the link it talks to.
    cntsys::SysController sysController;
    bool rebootAsked = false; // Tools -> Reboot sent a reboot not yet acknowledged
};
